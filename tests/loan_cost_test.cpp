#include "core/annual_percentage_rate.h"
#include "core/plan_request.h"
#include "core/plan_text.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace ratalia::test {
namespace {

struct CostCase {
    const char* name;
    const char16_t *capital, *months, *rate; // Italian texts
    PlanKind kind;
    const char16_t *initialFees, *substituteTax, *installmentFee, *annualFee;
    // The TAEG in per cent, worked out beforehand from the same rows with
    // 50-digit decimals (bisection on Σ payment_k (1 + X)^(−k/12) = received),
    // and as the plan states it.
    double percent;
    const char16_t* shown;
    Cents received, costOfCredit; // likewise
};

// clang-format off
const CostCase costCases[] = {
    // The Commission's example: 240 equal installments of 1 432,86 give
    // 6,434412 %; the plan's last installment is 90 cents more.
    {"commission_example", u"200000", u"240", u"6", PlanKind::French, u"4000", u"", u"", u"",
     6.434430008237352, u"6,43 %", 19600000, 14788730},
    {"no_costs", u"10000", u"24", u"6,75", PlanKind::French, u"", u"", u"", u"",
     6.962844914916913, u"6,96 %", 1000000, 71825},
    {"no_costs_30_years", u"250000", u"360", u"3,9", PlanKind::French, u"", u"", u"", u"",
     3.970473607253612, u"3,97 %", 25000000, 17450158},
    {"every_cost", u"150000", u"300", u"3,2", PlanKind::French, u"1200", u"0,25", u"2,50", u"35",
     3.417945046271218, u"3,42 %", 14842500, 7130528},
    {"tax_on_another_home", u"150000", u"300", u"3,2", PlanKind::French, u"", u"2", u"", u"",
     3.439818745584802, u"3,44 %", 14700000, 7110528},
    {"italian_plan", u"200000", u"240", u"6", PlanKind::Italian, u"4000", u"", u"", u"",
     6.476006938289753, u"6,48 %", 19600000, 12450047},
    {"zero_rate_with_fees", u"5000", u"10", u"0", PlanKind::French, u"100", u"", u"", u"",
     4.519214501029820, u"4,52 %", 490000, 10000},
    {"consumer_loan", u"10000", u"48", u"8,9", PlanKind::French, u"300", u"", u"3,50", u"",
     11.847421050529379, u"11,85 %", 970000, 238999},
};
// clang-format on

class LoanCostTest : public testing::TestWithParam<CostCase> {};

TEST_P(LoanCostTest, the_taeg_is_the_rate_of_what_is_received_and_paid)
{
    const CostCase& c = GetParam();
    TestForm form(u',');
    form.fill(c.capital, c.months, c.rate);
    form.events.click(Button::Calculate);
    const auto terms = form.events.planTerms();
    ASSERT_TRUE(terms);
    const PlanOutcome outcome = planFor(*terms,
                                        {.kind = c.kind,
                                         .initialFees = c.initialFees,
                                         .substituteTax = c.substituteTax,
                                         .installmentFee = c.installmentFee,
                                         .annualFee = c.annualFee},
                                        form.form().numbers());
    ASSERT_FALSE(outcome.error);
    ASSERT_TRUE(std::holds_alternative<AmortizationPlan>(outcome.plan));
    const auto& plan = std::get<AmortizationPlan>(outcome.plan);
    ASSERT_TRUE(plan.annualPercentageRate());
    EXPECT_NEAR(*plan.annualPercentageRate() * 100, c.percent, 1e-8);
    EXPECT_EQ(taegText(plan, AmountText(u',', u'.')), c.shown);
    EXPECT_EQ(plan.received(), c.received);
    EXPECT_EQ(plan.costOfCredit(), c.costOfCredit);
    EXPECT_EQ(plan.totalDue(), plan.capital() + c.costOfCredit);
}

INSTANTIATE_TEST_SUITE_P(Loans, LoanCostTest, testing::ValuesIn(costCases),
                         [](const testing::TestParamInfo<CostCase>& info) { return std::string(info.param.name); });

// Without costs the TAEG is the installments' own effective rate,
// (1 + i)^12 − 1, to the two decimals it is stated with.
TEST(AnnualPercentageRateTest, without_costs_it_is_the_effective_rate)
{
    for (const char16_t* rate : {u"0,5", u"1", u"2,25", u"3,9", u"6,75", u"9,99", u"15", u"24"}) {
        TestForm form(u',');
        form.fill(u"123456", u"180", rate);
        form.events.click(Button::Calculate);
        const auto plan = std::get<AmortizationPlan>(amortizationPlan(*form.events.planTerms(), form.form().numbers()));
        std::string decimal(toUtf8(rate));
        std::replace(decimal.begin(), decimal.end(), ',', '.');
        const long double effective = std::pow(1 + std::stold(decimal) / 1200, 12.0L) - 1;
        EXPECT_EQ(inBasisPoints(*plan.annualPercentageRate()), std::llround(effective * 10000)) << toUtf8(rate);
    }
}

TEST(AnnualPercentageRateTest, no_rate_from_what_cannot_have_one)
{
    const std::vector<Cents> twelve(12, 1000);
    EXPECT_FALSE(annualPercentageRate(0, twelve)) << "nothing received";
    EXPECT_FALSE(annualPercentageRate(-5, twelve)) << "less than nothing received";
    EXPECT_FALSE(annualPercentageRate(1000, {})) << "no payment";
    EXPECT_FALSE(annualPercentageRate(12001, twelve)) << "less paid than received";
    const auto none = annualPercentageRate(12000, twelve);
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, 0.0);
    EXPECT_FALSE(std::signbit(*none)) << "a negative zero";
    // 1 000 % a year: the bracket holds whatever the rate.
    const auto high = annualPercentageRate(100, std::vector<Cents>(12, 1100 / 12 + 1));
    ASSERT_TRUE(high);
    EXPECT_TRUE(std::isfinite(*high));
    EXPECT_EQ(inBasisPoints(0.06434412), 643);
    EXPECT_EQ(inBasisPoints(0.06435), 644);
}

