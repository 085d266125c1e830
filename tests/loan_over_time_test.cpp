#include "cli/command_line.h"
#include "loan/calendar.h"
#include "loan/plan_request.h"
#include "plan/plan_chart.h"
#include "plan/plan_text.h"
#include "support/test_form.h"
#include "support/typed_inputs.h"

#include <gtest/gtest.h>

#include <numeric>
#include <sstream>
#include <tuple>

namespace ratalia::test {
namespace {

const AmountText italianAmounts(u',', u'.');

// The plan the window would show for a loan and the plan window's inputs.
PlanOutcome planOf(const char16_t* capital, const char16_t* months, const char16_t* rate, const PlanInputs& inputs)
{
    TestForm form(u',');
    form.fill(capital, months, rate);
    form.events.click(Button::Calculate);
    const auto terms = form.events.planTerms();
    EXPECT_TRUE(terms);
    return planFor(*terms, inputs, form.form().numbers());
}

TypedInputs inputs(PlanKind kind = PlanKind::French)
{
    TypedInputs in;
    in.kind = kind;
    return in;
}

TEST(CalendarTest, due_months_run_over_year_ends_and_leap_years)
{
    const struct {
        const char16_t* typed;
        std::int64_t later;
        const char16_t* shown;
    } cases[] = {
        {u"01/2027", 0, u"gen 2027"},    {u"12/2027", 1, u"gen 2028"},   {u"1/2028", 1, u"feb 2028"},
        {u" 02/2028 ", 12, u"feb 2029"}, {u"11/2027", 239, u"ott 2047"}, {u"06/2030", 120, u"giu 2040"},
        {u"12/9999", 1, u"gen 10000"},
    };
    for (const auto& c : cases) {
        const auto month = readMonth(c.typed);
        ASSERT_TRUE(month) << toUtf8(c.typed);
        EXPECT_EQ(monthText(month->plus(c.later)), c.shown) << toUtf8(c.typed);
    }
    for (const char16_t* wrong : {u"", u"2027", u"13/2027", u"0/2027", u"1/27", u"01-2027", u"001/2027", u"aa/2027",
                                  u"01/20270", u"01/0000", u"-1/2027"})
        EXPECT_FALSE(readMonth(wrong)) << toUtf8(wrong);

    // The rows follow the calendar; the months count as twelve equal ones,
    // so a leap year leaves the TAEG as it is.
    TypedInputs dated = inputs();
    dated.firstDue = u"12/2027";
    const auto withDates = std::get<AmortizationPlan>(planOf(u"10000", u"24", u"5", dated).plan);
    const auto without = std::get<AmortizationPlan>(planOf(u"10000", u"24", u"5", inputs()).plan);
    EXPECT_EQ(cellText(withDates, withDates.rows()[2], PlanColumn::DueDate, italianAmounts, true), u"feb 2028");
    EXPECT_EQ(withDates.rows(), without.rows());
    EXPECT_EQ(withDates.annualPercentageRate(), without.annualPercentageRate());
}

TEST(YearlyTotalsTest, the_years_add_up_to_the_plan)
{
    const struct {
        const char* name;
        const char16_t *capital, *months, *rate;
        TypedInputs inputs;
        std::int64_t firstYear, firstYearInstallments, years;
    } cases[] = {
        {"from_november", u"100000", u"240", u"3,5", {.firstDue = u"11/2027"}, 2027, 2, 21},
        {"italian_with_costs_from_a_leap_february",
         u"50000",
         u"120",
         u"4",
         {.kind = PlanKind::Italian,
          .initialFees = u"500",
          .substituteTax = u"0,25",
          .installmentFee = u"2",
          .annualFee = u"30",
          .firstDue = u"02/2028"},
         2028,
         11,
         11},
        {"early_repayment",
         u"100000",
         u"240",
         u"3,5",
         {.firstDue = u"01/2027",
          .repayAfter = u"60",
          .repayAmount = u"20000",
          .reduceDuration = true,
          .penalty = u"1"},
         2027,
         12,
         16},
        {"one_january_installment", u"1000", u"1", u"5", {.firstDue = u"01/2027"}, 2027, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanOutcome outcome = planOf(c.capital, c.months, c.rate, c.inputs);
        ASSERT_FALSE(outcome.error);
        const auto& plan = std::get<AmortizationPlan>(outcome.plan);
        const std::vector<YearTotals> years = yearlyTotals(plan);
        ASSERT_EQ(static_cast<std::int64_t>(years.size()), c.years);
        EXPECT_EQ(years.front().year, c.firstYear);
        EXPECT_EQ(years.front().installments, c.firstYearInstallments);
        YearTotals sum;
        Cents debt = plan.capital();
        for (std::size_t y = 0; y < years.size(); ++y) {
            EXPECT_EQ(years[y].year, c.firstYear + static_cast<std::int64_t>(y));
            EXPECT_LE(years[y].installments, 12);
            sum.installments += years[y].installments;
            sum.interest += years[y].interest;
            sum.principal += years[y].principal;
            sum.prepaid += years[y].prepaid;
            sum.fees += years[y].fees;
            sum.charges += years[y].charges;
            debt -= years[y].principal + years[y].prepaid;
            EXPECT_EQ(years[y].debtAtEnd, debt) << years[y].year;
        }
        EXPECT_EQ(sum.installments, static_cast<std::int64_t>(plan.rows().size()));
        EXPECT_EQ(sum.interest, plan.totalInterest());
        EXPECT_EQ(sum.principal, plan.totalPrincipal());
        EXPECT_EQ(sum.prepaid, plan.repaid());
        EXPECT_EQ(sum.principal + sum.prepaid, plan.capital());
        EXPECT_EQ(sum.fees, plan.totalInstallmentCosts());
        EXPECT_EQ(sum.charges, plan.costs().upfront() + plan.penalty());
        EXPECT_EQ(debt, 0);
    }
    // Without a first due date there are no calendar years.
    EXPECT_TRUE(yearlyTotals(std::get<AmortizationPlan>(planOf(u"1000", u"12", u"5", inputs()).plan)).empty());
}

TEST(EarlyRepaymentTest, states_what_changes)
{
    TypedInputs in = inputs();
    in.firstDue = u"01/2027";
    in.repayAfter = u"60";
    in.repayAmount = u"20000";
    in.reduceDuration = true;
    const auto plan = std::get<AmortizationPlan>(planOf(u"100000", u"240", u"3,5", in).plan);
    std::vector<std::pair<FigureId, Text>> shown;
    for (const Figure& figure : repaymentFigures(plan, italianAmounts))
        shown.emplace_back(figure.id, figure.label + u": " + figure.value);
    const std::vector<std::pair<FigureId, Text>> expected{
        {FigureId::RepaidAfter, u"Estinzione anticipata: con la rata 60 (dic 2031)"},
        {FigureId::Repaid, u"Rimborso anticipato: 20.000,00"},
        {FigureId::Penalty, u"Penale: 0,00"},
        {FigureId::PenaltyRule, u"Limite della penale: quella del contratto (tipo di finanziamento: altro)"},
        {FigureId::InterestSaved, u"Interessi risparmiati: 11.247,43"},
        {FigureId::LoanEnd, u"Fine del prestito: con la rata 187 (lug 2042) anziché la 240 (dic 2046)"},
        {FigureId::Saving, u"Risparmio sul totale dovuto: 11.247,43"},
        {FigureId::RateAsRepaid, u"Tasso annuo dei pagamenti effettivi: 3,56 %"},
    };
    EXPECT_EQ(shown, expected);
    const Text legal = u" TAEG, costo totale del credito e totale dovuto restano quelli del contratto, come se "
                       u"durasse fino alla fine: l'estinzione non li cambia.";
    EXPECT_EQ(differenceNote(plan, italianAmounts),
              u"Dopo l'estinzione la rata resta la stessa e il prestito finisce con la rata 187, che paga i 70,10 di "
              u"debito rimasti." +
                  legal);

    in.reduceDuration = false;
    const auto lower = std::get<AmortizationPlan>(planOf(u"100000", u"240", u"3,5", in).plan);
    const auto figures = repaymentFigures(lower, italianAmounts);
    ASSERT_EQ(figures.size(), 9u);
    EXPECT_EQ(figures[5].label + u": " + figures[5].value, u"Nuova rata: 436,98");
    EXPECT_EQ(figures[6].value, u"con la rata 240 (dic 2046)");
    EXPECT_EQ(differenceNote(lower, italianAmounts),
              u"L'ultima rata è di 437,70 anziché 436,98 (+0,72): paga esattamente il debito residuo lasciato "
              u"dall'arrotondamento ai centesimi." +
                  legal);
}

TEST(EarlyRepaymentTest, a_bad_combination_gets_one_message_that_names_the_input)
{
    const struct {
        const char16_t *months, *firstDue, *after, *amount, *penalty;
        const char16_t* window;
        const char16_t* commandLine;
    } cases[] = {
        {u"240", u"13/2027", u"", u"", u"",
         u"Data della prima rata: «13/2027» non è un mese: si scrive MM/AAAA, per esempio 01/2027.",
         u"--prima-rata: «13/2027» non è un mese: si scrive MM/AAAA, per esempio 01/2027."},
        {u"240", u"", u"241", u"1000", u"", u"Estinzione dopo la rata: il piano ha 240 rate, non 241.",
         u"--estinzione-dopo: il piano ha 240 rate, non 241."},
        {u"240", u"", u"240", u"tutto", u"",
         u"Estinzione dopo la rata: dopo la rata 240 il debito è estinto: non resta nulla da rimborsare.",
         u"--estinzione-dopo: dopo la rata 240 il debito è estinto: non resta nulla da rimborsare."},
        {u"1", u"", u"1", u"tutto", u"",
         u"Estinzione dopo la rata: dopo la rata 1 il debito è estinto: non resta nulla da rimborsare.",
         u"--estinzione-dopo: dopo la rata 1 il debito è estinto: non resta nulla da rimborsare."},
        {u"240", u"", u"0", u"1000", u"", u"Estinzione dopo la rata: «0» non è il numero di una rata.",
         u"--estinzione-dopo: «0» non è il numero di una rata."},
        {u"240", u"", u"12,5", u"1000", u"", u"Estinzione dopo la rata: «12,5» non è il numero di una rata.",
         u"--estinzione-dopo: «12,5» non è il numero di una rata."},
        {u"240", u"", u"60", u"90000", u"",
         u"Importo rimborsato: 90.000,00 supera il debito residuo dopo la rata 60 (81.126,54).",
         u"--estinzione-importo: 90.000,00 supera il debito residuo dopo la rata 60 (81.126,54)."},
        {u"240", u"", u"60", u"0", u"", u"Importo rimborsato: deve essere più di zero.",
         u"--estinzione-importo: deve essere più di zero."},
        {u"240", u"", u"60", u"molto", u"", u"Importo rimborsato: «molto» non è un importo.",
         u"--estinzione-importo: «molto» non è un importo."},
        {u"240", u"", u"60", u"", u"", u"Importo rimborsato: manca: un importo, oppure «tutto».",
         u"--estinzione-importo: manca: un importo, oppure «tutto»."},
        {u"240", u"", u"", u"1000", u"", u"Estinzione dopo la rata: manca il numero della rata.",
         u"--estinzione-dopo: manca il numero della rata."},
        {u"240", u"", u"60", u"1000", u"101", u"Penale: una percentuale non può superare 100.",
         u"--penale: una percentuale non può superare 100."},
    };
    for (const auto& c : cases) {
        TypedInputs in = inputs();
        in.firstDue = c.firstDue;
        in.repayAfter = c.after;
        in.repayAmount = c.amount;
        in.penalty = c.penalty;
        const PlanOutcome outcome = planOf(u"100000", c.months, u"3,5", in);
        ASSERT_TRUE(outcome.error) << toUtf8(c.window);
        EXPECT_EQ(inputErrorText(*outcome.error, Naming::Window, italianAmounts), c.window);
        EXPECT_EQ(inputErrorText(*outcome.error, Naming::CommandLine, italianAmounts), c.commandLine);
    }
}

TEST(PlanChartTest, draws_what_the_plan_pays)
{
    const struct {
        const char* name;
        const char16_t *capital, *months, *rate;
        TypedInputs inputs;
        std::size_t columns, bars;
        std::int64_t firstBarLast; // the installments the first bar stands for: 1…this
        double firstInterest, firstPrincipal;
        std::vector<const char16_t*> time, amount, debt;
        double timeAt; // where the first time tick lies
        const char16_t* description;
    } cases[] = {
        {"twenty_years_by_date",
         u"100000",
         u"240",
         u"3,5",
         {.firstDue = u"01/2027"},
         800,
         240,
         1,
         291.67,
         288.29,
         {u"2030", u"2035", u"2040", u"2045"},
         {u"0", u"200", u"400", u"600"},
         {u"0", u"20.000", u"40.000", u"60.000", u"80.000", u"100.000"},
         37,
         u"Per ogni rata, la quota interessi e la quota capitale, una sull'altra; la linea è il debito residuo. La "
         u"prima rata paga 291,67 di interessi e 288,29 di quota capitale; la quota capitale supera gli interessi "
         u"dalla "
         u"rata 4 (apr 2027). Il debito residuo scende da 100.000,00 a 0,00, in 240 rate."},
        {"four_installments_a_bar",
         u"100000",
         u"240",
         u"3,5",
         inputs(),
         60,
         60,
         4,
         (291.67 + 290.83 + 289.98 + 289.14) / 4,
         (288.29 + 289.13 + 289.98 + 290.82) / 4,
         {u"50", u"100", u"150", u"200"},
         {u"0", u"200", u"400", u"600"},
         {u"0", u"20.000", u"40.000", u"60.000", u"80.000", u"100.000"},
         50,
         u"Per ogni rata, la quota interessi e la quota capitale, una sull'altra; la linea è il debito residuo. La "
         u"prima rata paga 291,67 di interessi e 288,29 di quota capitale; la quota capitale supera gli interessi "
         u"dalla "
         u"rata 4. Il debito residuo scende da 100.000,00 a 0,00, in 240 rate."},
        {"italian_with_a_repayment",
         u"12000",
         u"12",
         u"0",
         {.kind = PlanKind::Italian, .repayAfter = u"6", .repayAmount = u"tutto"},
         100,
         6,
         1,
         0,
         1000,
         {u"1", u"2", u"3", u"4", u"5", u"6"},
         {u"0", u"200", u"400", u"600", u"800", u"1.000"},
         {u"0", u"5.000", u"10.000", u"15.000"},
         1,
         u"Per ogni rata, la quota interessi e la quota capitale, una sull'altra; la linea è il debito residuo. La "
         u"prima rata paga 0,00 di interessi e 1.000,00 di quota capitale; la quota capitale supera gli interessi fin "
         u"dalla prima rata. Il debito residuo scende da 12.000,00 a 0,00, con un rimborso anticipato di 6.000,00 con "
         u"la rata 6, in 6 rate."},
    };
    const auto labels = [](const std::vector<ChartTick>& ticks) {
        std::vector<Text> out;
        for (const ChartTick& tick : ticks)
            out.push_back(tick.label);
        return out;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanOutcome outcome = planOf(c.capital, c.months, c.rate, c.inputs);
        ASSERT_FALSE(outcome.error);
        const auto& plan = std::get<AmortizationPlan>(outcome.plan);
        const PlanChart chart = planChart(plan, italianAmounts, c.columns);
        ASSERT_EQ(chart.bars.size(), c.bars);
        EXPECT_EQ(chart.bars.front().first, 1);
        EXPECT_EQ(chart.bars.front().last, c.firstBarLast);
        EXPECT_EQ(chart.bars.back().last, static_cast<std::int64_t>(plan.rows().size()));
        EXPECT_NEAR(chart.bars.front().interest, c.firstInterest, 1e-9);
        EXPECT_NEAR(chart.bars.front().principal, c.firstPrincipal, 1e-9);
        EXPECT_EQ(labels(chart.timeTicks), std::vector<Text>(c.time.begin(), c.time.end()));
        EXPECT_EQ(chart.timeTicks.front().value, c.timeAt);
        EXPECT_EQ(labels(chart.amountTicks), std::vector<Text>(c.amount.begin(), c.amount.end()));
        EXPECT_EQ(labels(chart.debtTicks), std::vector<Text>(c.debt.begin(), c.debt.end()));
        EXPECT_EQ(chart.amountTop, chart.amountTicks.back().value);
        EXPECT_EQ(chart.debtTop, chart.debtTicks.back().value);
        // The line starts at the capital, falls with every bar and ends at nothing.
        ASSERT_EQ(chart.debt.size(), c.bars + 1);
        EXPECT_EQ(chart.debt.front(), std::make_pair(0.0, static_cast<double>(plan.capital()) / 100));
        EXPECT_EQ(chart.debt.back(), std::make_pair(static_cast<double>(plan.rows().size()), 0.0));
        EXPECT_EQ(chart.description, c.description);
    }
}

TEST(CommandLineTest, dates_yearly_totals_and_early_repayment)
{
    const auto run = [](std::vector<std::string> arguments) {
        std::ostringstream output, errors;
        const int status = runCommandLine(arguments, NumberText(u','), output, errors);
        return std::make_tuple(status, output.str(), errors.str());
    };
    const std::vector<std::string> loan{"--piano", "--capitale", "100000", "--anni", "20", "--tasso", "3,5"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> all = loan;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };

    const auto [status, output, errors] = run(with(
        {"--prima-rata", "01/2027", "--estinzione-dopo", "60", "--estinzione-importo", "20000", "--riduci", "durata"}));
    ASSERT_EQ(status, 0) << errors;
    for (const char* shown :
         {"\nEstinzione anticipata:                con la rata 60 (dic 2031)\n"
          "Rimborso anticipato:                  20.000,00\n",
          "\nInteressi risparmiati:                11.247,43\n"
          "Fine del prestito:                    con la rata 187 (lug 2042) anziché la 240 (dic 2046)\n"
          "Risparmio sul totale dovuto:          11.247,43\n"
          "Tasso annuo dei pagamenti effettivi:  3,56 %\n",
          "\n 60  dic 2031  579,96     237,62          342,34            20.000,00  20.579,96       61.126,54\n",
          "\n187  lug 2042   70,30       0,20           70,10                           70,30            0,00\n\n",
          "\nTotali per anno\nAnno  Rate  Interessi  Quota capitale  Rimborso anticipato  Debito a fine anno\n",
          "\n2031    12   2.916,49        4.043,03            20.000,00           61.126,54\n"})
        EXPECT_NE(output.find(shown), std::string::npos) << shown;

    const auto [yearStatus, years, yearErrors] = run(with({"--prima-rata", "11/2027", "--csv-annuale"}));
    ASSERT_EQ(yearStatus, 0) << yearErrors;
    EXPECT_EQ(years.substr(0, years.find('\n', years.find('\n') + 1)),
              "Anno;Rate;Interessi;Quota capitale;Debito a fine anno\n2027;2;582,50;577,42;99422,58");

    const struct {
        std::vector<std::string> more;
        std::string errors;
    } wrong[] = {
        {{"--prima-rata", "2027"},
         "ratalia: --prima-rata: «2027» non è un mese: si scrive MM/AAAA, per esempio 01/2027.\n"},
        {{"--estinzione-dopo", "300", "--estinzione-importo", "tutto"},
         "ratalia: --estinzione-dopo: il piano ha 240 rate, non 300.\n"},
        {{"--estinzione-dopo", "60", "--estinzione-importo", "1000000"},
         "ratalia: --estinzione-importo: 1.000.000,00 supera il debito residuo dopo la rata 60 (81.126,54).\n"},
        {{"--estinzione-dopo", "60", "--estinzione-importo", "1000", "--riduci", "tempo"},
         "ratalia: --riduci: «tempo» non è tra le scelte: rata oppure durata.\n"},
        {{"--estinzione-importo", "1000"}, "ratalia: --estinzione-dopo: manca il numero della rata.\n"},
        {{"--csv-annuale"}, "ratalia: --csv-annuale vuole --prima-rata: i totali per anno contano le scadenze.\n"},
        {{"--prima-rata", "01/2027", "--csv-annuale", "--csv"}, "ratalia: indicare --csv oppure --csv-annuale.\n"},
    };
    for (const auto& c : wrong) {
        const auto [code, out, err] = run(with(c.more));
        EXPECT_EQ(code, exitBadInput) << c.errors;
        EXPECT_EQ(err, c.errors);
        EXPECT_EQ(out, "");
    }
}

} // namespace
} // namespace ratalia::test
