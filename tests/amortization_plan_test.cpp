#include "cli/command_line.h"
#include "form/version.h"
#include "loan/amortization_plan.h"
#include "loan/plan_request.h"
#include "plan/plan_text.h"
#include "support/test_form.h"
#include "support/typed_inputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace ratalia::test {
namespace {

struct Loan {
    const char16_t* capital; // Italian texts
    const char16_t* duration;
    DurationUnit unit;
    const char16_t* rate;
    PlanKind kind = PlanKind::French;
};

std::string nameOf(const Loan& loan)
{
    return toUtf8(loan.capital) + " over " + toUtf8(loan.duration) +
           (loan.unit == DurationUnit::Years ? " years" : " months") + " at " + toUtf8(loan.rate) +
           (loan.kind == PlanKind::Italian ? ", constant principal" : "");
}

// The same plan, worked out here from scratch: the monthly rate as the exact
// fraction annual ÷ 1200 of the rate typed, interest rounded half up in
// integers, the installment from the annuity formula in long double, or in
// the Italian plan the principal as capital ÷ N rounded half up. The loans
// are chosen so that debt × rate fits in 64 bits.
struct Simulation {
    Cents installment = 0;
    std::vector<PlanRow> rows;
};

Simulation simulate(const Loan& loan)
{
    const auto number = [](std::u16string_view italian) {
        std::string text(italian.begin(), italian.end());
        std::replace(text.begin(), text.end(), ',', '.');
        return std::stold(text);
    };
    const long double capital = number(loan.capital);
    const auto count = static_cast<std::int64_t>(number(loan.duration)) * (loan.unit == DurationUnit::Years ? 12 : 1);
    // "6,75" is 675 ÷ 100: the monthly rate is 675 ÷ 120 000.
    std::string rate(std::u16string_view(loan.rate).begin(), std::u16string_view(loan.rate).end());
    const auto comma = rate.find(',');
    std::int64_t denominator = 1200;
    if (comma != std::string::npos) {
        for (std::size_t k = comma + 1; k < rate.size(); ++k)
            denominator *= 10;
        rate.erase(comma, 1);
    }
    const std::int64_t numerator = std::stoll(rate);

    Simulation s;
    const long double i = static_cast<long double>(numerator) / static_cast<long double>(denominator);
    const long double exact =
        i == 0 ? capital / count : capital * i / (1 - std::pow(1 + i, -static_cast<long double>(count)));
    s.installment = std::llround(exact * 100);
    Cents debt = std::llround(capital * 100);
    const Cents principal = (2 * debt + count) / (2 * count);
    if (loan.kind == PlanKind::Italian)
        s.installment = principal;
    for (std::int64_t month = 1; month <= count; ++month) {
        std::int64_t twice = 0;
        if (__builtin_mul_overflow(2 * debt, numerator, &twice))
            ADD_FAILURE() << "the simulation holds only debts × rates within 64 bits";
        const Cents interest = (twice + denominator) / (2 * denominator);
        const Cents repaid = month == count                   ? debt
                             : loan.kind == PlanKind::Italian ? principal
                                                              : s.installment - interest;
        debt -= repaid;
        s.rows.push_back({month, repaid + interest, interest, repaid, debt});
    }
    return s;
}

std::variant<AmortizationPlan, PlanRefusal> planOf(TestForm& form, const Loan& loan)
{
    form.events.choose(loan.unit);
    form.fill(loan.capital, loan.duration, loan.rate);
    form.events.click(Button::Calculate);
    const auto terms = form.events.planTerms();
    if (!terms) {
        ADD_FAILURE() << "Calcola left no plan for " << nameOf(loan);
        return PlanRefusal{};
    }
    TypedInputs inputs;
    inputs.kind = loan.kind;
    return planFor(*terms, inputs, form.form().numbers()).plan;
}

class AmortizationPlanTest : public testing::TestWithParam<char16_t> {};

TEST_P(AmortizationPlanTest, every_row_matches_a_month_by_month_simulation)
{
    const Loan loans[] = {
        {u"10000", u"24", DurationUnit::Months, u"6,75"},
        {u"250000", u"30", DurationUnit::Years, u"3,9"},
        {u"12345,67", u"10", DurationUnit::Years, u"25"},
        {u"5000", u"7", DurationUnit::Months, u"0"},
        {u"1000", u"1", DurationUnit::Months, u"12"},
        {u"999999999", u"2", DurationUnit::Months, u"99,99"},
        {u"100000000", u"100000", DurationUnit::Months, u"0,02"},
        {u"10000", u"24", DurationUnit::Months, u"6,75", PlanKind::Italian},
        {u"250000", u"30", DurationUnit::Years, u"3,9", PlanKind::Italian},
        {u"5000", u"7", DurationUnit::Months, u"0", PlanKind::Italian},
        {u"1000", u"1", DurationUnit::Months, u"12", PlanKind::Italian},
        {u"100000000", u"100000", DurationUnit::Months, u"5", PlanKind::Italian},
    };
    for (const Loan& loan : loans) {
        SCOPED_TRACE(nameOf(loan));
        TestForm form(GetParam());
        const auto outcome = planOf(form, loan);
        ASSERT_TRUE(std::holds_alternative<AmortizationPlan>(outcome));
        const auto& plan = std::get<AmortizationPlan>(outcome);
        const Simulation expected = simulate(loan);

        EXPECT_EQ(plan.installment(), expected.installment);
        ASSERT_EQ(plan.rows().size(), expected.rows.size());
        EXPECT_TRUE(plan.rows() == expected.rows)
            << "first difference at row "
            << std::mismatch(plan.rows().begin(), plan.rows().end(), expected.rows.begin()).first->number;
        Cents paid = 0, interest = 0;
        for (const PlanRow& row : expected.rows) {
            paid += row.installment;
            interest += row.interest;
        }
        EXPECT_EQ(plan.totalInstallments(), paid);
        EXPECT_EQ(plan.totalInterest(), interest);
        EXPECT_EQ(plan.totalPrincipal(), plan.capital());
        const PlanRow& last = expected.rows.back();
        EXPECT_EQ(plan.lastDifference(),
                  (loan.kind == PlanKind::Italian ? last.principal : last.installment) - expected.installment);
    }
}

// Ordinary mortgages: the last installment is off by what rounding the
// installment to the cent left over, grown by the interest, a few euros at
// most over 30 years. Installments worked out beforehand with 60-digit
// decimals, month by month.
TEST_P(AmortizationPlanTest, ordinary_mortgages_end_within_a_few_euros)
{
    const struct {
        Loan loan;
        Cents installment, last, totalInterest;
    } mortgages[] = {
        {{u"50000", u"30", DurationUnit::Years, u"1"}, 16082, 16075, 789513},
        {{u"100000", u"30", DurationUnit::Years, u"2,5"}, 39512, 39551, 4224359},
        {{u"150000", u"25", DurationUnit::Years, u"3,2"}, 72702, 72630, 6810528},
        {{u"200000", u"30", DurationUnit::Years, u"3,9"}, 94334, 94090, 13959996},
        {{u"250000", u"30", DurationUnit::Years, u"4,5"}, 126671, 126932, 20601821},
        {{u"300000", u"20", DurationUnit::Years, u"3"}, 166379, 166472, 9931053},
        {{u"350000", u"30", DurationUnit::Years, u"5,25"}, 193271, 193505, 34577794},
        {{u"400000", u"30", DurationUnit::Years, u"6"}, 239820, 240030, 46335410},
        {{u"120000", u"15", DurationUnit::Years, u"1,8"}, 76121, 76092, 1701751},
        {{u"80000", u"10", DurationUnit::Years, u"4,75"}, 83878, 83915, 2065397},
    };
    for (const auto& m : mortgages) {
        SCOPED_TRACE(nameOf(m.loan));
        TestForm form(GetParam());
        const auto outcome = planOf(form, m.loan);
        ASSERT_TRUE(std::holds_alternative<AmortizationPlan>(outcome));
        const auto& plan = std::get<AmortizationPlan>(outcome);
        EXPECT_EQ(plan.installment(), m.installment);
        EXPECT_EQ(plan.rows().back().installment, m.last);
        EXPECT_EQ(plan.totalInterest(), m.totalInterest);
        EXPECT_LE(std::abs(plan.lastDifference()), 500);
        const bool sound = std::all_of(plan.rows().begin(), plan.rows().end() - 1,
                                       [](const PlanRow& row) { return row.principal > 0 && row.remainingDebt > 0; });
        EXPECT_TRUE(sound);
    }
}

// Where the installment rounded to cents cannot repay the loan in its
// installments, there is no table, only the reason.
TEST_P(AmortizationPlanTest, no_plan_beyond_what_it_can_show)
{
    using Reason = PlanRefusal::Reason;
    const struct {
        const char* name;
        Loan loan;
        Reason reason;
        std::int64_t row;
        Cents amount;
    } refusals[] = {
        {"interest only, then one huge payment",
         {u"10000", u"600", DurationUnit::Months, u"30"},
         Reason::LastInstallmentOff,
         600,
         1025000},
        {"repaid a row early", {u"2586705", u"50", DurationUnit::Years, u"27,24"}, Reason::RepaidEarly, 599, 0},
        {"an installment of no cents",
         {u"0,01", u"24", DurationUnit::Months, u"6,75"},
         Reason::LastInstallmentOff,
         24,
         1},
        {"100 000 rows of interest only",
         {u"1000000", u"100000", DurationUnit::Months, u"1"},
         Reason::LastInstallmentOff,
         100000,
         100083333},
        {"too many installments", {u"1000", u"100001", DurationUnit::Months, u"1"}, Reason::TooManyInstallments, 0, 0},
        {"too many years", {u"1000", u"9000", DurationUnit::Years, u"1"}, Reason::TooManyInstallments, 0, 0},
        {"under half a cent", {u"0,004", u"12", DurationUnit::Months, u"1"}, Reason::CapitalTooSmall, 0, 0},
        {"beyond 64-bit cents", {u"1E+20", u"12", DurationUnit::Months, u"1"}, Reason::AmountsTooLarge, 0, 0},
        {"sums beyond 64-bit cents", {u"9,2E+16", u"2", DurationUnit::Months, u"12"}, Reason::AmountsTooLarge, 0, 0},
        // 1 500 € over 100 000 months: 1,5 cents a month rounds to 2, and the debt is gone by month 75 000.
        {"a principal that repays too fast",
         {u"1500", u"100000", DurationUnit::Months, u"1", PlanKind::Italian},
         Reason::RepaidEarly,
         75000,
         0},
        {"a principal of no cents",
         {u"0,04", u"10", DurationUnit::Months, u"1", PlanKind::Italian},
         Reason::LastInstallmentOff,
         10,
         4},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        TestForm form(GetParam());
        const auto outcome = planOf(form, refusal.loan);
        ASSERT_TRUE(std::holds_alternative<PlanRefusal>(outcome));
        const auto& why = std::get<PlanRefusal>(outcome);
        EXPECT_EQ(why.reason, refusal.reason);
        EXPECT_EQ(why.row, refusal.row);
        EXPECT_EQ(why.amount, refusal.amount);
    }
}

TEST_P(AmortizationPlanTest, only_while_the_results_show_a_completed_calculation)
{
    TestForm form(GetParam());
    form.fill(u"10000", u"24", u"6,75");
    const auto available = [&] { return form.events.hasPlan() && form.events.planTerms().has_value(); };
    EXPECT_FALSE(available());
    const std::vector<std::pair<const char*, std::function<void()>>> steps{
        {"Calcola", [&] { form.events.click(Button::Calculate); }},
        {"Arrotonda", [&] { form.events.click(Button::Round); }},
        {"capital typed", [&] { form.type(Field::Capital, u"10001"); }},
        {"Calcola again", [&] { form.events.click(Button::Calculate); }},
        {"anni chosen", [&] { form.events.choose(DurationUnit::Years); }},
        {"Calcola in years", [&] { form.events.click(Button::Calculate); }},
        {"rate reset", [&] { form.events.click(Button::ResetRate); }},
        {"bad capital",
         [&] {
             form.type(Field::Capital, u"x");
             form.events.click(Button::Calculate);
         }},
    };
    const bool expected[] = {true, true, false, true, false, true, false, false};
    for (std::size_t k = 0; k < steps.size(); ++k) {
        steps[k].second();
        EXPECT_EQ(available(), expected[k]) << "after " << steps[k].first;
    }
}

TEST_P(AmortizationPlanTest, the_csv_reads_back_as_the_plan)
{
    TestForm form(GetParam());
    const auto plan = std::get<AmortizationPlan>(planOf(form, {u"123456,78", u"40", DurationUnit::Years, u"4,5"}));
    const char16_t separator = GetParam();
    const char16_t delimiter = csvDelimiter(separator);
    EXPECT_EQ(delimiter, separator == u',' ? u';' : u',');
    std::istringstream csv(toUtf8(delimitedPlan(plan, AmountText(separator, u'\''), delimiter)));

    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(fromUtf8(line), Text(u"N.") + delimiter + u"Rata" + delimiter + u"Interessi" + delimiter +
                                  u"Quota capitale" + delimiter + u"Debito residuo");
    std::vector<PlanRow> read;
    while (std::getline(csv, line)) {
        std::vector<std::int64_t> numbers;
        std::u16string field;
        for (const char16_t c : fromUtf8(line) + delimiter) {
            if (c != delimiter) {
                if (c != separator)
                    field += c;
                continue;
            }
            numbers.push_back(std::stoll(toUtf8(field)));
            field.clear();
        }
        ASSERT_EQ(numbers.size(), 5u) << line;
        read.push_back({numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]});
    }
    EXPECT_TRUE(read == plan.rows());
}

