// The figures shown under the law's names hold what the law means by them,
// checked against the same loans worked out in the test in high-precision
// decimals (support/reference_loan.h).

#include "cli/command_line.h"
#include "loan/annual_percentage_rate.h"
#include "loan/plan_request.h"
#include "plan/plan_text.h"
#include "plan/plan_window_layout.h"
#include "support/reference_loan.h"
#include "support/test_form.h"
#include "support/typed_inputs.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ratalia::test {
namespace {

const AmountText italianAmounts(u',', u'.');

Text italian(const std::string& text) { return fromUtf8(text); }

CreditKind creditOf(Credit credit)
{
    return credit == Credit::Home ? CreditKind::HomeMortgage
                                  : (credit == Credit::Consumer ? CreditKind::Consumer : CreditKind::Other);
}

// The same loan typed into the main window and the plan window's inputs.
PlanOutcome programPlan(const ReferenceLoan& loan, const Text& firstDue = {})
{
    TestForm form(u',');
    form.fill(italian(loan.capital), italian(std::to_string(loan.months)), italian(loan.annualRate));
    form.events.click(Button::Calculate);
    const auto terms = form.events.planTerms();
    EXPECT_TRUE(terms);
    TypedInputs inputs;
    inputs.kind = loan.italian ? PlanKind::Italian : PlanKind::French;
    const auto amount = [](std::int64_t cents) { return cents ? italianAmounts.plain(cents) : Text(); };
    inputs.initialFees = amount(loan.initialFees);
    inputs.substituteTax = loan.tax == "0" ? Text() : italian(loan.tax);
    inputs.installmentFee = amount(loan.fee);
    inputs.annualFee = amount(loan.annual);
    inputs.firstDue = firstDue;
    if (loan.after != 0) {
        inputs.repayAfter = italian(std::to_string(loan.after));
        inputs.repayAmount = loan.amount ? italianAmounts.plain(*loan.amount) : Text(u"tutto");
        inputs.reduceDuration = loan.reduceDuration;
        inputs.penalty = italian(loan.penalty);
        inputs.credit = creditOf(loan.credit);
    }
    return planFor(*terms, inputs, form.form().numbers());
}

std::vector<ReferenceRow> rowsOf(const AmortizationPlan& plan)
{
    std::vector<ReferenceRow> rows;
    for (const PlanRow& r : plan.rows())
        rows.push_back(
            {r.installment, r.interest, r.principal, r.costs, r.prepaid, r.penalty, r.refund, r.remainingDebt});
    return rows;
}

bool sameRows(const std::vector<ReferenceRow>& a, const std::vector<ReferenceRow>& b)
{
    const auto key = [](const ReferenceRow& r) {
        return std::make_tuple(r.installment, r.interest, r.principal, r.costs, r.prepaid, r.penalty, r.refund, r.debt);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](const ReferenceRow& x, const ReferenceRow& y) { return key(x) == key(y); });
}

struct ContractCase {
    const char* name;
    ReferenceLoan loan;
};

