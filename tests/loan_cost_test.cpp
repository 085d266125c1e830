#include "loan/annual_percentage_rate.h"
#include "loan/plan_request.h"
#include "plan/plan_text.h"
#include "support/reference_loan.h"
#include "support/test_form.h"
#include "support/typed_inputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace ratalia::test {
namespace {

// Without costs the TAEG is the rate of the rows themselves, whose interest
// is rounded to the cent and whose last installment differs: mostly the
// installments' own effective rate (1 + i)^12 − 1 to two decimals, but not
// always.
TEST(AnnualPercentageRateTest, without_costs_it_is_the_rate_of_the_rows)
{
    const struct {
        const char* capital;
        std::int64_t months;
        const char* rate;
        bool asEffective;
    } cases[] = {
        {"123456", 180, "0,5", true}, {"123456", 180, "3,9", true},     {"123456", 180, "9,99", true},
        {"123456", 180, "24", true},  {"28303,61", 222, "21,1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.capital + std::string(" at ") + c.rate);
        const ReferencePlan rows = referencePlan({.capital = c.capital, .months = c.months, .annualRate = c.rate});
        const std::int64_t effective = basisPoints((Decimal(1) + monthlyRate(c.rate)).power(12) - Decimal(1));
        TestForm form(u',');
        form.fill(fromUtf8(c.capital), fromUtf8(std::to_string(c.months)), fromUtf8(c.rate));
        form.events.click(Button::Calculate);
        const auto plan = std::get<AmortizationPlan>(amortizationPlan(*form.events.planTerms(), form.form().numbers()));
        EXPECT_EQ(inBasisPoints(*plan.annualPercentageRate()), basisPoints(yearlyRate(rows.received(), rows.rows)));
        EXPECT_EQ(inBasisPoints(*plan.annualPercentageRate()) == effective, c.asEffective);
    }
}

TEST(AnnualPercentageRateTest, no_rate_from_what_cannot_have_one)
{
    const std::vector<Cents> twelve(12, 1000);
    EXPECT_FALSE(annualPercentageRate(CashFlows{0, twelve})) << "nothing received";
    EXPECT_FALSE(annualPercentageRate(CashFlows{-5, twelve})) << "less than nothing received";
    EXPECT_FALSE(annualPercentageRate(CashFlows{1000, {}})) << "no payment";
    EXPECT_FALSE(annualPercentageRate(CashFlows{12001, twelve})) << "less paid than received";
    const auto none = annualPercentageRate(CashFlows{12000, twelve});
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, 0.0);
    EXPECT_FALSE(std::signbit(*none)) << "a negative zero";
    // 1 000 % a year: the bracket holds whatever the rate.
    const auto high = annualPercentageRate(CashFlows{100, std::vector<Cents>(12, 1100 / 12 + 1)});
    ASSERT_TRUE(high);
    EXPECT_TRUE(std::isfinite(*high));
    // Beyond the doubles, a rate that is said to be beyond, never a wrong one.
    const auto beyond = annualPercentageRate(CashFlows{1, std::vector<Cents>(1, 9'000'000'000'000'000'000)});
    ASSERT_TRUE(beyond);
    EXPECT_FALSE(inBasisPoints(*beyond));
    EXPECT_EQ(inBasisPoints(0.06434412), 643);
    EXPECT_EQ(inBasisPoints(0.06435), 644);
}

TEST(PlanInputsTest, a_wrong_input_gets_one_message_that_names_it)
{
    const struct {
        TypedInputs inputs;
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
        {{.installmentFee = u"1.00,50"},
         u"Spese per rata: «1.00,50» non è un importo.",
         u"--spese-rata: «1.00,50» non è un importo."},
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
    const auto costs = loanCosts(
        TypedInputs{.initialFees = u" 1200.5 ", .substituteTax = u"0.25", .installmentFee = u"2,5"}, 1000000, numbers);
    ASSERT_TRUE(std::holds_alternative<LoanCosts>(costs));
    EXPECT_EQ(std::get<LoanCosts>(costs).initialFees, 120050);
    EXPECT_EQ(std::get<LoanCosts>(costs).substituteTax, 2500);
    EXPECT_EQ(std::get<LoanCosts>(costs).perInstallment, 250);
}

// An amount copied from a foglio informativo keeps its thousands: the
// region's group separator, where it groups as the region does, is one;
// otherwise "." and "," are the decimal separator, as in the main window.
TEST(PlanInputsTest, amounts_read_the_regions_thousands)
{
    const struct {
        char16_t decimal;
        const char16_t* typed;
        std::optional<Cents> cents; // nothing: not an amount
    } cases[] = {
        {u',', u"1.500", 150000},
        {u',', u"1.500,00", 150000},
        {u',', u" 100.000 ", 10000000},
        {u',', u"1.500.000,25", 150000025},
        {u',', u"1.50", 150},
        {u',', u"1,5", 150},
        {u',', u"12.5", 1250},
        {u',', u"1.50.000", std::nullopt},
        {u',', u"1.500,5,0", std::nullopt},
        {u'.', u"1,500", 150000},
        {u'.', u"1,500.25", 150025},
        {u'.', u"1.5", 150},
        {u'.', u"10,00", 1000},
        {u'\u066B', u"1\u066C500", 150000},
        {u'\u066B', u"2\u066B5", 250},
    };
    for (const auto& c : cases) {
        const NumberText numbers(c.decimal);
        const auto costs = loanCosts(TypedInputs{.initialFees = c.typed}, 10000000000, numbers);
        SCOPED_TRACE(toUtf8(c.typed));
        ASSERT_EQ(std::holds_alternative<LoanCosts>(costs), c.cents.has_value());
        if (c.cents) {
            EXPECT_EQ(std::get<LoanCosts>(costs).initialFees, *c.cents);
        }
    }
}

} // namespace
} // namespace ratalia::test