INSTANTIATE_TEST_SUITE_P(Regions, AmortizationPlanTest, testing::ValuesIn(separators()), separatorName);

struct Outcome {
    int status;
    std::string output;
    std::string errors;
};

Outcome run(std::vector<std::string> arguments, char16_t separator = u',')
{
    std::ostringstream output, errors;
    const int status = runCommandLine(arguments, NumberText(separator), output, errors);
    return {status, output.str(), errors.str()};
}

TEST(CommandLineTest, prints_the_plan_of_the_window)
{
    const Outcome csv = run({"--piano", "--capitale", "10000", "--mesi", "24", "--tasso", "6,75", "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.errors;
    EXPECT_EQ(csv.errors, "");
    std::istringstream lines(csv.output);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(lines, line))
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], "N.;Rata;Interessi;Quota capitale;Debito residuo");
    EXPECT_EQ(rows[1], "1;446,59;56,25;390,34;9609,66");
    EXPECT_EQ(rows[24], "24;446,68;2,50;444,18;0,00");

    // The same loan said otherwise gives the same plan.
    for (const auto& same : std::vector<std::vector<std::string>>{
             {"--csv", "--tasso=6.75", "--anni", "2", "--capitale", "10000", "--piano"},
             {"--piano", "--capitale", "10000.00", "--mesi", "24,0", "--tasso", "6,750", "--csv"},
             {"--piano", "--capitale", "10000", "--mesi", "24,0000000000000000001", "--tasso", "6,75", "--csv"}}) {
        const Outcome again = run(same);
        EXPECT_EQ(again.status, 0);
        EXPECT_EQ(again.output, csv.output);
    }

    // The figures are numbers, whatever form they were typed in.
    const Outcome echoed = run({"--piano", "--capitale", "10000", "--mesi", "2,4E1", "--tasso", " 6,750 "});
    EXPECT_NE(echoed.output.find("Durata:         24 mesi\nTasso annuo:    6,75 %\n"), std::string::npos)
        << echoed.output;

    const Outcome table = run({"--piano", "--capitale", "10000", "--mesi", "24", "--tasso", "6,75"}, u'.');
    EXPECT_NE(table.output.find("Capitale:       10,000.00\n"), std::string::npos) << table.output;
    EXPECT_NE(table.output.find("N.    Rata  Interessi  Quota capitale  Debito residuo\n"
                                " 1  446.59      56.25          390.34        9,609.66\n"),
              std::string::npos);
    EXPECT_NE(table.output.find("Totale quote capitale:  10,000.00\n"), std::string::npos) << table.output;
}