// clang-format off
const ContractCase contractCases[] = {
    {"commission_example", {.capital = "200000", .months = 240, .annualRate = "6", .initialFees = 400000}},
    {"no_costs", {.capital = "10000", .months = 24, .annualRate = "6,75"}},
    {"no_costs_30_years", {.capital = "250000", .months = 360, .annualRate = "3,9"}},
    {"imposta_on_a_home_that_is_not_the_first", {.capital = "150000", .months = 300, .annualRate = "3,2", .tax = "2"}},
    {"consumer_loan", {.capital = "10000", .months = 48, .annualRate = "8,9", .initialFees = 30000, .fee = 350}},
    {"imposta_on_a_mortgage", {.capital = "200000", .months = 240, .annualRate = "6", .initialFees = 400000, .tax = "0,25"}},
    {"every_cost", {.capital = "150000", .months = 300, .annualRate = "3,2", .initialFees = 120000, .tax = "0,25",
                    .fee = 250, .annual = 3500}},
    {"italian_plan", {.capital = "200000", .months = 240, .annualRate = "6", .italian = true, .initialFees = 400000}},
    {"zero_rate_with_fees", {.capital = "5000", .months = 10, .annualRate = "0", .initialFees = 10000}},
    {"yearly_cost_of_a_six_month_loan", {.capital = "5000", .months = 6, .annualRate = "8", .annual = 3500}},
    {"yearly_cost_of_a_final_part_year", {.capital = "5000", .months = 30, .annualRate = "8", .annual = 3500}},
    // After an early repayment the TAEG, the cost and the total due stay the contract's.
    {"all_repaid_after_12", {.capital = "10000", .months = 60, .annualRate = "7", .initialFees = 30000, .after = 12,
                             .penalty = "1"}},
    {"consumer_credit_all_repaid_after_24", {.capital = "18000", .months = 60, .annualRate = "7,9",
                                             .initialFees = 35000, .fee = 150, .after = 24, .penalty = "1",
                                             .credit = Credit::Consumer}},
    {"consumer_credit_closed_in_its_second_year", {.capital = "15000", .months = 48, .annualRate = "9",
                                                   .initialFees = 20000, .annual = 2400, .after = 16,
                                                   .penalty = "1", .credit = Credit::Consumer}},
    {"zero_rate_consumer_credit_part_repaid", {.capital = "12000", .months = 24, .annualRate = "0",
                                               .initialFees = 24000, .after = 6, .amount = 300000,
                                               .credit = Credit::Consumer}},
    {"italian_plan_fewer_installments", {.capital = "50000", .months = 120, .annualRate = "4", .italian = true,
                                         .after = 24, .amount = 1000000, .reduceDuration = true, .penalty = "0,5"}},
    {"fewer_installments_after_60", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 60,
                                     .amount = 2000000, .reduceDuration = true}},
    {"lower_installment_after_60", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 60,
                                    .amount = 2000000, .penalty = "1"}},
    {"all_after_60", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 60, .penalty = "0,5"}},
    {"lower_installment_after_1", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 1,
                                   .amount = 500000}},
    {"all_after_1", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 1, .penalty = "1"}},
    {"fewer_installments_after_239", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 239,
                                      .amount = 10000, .reduceDuration = true}},
    {"lower_installment_after_239", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 239,
                                     .amount = 10000}},
    {"all_after_239", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 239}},
    {"italian_lower_principal_after_24", {.capital = "50000", .months = 120, .annualRate = "4", .italian = true,
                                          .after = 24, .amount = 1000000}},
    {"fees_all_after_36", {.capital = "10000", .months = 48, .annualRate = "8,9", .initialFees = 30000, .fee = 350,
                           .after = 36, .penalty = "0,5"}},
    {"lower_installment_on_a_home_loan", {.capital = "100000", .months = 240, .annualRate = "3,5", .after = 60,
                                          .amount = 2000000, .penalty = "1", .credit = Credit::Home}},
};
// clang-format on

class ContractFiguresTest : public testing::TestWithParam<ContractCase> {};

TEST_P(ContractFiguresTest, are_the_laws_and_the_rows_add_up_to_them)
{
    const ReferenceLoan& loan = GetParam().loan;
    const ReferencePlan expected = referencePlan(loan);
    const PlanOutcome outcome = programPlan(loan);
    ASSERT_FALSE(outcome.error) << toUtf8(inputErrorText(*outcome.error, Naming::Window, italianAmounts));
    const auto& plan = std::get<AmortizationPlan>(outcome.plan);

    EXPECT_TRUE(sameRows(rowsOf(plan), expected.rows));
    ASSERT_TRUE(plan.annualPercentageRate());
    const Decimal taeg = yearlyRate(expected.received(), expected.contract);
    EXPECT_EQ(inBasisPoints(*plan.annualPercentageRate()), basisPoints(taeg));
    // And to the precision of a double, not only as stated.
    EXPECT_NEAR(*plan.annualPercentageRate(), static_cast<double>(taeg.roundedTo(15)) / 1e15, 1e-12);
    EXPECT_EQ(plan.received(), expected.received());
    EXPECT_EQ(plan.costOfCredit(), expected.costOfCredit());
    EXPECT_EQ(plan.totalDue(), expected.totalDue());
    EXPECT_EQ(plan.totalPayments(), expected.paid());
    if (loan.after == 0) {
        // Without a repayment, what is due is what the rows pay.
        EXPECT_EQ(plan.totalDue(), expected.paid());
        return;
    }
    EXPECT_EQ(plan.penaltyAgreed(), expected.penaltyAgreed);
    EXPECT_EQ(plan.penalty(), expected.penalty);
    EXPECT_EQ(plan.refund(), expected.refund);
    EXPECT_EQ(plan.interestSaved(), expected.interestSaved);
    EXPECT_EQ(plan.saving(), expected.totalDue() - expected.paid());
    ASSERT_TRUE(plan.rateAsRepaid());
    EXPECT_EQ(inBasisPoints(*plan.rateAsRepaid()), basisPoints(yearlyRate(expected.received(), expected.rows)));
}