TEST(PlanInputsTest, a_wrong_input_gets_one_message_that_names_it)
{
    const struct {
        PlanInputs inputs;
        const char16_t* window;
        const char16_t* commandLine;
    } cases[] = {
        {{.initialFees = u"abc"},
         u"Spese iniziali: «abc» non è un importo.",
         u"--spese-iniziali: «abc» non è un importo."},
        {{.initialFees = u"-5"},
         u"Spese iniziali: non può essere negativo.",
         u"--spese-iniziali: non può essere negativo."},
        {{.substituteTax = u"2,5%"},
         u"Imposta sostitutiva: «2,5%» non è una percentuale.",
         u"--imposta: «2,5%» non è una percentuale."},
        {{.substituteTax = u"100,01"},
         u"Imposta sostitutiva: una percentuale non può superare 100.",
         u"--imposta: una percentuale non può superare 100."},
        {{.installmentFee = u"1.000,50"},
         u"Spese per rata: «1.000,50» non è un importo.",
         u"--spese-rata: «1.000,50» non è un importo."},
        {{.annualFee = u"1E30"},
         u"Spese annue: «1E30» è un importo troppo grande.",
         u"--spese-annue: «1E30» è un importo troppo grande."},
        {{.initialFees = u"10000"},
         u"Spese iniziali: quanto si paga all'inizio (10.000,00) non lascia nulla del capitale di 10.000,00: non si "
         u"riceverebbe nulla, e non c'è un TAEG.",
         u"--spese-iniziali: quanto si paga all'inizio (10.000,00) non lascia nulla del capitale di 10.000,00: non si "
         u"riceverebbe nulla, e non c'è un TAEG."},
        {{.substituteTax = u"100"},
         u"Imposta sostitutiva: quanto si paga all'inizio (10.000,00) non lascia nulla del capitale di 10.000,00: non "
         u"si riceverebbe nulla, e non c'è un TAEG.",
         u"--imposta: quanto si paga all'inizio (10.000,00) non lascia nulla del capitale di 10.000,00: non si "
         u"riceverebbe nulla, e non c'è un TAEG."},
    };
    const NumberText numbers(u',');
    const AmountText amounts(u',', u'.');
    for (const auto& c : cases) {
        const auto costs = loanCosts(c.inputs, 1000000, numbers);
        ASSERT_TRUE(std::holds_alternative<InputError>(costs)) << toUtf8(c.window);
        EXPECT_EQ(inputErrorText(std::get<InputError>(costs), Naming::Window, amounts), c.window);
        EXPECT_EQ(inputErrorText(std::get<InputError>(costs), Naming::CommandLine, amounts), c.commandLine);
    }
    // "." and "," are both the decimal separator, and spaces around count for nothing.
    const auto costs =
        loanCosts({.initialFees = u" 1200.5 ", .substituteTax = u"0.25", .installmentFee = u"2,5"}, 1000000, numbers);
    ASSERT_TRUE(std::holds_alternative<LoanCosts>(costs));
    EXPECT_EQ(std::get<LoanCosts>(costs).initialFees, 120050);
    EXPECT_EQ(std::get<LoanCosts>(costs).substituteTax, 2500);
    EXPECT_EQ(std::get<LoanCosts>(costs).perInstallment, 250);
}

} // namespace
} // namespace ratalia::test