TEST(CommandLineTest, answers_every_request_with_one_status_and_one_message)
{
    const std::string usage =
        "Uso: ratalia [--piano --capitale IMPORTO (--mesi NUMERO | --anni NUMERO) --tasso PERCENTUALE [OPZIONI…]]\n";
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string errors; // the whole standard error
    } cases[] = {
        {{"--piano", "--capitale", "10000", "--mesi", "23,6", "--tasso", "5", "--csv"},
         0,
         "ratalia: Il valore rappresentante i numeri dei mesi verrà arrotondato, ovvero al posto di 23.6 sarà preso in "
         "considerazione il valore di 24\n"},
        {{"--piano", "--capitale", "dieci", "--mesi", "24", "--tasso", "5"},
         2,
         "ratalia: --capitale «dieci»: Sono stati inseriti uno o più dati errati\n"},
        {{"--piano", "--capitale", "-5", "--mesi", "24", "--tasso", "5"},
         2,
         "ratalia: --capitale «-5»: Sono stati inseriti uno o più dati errati\n"},
        {{"--piano", "--capitale", "", "--mesi", "24", "--tasso", "5"},
         2,
         "ratalia: --capitale «»: Sono stati inseriti uno o più dati errati\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "200000", "--tasso", "0,5"},
         2,
         "ratalia: Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha 200.000.\n"},
        // Whether or not the installment can be worked out, too many is too many.
        {{"--piano", "--capitale", "1000", "--mesi", "1000000", "--tasso", "5"},
         2,
         "ratalia: Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha 1.000.000.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "1000000", "--tasso", "0"},
         2,
         "ratalia: Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha 1.000.000.\n"},
        {{"--piano", "--capitale", "10000", "--mesi", "600", "--tasso", "30"},
         2,
         "ratalia: Arrotondata al centesimo, la rata di 250,00 non estingue questo prestito in 600 rate: l'ultima rata "
         "sarebbe di 10.250,00.\n"},
        {{"--piano", "--capitale", "2586705", "--anni", "50", "--tasso", "27,24"},
         2,
         "ratalia: Arrotondata al centesimo, la rata di 58.718,29 non estingue questo prestito in 600 rate: il debito "
         "sarebbe estinto già con la rata 599.\n"},
        {{"--piano", "--capitale", "1000", "--tasso", "5"},
         2,
         "ratalia: delle quattro --capitale, --mesi o --anni, --tasso e --rata se ne danno tre, e la quarta si "
         "calcola.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "2", "--tasso", "5", "--rata", "500"},
         2,
         "ratalia: delle quattro --capitale, --mesi o --anni, --tasso e --rata se ne danno tre, e la quarta si "
         "calcola.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "2", "--anni", "2", "--tasso", "5"},
         2,
         "ratalia: indicare la durata con --mesi oppure con --anni.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "2"},
         2,
         "ratalia: delle quattro --capitale, --mesi o --anni, --tasso e --rata se ne danno tre, e la quarta si "
         "calcola.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "2", "--tasso"}, 2, "ratalia: manca il valore di --tasso.\n"},
        {{"--piano", "--capitale", "--mesi", "24", "--tasso", "5"}, 2, "ratalia: manca il valore di --capitale.\n"},
        {{"--capitale", "1000", "--mesi", "2", "--tasso", "1"},
         2,
         "ratalia: le opzioni del piano vogliono --piano (ratalia --help elenca le opzioni).\n"},
        {{"--piano", "--piano"}, 2, "ratalia: l'opzione --piano è ripetuta.\n"},
        {{"--tassi", "5"},
         2,
         "ratalia: opzione non riconosciuta: --tassi (ratalia --help elenca le opzioni).\n" + usage},
        {{"--csv=sì"}, 2, "ratalia: l'opzione --csv non vuole un valore.\n" + usage},
        {{"pippo"}, 2, "ratalia: argomento non riconosciuto: pippo (ratalia --help elenca le opzioni).\n" + usage},
        {{"--help"}, 0, ""},
        {{"-h"}, 0, ""},
        {{"--version"}, 0, ""},
        {{"-v"}, 0, ""},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments[0] << " " << result.errors;
        EXPECT_EQ(result.errors, c.errors);
        if (c.status == 2) {
            EXPECT_EQ(result.output, "");
        }
    }
    EXPECT_EQ(run({"-v"}).output, std::string("Ratalia ") + version + "\n");
    EXPECT_EQ(run({"-h"}).output.rfind(usage, 0), 0u);
    const std::string help = run({"--help"}).output;
    EXPECT_NE(help.find("Stato di uscita: 0 fatto; 2 dati errati"), std::string::npos);
    for (const char* option : {"--ammortamento francese|italiana", "--spese-iniziali IMPORTO", "--imposta PERCENTUALE",
                               "--spese-rata IMPORTO", "--spese-annue IMPORTO"})
        EXPECT_NE(help.find(std::string("\n  ") + option), std::string::npos) << option;
}