INSTANTIATE_TEST_SUITE_P(Loans, ContractFiguresTest, testing::ValuesIn(contractCases),
                         [](const testing::TestParamInfo<ContractCase>& info) { return std::string(info.param.name); });

TEST(ContractFiguresTest, are_shown_under_their_names_whatever_is_repaid)
{
    const ReferenceLoan loan{
        .capital = "10000", .months = 60, .annualRate = "7", .initialFees = 30000, .after = 12, .penalty = "1"};
    const ReferencePlan expected = referencePlan(loan);
    const auto plan = std::get<AmortizationPlan>(programPlan(loan).plan);
    std::vector<std::pair<Text, Text>> shown;
    for (const Figure& figure : costFigures(plan, italianAmounts))
        shown.emplace_back(figure.label, figure.value);
    const std::vector<std::pair<Text, Text>> contract{
        {u"Importo erogato", italianAmounts.grouped(expected.received())},
        {u"Spese iniziali", u"300,00"},
        {u"Interessi del contratto", italianAmounts.grouped(expected.contractInterest())},
        {u"Costo totale del credito", italianAmounts.grouped(expected.costOfCredit())},
        {u"Totale dovuto", italianAmounts.grouped(expected.totalDue())},
    };
    EXPECT_EQ(shown, contract);
    const PlanOutcome outcome = programPlan(loan);
    const std::vector<Figure> loanFigures = ratalia::loanFigures(*outcome.loan, plan, italianAmounts, NumberText(u','));
    EXPECT_EQ(loanFigures[4].label + u": " + loanFigures[4].value, u"TAEG: 8,61 %");
}