// The costs and the kind of plan, as a foglio informativo names them.
TEST(CommandLineTest, prints_the_costs_and_the_taeg)
{
    const std::vector<std::string> commission{"--piano", "--capitale", "200000",           "--mesi", "240",
                                              "--tasso", "6",          "--spese-iniziali", "4000"};
    const Outcome italian = run(commission);
    ASSERT_EQ(italian.status, 0) << italian.errors;
    EXPECT_NE(italian.output.find("\nTAEG:           6,43 %\n"), std::string::npos) << italian.output;
    EXPECT_NE(italian.output.find("Importo erogato:           196.000,00\n"
                                  "Spese iniziali:            4.000,00\n"
                                  "Interessi:                 143.887,30\n"
                                  "Costo totale del credito:  147.887,30\n"
                                  "Totale dovuto:             343.887,30\n"),
              std::string::npos)
        << italian.output;
    EXPECT_NE(run(commission, u'.').output.find("\nTAEG:           6.43 %\n"), std::string::npos);

    // Costs paid with the installments are two more columns; the yearly one
    // falls due as each year of the loan begins.
    const Outcome fees = run({"--piano", "--capitale", "10000", "--mesi", "24", "--tasso", "6,75", "--spese-rata", "2",
                              "--spese-annue", "30", "--csv"});
    ASSERT_EQ(fees.status, 0) << fees.errors;
    EXPECT_EQ(fees.output.substr(0, fees.output.find('\n')),
              "N.;Rata;Interessi;Quota capitale;Spese;Pagamento;Debito residuo");
    EXPECT_NE(fees.output.find("\n12;446,59;31,41;415,18;2,00;448,59;5168,26\n"
                               "13;446,59;29,07;417,52;32,00;478,59;4750,74\n"),
              std::string::npos);

    // The constant principal: 416,67 a month, the last pays the 416,59 left.
    const Outcome constant = run(
        {"--piano", "--capitale", "10000", "--mesi", "24", "--tasso", "6,75", "--ammortamento", "italiana", "--csv"});
    ASSERT_EQ(constant.status, 0) << constant.errors;
    EXPECT_EQ(constant.output.rfind("N.;Rata;Interessi;Quota capitale;Debito residuo\n"
                                    "1;472,92;56,25;416,67;9583,33\n"
                                    "2;470,58;53,91;416,67;9166,66\n",
                                    0),
              0u);
    EXPECT_NE(constant.output.find("\n24;418,93;2,34;416,59;0,00\n"), std::string::npos);

    const struct {
        std::vector<std::string> extra;
        std::string errors;
    } bad[] = {
        {{"--spese-iniziali", "mille"}, "ratalia: --spese-iniziali: «mille» non è un importo.\n"},
        {{"--spese-rata", "-1"}, "ratalia: --spese-rata: non può essere negativo.\n"},
        {{"--imposta", "120"}, "ratalia: --imposta: una percentuale non può superare 100.\n"},
        {{"--spese-iniziali", "200000"},
         "ratalia: --spese-iniziali: quanto si paga all'inizio (200.000,00) non lascia nulla del capitale di "
         "200.000,00: non si riceverebbe nulla, e non c'è un TAEG.\n"},
        {{"--ammortamento", "tedesca"},
         "ratalia: --ammortamento: «tedesca» non è tra le scelte: francese oppure italiana.\n"},
    };
    for (const auto& c : bad) {
        std::vector<std::string> arguments(commission.begin(), commission.end() - 2);
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 2) << c.extra[0];
        EXPECT_EQ(result.errors, c.errors);
        EXPECT_EQ(result.output, "");
    }
}

TEST(CommandLineTest, only_the_window_system_options_open_the_window)
{
    const WindowSystemOption toolkit[] = {{"-platform", true}, {"-reverse", false}};
    const struct {
        std::vector<std::string> arguments;
        bool window;
    } cases[] = {
        {{}, true},
        {{"-platform", "offscreen"}, true},
        {{"-platform=offscreen", "-reverse"}, true},
        {{"-platform"}, false},
        {{"-h"}, false},
        {{"pippo"}, false},
        {{"-reverse", "--piano"}, false},
        // A file of offers, as the desktop passes one, opens in the plan window.
        {{"Banca A.RATALIA"}, true},
        {{"-platform", "offscreen", "offerte.ratalia"}, true},
        {{"a.ratalia", "b.ratalia"}, true},
        {{"a.ratalia", "--piano"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(opensWindow(c.arguments, toolkit), c.window) << testing::PrintToString(c.arguments);
}

TEST(CommandLineTest, says_why_the_output_was_not_written)
{
    EXPECT_EQ(notWrittenMessage(WriteFailure::NoSpace, 0, 5000),
              "ratalia: impossibile scrivere il risultato: lo spazio sul disco è esaurito; non è stato scritto nulla.");
    EXPECT_EQ(notWrittenMessage(WriteFailure::Other, 0, 5000),
              "ratalia: impossibile scrivere il risultato; non è stato scritto nulla.");
    // A pipe keeps what it took before its reader went away.
    EXPECT_EQ(notWrittenMessage(WriteFailure::Closed, 65536, 5600556),
              "ratalia: impossibile scrivere tutto il risultato: l'uscita è chiusa; ne sono stati scritti 65536 byte "
              "su 5600556.");
}

} // namespace
} // namespace ratalia::test