TEST(PenaltyTest, stays_within_the_limits_of_the_kind_of_credit)
{
    const struct {
        const char* name;
        ReferenceLoan loan;
        PenaltyRule rule;
    } cases[] = {
        {"as_the_contract_says",
         {.capital = "20000", .months = 48, .annualRate = "7,5", .after = 24, .amount = 500000, .penalty = "3"},
         PenaltyRule::AsAgreed},
        {"none_on_a_home_mortgage",
         {.capital = "150000",
          .months = 240,
          .annualRate = "3",
          .after = 60,
          .amount = 2000000,
          .penalty = "2",
          .credit = Credit::Home},
         PenaltyRule::NoneOnHomeLoans},
        {"consumer_credit_13_months_from_the_end_one_per_cent",
         {.capital = "20000",
          .months = 48,
          .annualRate = "7,5",
          .after = 35,
          .amount = 300000,
          .penalty = "2",
          .credit = Credit::Consumer},
         PenaltyRule::PercentLimit},
        {"consumer_credit_12_months_from_the_end_half_per_cent",
         {.capital = "20000",
          .months = 48,
          .annualRate = "7,5",
          .after = 36,
          .amount = 300000,
          .penalty = "2",
          .credit = Credit::Consumer},
         PenaltyRule::PercentLimit},
        {"consumer_credit_11_months_from_the_end_half_per_cent",
         {.capital = "20000",
          .months = 48,
          .annualRate = "7,5",
          .after = 37,
          .amount = 300000,
          .penalty = "2",
          .credit = Credit::Consumer},
         PenaltyRule::PercentLimit},
        {"consumer_credit_within_the_limits",
         {.capital = "20000",
          .months = 48,
          .annualRate = "7,5",
          .after = 12,
          .amount = 300000,
          .penalty = "0,8",
          .credit = Credit::Consumer},
         PenaltyRule::WithinLimits},
        {"none_on_a_whole_debt_of_10000_or_less",
         {.capital = "10000",
          .months = 24,
          .annualRate = "6,75",
          .after = 23,
          .penalty = "1",
          .credit = Credit::Consumer},
         PenaltyRule::NoneOnSmallDebt},
        {"a_whole_debt_above_10000_pays",
         {.capital = "30000", .months = 60, .annualRate = "8", .after = 12, .penalty = "2", .credit = Credit::Consumer},
         PenaltyRule::PercentLimit},
        {"never_more_than_the_interest_saved",
         {.capital = "100000",
          .months = 60,
          .annualRate = "2",
          .after = 57,
          .amount = 300000,
          .penalty = "1",
          .credit = Credit::Consumer},
         PenaltyRule::InterestLimit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReferencePlan expected = referencePlan(c.loan);
        const PlanOutcome outcome = programPlan(c.loan);
        ASSERT_FALSE(outcome.error) << toUtf8(inputErrorText(*outcome.error, Naming::Window, italianAmounts));
        const auto& plan = std::get<AmortizationPlan>(outcome.plan);
        EXPECT_EQ(plan.repayments().at(0).rule, c.rule);
        EXPECT_EQ(plan.penaltyAgreed(), expected.penaltyAgreed);
        EXPECT_EQ(plan.penalty(), expected.penalty);
        EXPECT_TRUE(sameRows(rowsOf(plan), expected.rows));
    }
}

TEST(PenaltyTest, says_which_limit_applied)
{
    const auto rule = [](ReferenceLoan loan) {
        const auto plan = std::get<AmortizationPlan>(programPlan(loan).plan);
        const auto figures = repaymentFigures(plan, italianAmounts);
        const auto penalty =
            std::find_if(figures.begin(), figures.end(), [](const Figure& f) { return f.id == FigureId::Penalty; });
        return toUtf8(penalty->value + u" | " + (penalty + 1)->label + u": " + (penalty + 1)->value);
    };
    EXPECT_EQ(rule({.capital = "10000",
                    .months = 24,
                    .annualRate = "6,75",
                    .after = 23,
                    .penalty = "1",
                    .credit = Credit::Consumer}),
              "0,00 anziché 4,44 | Limite della penale: nessuna sull'estinzione di tutto il debito fino a 10.000 € "
              "(art. 125-sexies TUB)");
    EXPECT_EQ(rule({.capital = "20000",
                    .months = 48,
                    .annualRate = "7,5",
                    .after = 37,
                    .amount = 300000,
                    .penalty = "2",
                    .credit = Credit::Consumer}),
              "15,00 anziché 60,00 | Limite della penale: al massimo lo 0,5 % dell'importo rimborsato, alla fine "
              "manca un anno o meno (art. 125-sexies TUB)");
    EXPECT_EQ(rule({.capital = "150000",
                    .months = 240,
                    .annualRate = "3",
                    .after = 60,
                    .amount = 2000000,
                    .penalty = "2",
                    .credit = Credit::Home}),
              "0,00 anziché 400,00 | Limite della penale: nessuna per un mutuo per la casa (art. 120-ter TUB)");
}

TEST(SubstituteTaxTest, is_offered_by_what_the_law_charges_and_refused_on_short_loans)
{
    std::vector<Text> captions;
    for (const InputChoice& choice : planInputSpec(PlanInput::SubstituteTax).choices)
        captions.push_back(Text(choice.caption) + u" = " + Text(choice.value));
    EXPECT_EQ(captions, (std::vector<Text>{u"Nessuna = ", u"0,25 % (oltre 18 mesi) = 0,25",
                                           u"2 % (casa che non è la prima) = 2"}));
    for (const auto& [months, refused] : {std::pair{18, true}, std::pair{19, false}}) {
        const PlanOutcome outcome =
            programPlan({.capital = "20000", .months = months, .annualRate = "5", .tax = "0,25"});
        ASSERT_EQ(outcome.error.has_value(), refused) << months;
        if (refused) {
            EXPECT_EQ(inputErrorText(*outcome.error, Naming::CommandLine, italianAmounts),
                      u"--imposta: non si paga sui finanziamenti di 18 mesi o meno, e questo ha 18 rate (DPR "
                      u"601/1973, art. 15).");
        }
    }
}

TEST(TaegTest, too_large_to_state_is_said_in_words)
{
    for (const ReferenceLoan& loan :
         {ReferenceLoan{.capital = "10000", .months = 24, .annualRate = "5", .initialFees = 999000},
          ReferenceLoan{.capital = "1", .months = 1, .annualRate = "5", .fee = 10000}}) {
        const ReferencePlan expected = referencePlan(loan);
        ASSERT_GT(yearlyRate(expected.received(), expected.contract), Decimal(10000));
        const auto plan = std::get<AmortizationPlan>(programPlan(loan).plan);
        EXPECT_EQ(taegText(plan, italianAmounts), u"oltre 1.000.000 %");
    }
}

TEST(PlanTotalsTest, every_money_column_has_its_total_and_they_add_up)
{
    ReferenceLoan loan{.capital = "18000",
                       .months = 60,
                       .annualRate = "7,9",
                       .initialFees = 35000,
                       .fee = 150,
                       .after = 24,
                       .penalty = "1",
                       .credit = Credit::Consumer};
    const ReferencePlan expected = referencePlan(loan);
    const auto plan = std::get<AmortizationPlan>(programPlan(loan).plan);
    std::vector<Text> labels;
    for (const Figure& total : planTotals(plan, italianAmounts))
        labels.push_back(total.label + u" = " + total.value);
    const auto sum = [&](std::int64_t ReferenceRow::*field) {
        return italianAmounts.grouped(ReferencePlan::sum(expected.rows, field));
    };
    EXPECT_EQ(labels, (std::vector<Text>{
                          u"Totale rate = " + sum(&ReferenceRow::installment),
                          u"Totale interessi = " + sum(&ReferenceRow::interest),
                          u"Totale quote capitale = " + sum(&ReferenceRow::principal),
                          u"Totale rimborsi anticipati = " + sum(&ReferenceRow::prepaid),
                          u"Totale penali = " + sum(&ReferenceRow::penalty),
                          u"Totale spese = " + sum(&ReferenceRow::costs),
                          u"Totale spese restituite = " + sum(&ReferenceRow::refund),
                          u"Totale pagamenti = " + italianAmounts.grouped(expected.paid()),
                      }));
    std::vector<Text> titles;
    for (const PlanColumn column : columnsOf(plan))
        titles.push_back(columnTitle(column));
    EXPECT_EQ(titles, (std::vector<Text>{u"N.", u"Rata", u"Interessi", u"Quota capitale", u"Rimborso anticipato",
                                         u"Penale", u"Spese", u"Spese restituite", u"Pagamento", u"Debito residuo"}));
}

TEST(YearlyTotalsTest, put_the_signing_costs_in_their_year_and_the_deductible_charges_apart)
{
    ReferenceLoan loan{.capital = "100000",
                       .months = 240,
                       .annualRate = "3,5",
                       .initialFees = 150000,
                       .tax = "0,25",
                       .fee = 200,
                       .annual = 3000,
                       .after = 60,
                       .amount = 2000000,
                       .penalty = "1"};
    const PlanOutcome outcome = programPlan(loan, u"01/2027");
    ASSERT_FALSE(outcome.error);
    const auto& plan = std::get<AmortizationPlan>(outcome.plan);
    const ReferencePlan expected = referencePlan(loan);
    const std::vector<YearTotals> years = yearlyTotals(plan);
    ASSERT_EQ(years.size(), 21u);
    // The signing, in December 2026: nothing but what is paid at it.
    EXPECT_EQ(years[0].year, 2026);
    EXPECT_EQ(years[0].installments, 0);
    EXPECT_EQ(years[0].charges, expected.upfront);
    EXPECT_EQ(years[0].debtAtEnd, expected.capital);
    // 2031: the 60th installment, its penalty among the deductible charges.
    EXPECT_EQ(years[5].year, 2031);
    EXPECT_EQ(years[5].charges, expected.penalty);
    EXPECT_EQ(years[5].fees, 12 * 200 + 3000);
    Cents charges = 0, fees = 0, interest = 0;
    for (const YearTotals& year : years) {
        charges += year.charges;
        fees += year.fees;
        interest += year.interest;
    }
    EXPECT_EQ(charges, expected.upfront + expected.penalty);
    EXPECT_EQ(fees, ReferencePlan::sum(expected.rows, &ReferenceRow::costs));
    EXPECT_EQ(interest, ReferencePlan::sum(expected.rows, &ReferenceRow::interest));
    std::vector<Text> titles;
    for (const YearColumn column : yearColumns(plan))
        titles.push_back(columnTitle(column));
    EXPECT_EQ(titles, (std::vector<Text>{u"Anno", u"Rate", u"Interessi", u"Quota capitale", u"Rimborso anticipato",
                                         u"Oneri accessori", u"Altre spese", u"Debito a fine anno"}));
}

TEST(PlanInstallmentTest, is_worked_out_exactly_on_the_capital_in_cents)
{
    const struct {
        const char* name;
        std::string capital, months, rate;
        bool windowDiffers;
    } cases[] = {
        {"capital_with_three_decimals", "718942,025", "360", "8,48", true},
        {"a_tiny_rate_on_millions", "3857280,08", "240", "0,104", true},
        {"an_ordinary_loan", "10000", "24", "6,75", false},
        {"a_mortgage", "250000", "360", "3,9", false},
        {"a_hundred_thousand_installments", "100000000", "100000", "0,02", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReferenceLoan loan{.capital = c.capital, .months = std::stoll(c.months), .annualRate = c.rate};
        const std::int64_t expected =
            annuityCents(Decimal::parse(c.capital).roundedTo(2), monthlyRate(c.rate), loan.months);
        TestForm form(u',');
        form.fill(italian(c.capital), italian(c.months), italian(c.rate));
        form.events.click(Button::Calculate);
        const LoanTerms terms = *form.events.planTerms();
        const auto plan = std::get<AmortizationPlan>(planFor(terms, {}, form.form().numbers()).plan);
        EXPECT_EQ(plan.installment(), expected);
        const auto note = installmentNote(terms.installment, plan, italianAmounts, form.form().numbers());
        ASSERT_EQ(note.has_value(), c.windowDiffers);
        if (note) {
            EXPECT_NE(note->find(u"il piano la calcola esattamente sul capitale in centesimi (" +
                                 italianAmounts.grouped(plan.capital()) + u"): " + italianAmounts.grouped(expected) +
                                 u"."),
                      Text::npos)
                << toUtf8(*note);
        }
    }
}

struct CommandRun {
    int status;
    std::string output, errors;
};

CommandRun commandLine(const std::string& line)
{
    std::vector<std::string> arguments{"--piano"};
    std::istringstream words(line);
    for (std::string word; words >> word;)
        arguments.push_back(word);
    std::ostringstream output, errors;
    const int status = runCommandLine(arguments, NumberText(u','), output, errors);
    return {status, output.str(), errors.str()};
}

TEST(CommandLineTest, names_what_is_wrong_and_never_ignores_an_option)
{
    const struct {
        std::string line;
        int status;
        std::string error; // the one line on standard error, or a line of the output
    } cases[] = {
        {"--capitale 0,004 --mesi 12 --tasso 5", 2,
         "ratalia: Il capitale è inferiore a mezzo centesimo: non c'è un piano di ammortamento da mostrare.\n"},
        {"--capitale dieci --mesi 12 --tasso 5", 2,
         "ratalia: --capitale «dieci»: Sono stati inseriti uno o più dati errati\n"},
        {"--capitale 1000 --anni 0,5 --tasso 5", 2,
         "ratalia: --anni «0,5»: Sono stati inseriti uno o più dati errati\n"},
        {"--capitale 1000 --mesi 12 --tasso -1", 2,
         "ratalia: --tasso «-1»: Sono stati inseriti uno o più dati errati\n"},
        {"--capitale 1000 --mesi 12 --tasso 5 --penale 1", 2,
         "ratalia: --penale riguarda un'estinzione anticipata: vuole --estinzione-dopo.\n"},
        {"--capitale 1000 --mesi 12 --tasso 5 --riduci durata", 2,
         "ratalia: --riduci riguarda un'estinzione anticipata: vuole --estinzione-dopo.\n"},
        {"--capitale 1000 --mesi 12 --tasso 5 --tipo-credito consumo", 2,
         "ratalia: --tipo-credito riguarda un'estinzione anticipata: vuole --estinzione-dopo, --rimborso o --extra.\n"},
        {"--capitale 1000 --mesi 12 --tasso 5 --estinzione-dopo 3 --estinzione-importo 100 --tipo-credito banca", 2,
         "ratalia: --tipo-credito: «banca» non è tra le scelte: altro, casa oppure consumo.\n"},
        {"--capitale 1000 --mesi 12 --tasso 5 --estinzione-dopo 3 --estinzione-importo TUTTO", 0,
         "con la rata 3 anziché la 12\n"},
        {"--capitale 1000 --mesi 12 --tasso 5 --estinzione-dopo 3 --estinzione-importo Tutto", 0,
         "con la rata 3 anziché la 12\n"},
        // A plan the main window's doubles cannot work out, and one they refuse for the wrong reason.
        {"--capitale 100000 --mesi 100000 --tasso 8,6 --ammortamento italiana", 0, "Prima rata:      717,67\n"},
        {"--capitale 100000 --mesi 100000 --tasso 3", 2,
         "ratalia: Arrotondata al centesimo, la rata di 250,00 non estingue questo prestito in 100.000 rate: l'ultima "
         "rata sarebbe di 100.250,00.\n"},
        {"--capitale 10000 --mesi 24 --tasso 5 --spese-iniziali 9990", 0, "TAEG:           oltre 1.000.000 %\n"},
        {"--capitale 50000 --mesi 120 --tasso 4 --ammortamento italiana --estinzione-dopo 24 --estinzione-importo "
         "10000 --riduci durata",
         0, "Dopo l'estinzione la quota capitale resta la stessa e il prestito finisce con la rata"},
        // The contract's last installment, not the repaid plan's: principal 100 000 − 119 × 833,33 = 833,73,
        // with 833,73 × 5 % ÷ 12 = 3,47 of interest.
        {"--capitale 100000 --mesi 120 --tasso 5 --ammortamento italiana --estinzione-dopo 30 --estinzione-importo "
         "20000 --riduci durata",
         0, "Ultima rata:     837,20\n"},
        {"--capitale 10000 --mesi 60 --tasso 5 --ammortamento italiana --extra 100", 0,
         "Con i versamenti in più la quota capitale resta la stessa e il prestito finisce con la rata"},
        {"--capitale 10000 --mesi 60 --tasso 5 --ammortamento italiana --extra 100", 0,
         "come se durasse fino alla fine: i versamenti in più non li cambiano.\n"},
        // The principal 706,84 leaves 79 873,87 after 81 installments, 22,18 after the repayment: 0,20 over the
        // 113 left is gone with installment 192 (22,18 − 110 × 0,20 = 0,18 before it).
        {"--capitale 137127,91 --mesi 194 --tasso 10,01 --ammortamento italiana --estinzione-dopo 81 "
         "--estinzione-importo 79851,69",
         2,
         "ratalia: Dopo l'estinzione con la rata 81, arrotondata al centesimo, la quota capitale di 0,20 non estingue "
         "il "
         "debito rimasto nelle 113 rate che restano: il debito sarebbe estinto già con la rata 192.\n"},
        // What is paid at the signing is the fees and the imposta: 10,00 + 0,25 % of 10,00.
        {"--capitale 10 --mesi 24 --tasso 5 --imposta 0,25 --spese-iniziali 10", 2,
         "ratalia: --spese-iniziali: quanto si paga all'inizio (10,03) non lascia nulla del capitale di 10,00: non si "
         "riceverebbe nulla, e non c'è un TAEG.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CommandRun run = commandLine(c.line);
        EXPECT_EQ(run.status, c.status) << run.errors;
        if (c.status != 0) {
            EXPECT_EQ(run.errors, c.error);
        } else {
            EXPECT_NE(run.output.find(c.error), std::string::npos) << run.output;
        }
    }
}

} // namespace
} // namespace ratalia::test
