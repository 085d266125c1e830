#include "numbers/annuity.h"
#include "numbers/failures.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace ratalia::test {
namespace {

using namespace std::string_view_literals;

const Text error = u"Sono stati inseriti uno o più dati errati";
const Text monthsWarning = u"Il valore rappresentante i numeri dei mesi verrà arrotondato, ovvero al posto di";
const Text yearsWarning = u"Il valore rappresentante i numeri degl'anni verrà arrotondato, ovvero al posto di";
const Text roundedTo = u" sarà preso in considerazione il valore di";

struct Case {
    const char* name;
    std::u16string_view capital, duration;
    DurationUnit unit;
    std::u16string_view rate;
    // Every field afterwards, "," for the regional separator.
    std::u16string_view text1, text2, text3, text4, text5, text6, text7, text8;
    std::vector<ShownMessage> messages;
    bool roundingEnabled;
};

const ShownMessage errorShown{error, u"Errore"};

ShownMessage warning(const Text& start, std::u16string_view typed, std::u16string_view rounded)
{
    return {start + Text(typed) + roundedTo + Text(rounded), u"Avvertenza"};
}

// clang-format off
const Case cases[] = {
    {"typical loan", u"10000", u"24", DurationUnit::Months, u"6,75",
     u"10000", u"24", u"6,75", u"0,0056250000", u"446,5932949505", u"10718,2390788112", u"718,2390788112", u"24",
     {}, true},
    {"zero rate", u"10000", u"24", DurationUnit::Months, u"0",
     u"10000", u"24", u"0", u"0,0000000000", u"416,6666666667", u"10000,0000000000", u"0,0000000000", u"24",
     {}, true},
    {"two years", u"10000", u"2", DurationUnit::Years, u"6,75",
     u"10000", u"2", u"6,75", u"0,0056250000", u"446,5932949505", u"10718,2390788112", u"718,2390788112", u"24",
     {}, true},
    {"points typed", u"10000.0", u"24", DurationUnit::Months, u"6.75",
     u"10000,0", u"24", u"6,75", u"0,0056250000", u"446,5932949505", u"10718,2390788112", u"718,2390788112", u"24",
     {}, true},
    {"months shown as typed", u"1200", u"12,0", DurationUnit::Months, u"0",
     u"1200", u"12,0", u"0", u"0,0000000000", u"100,0000000000", u"1200,0000000000", u"0,0000000000", u"12,0",
     {}, true},
    {"zero rate interest is never minus zero", u"10", u"3", DurationUnit::Months, u"0",
     u"10", u"3", u"0", u"0,0000000000", u"3,3333333333", u"10,0000000000", u"0,0000000000", u"3",
     {}, true},
    {"capital 1.000 is one", u"1.000", u"1", DurationUnit::Months, u"0",
     u"1,000", u"1", u"0", u"0,0000000000", u"1,0000000000", u"1,0000000000", u"0,0000000000", u"1",
     {}, true},
    {"fractional months", u"10000", u"2,5", DurationUnit::Months, u"0",
     u"10000", u"3", u"0", u"0,0000000000", u"3333,3333333333", u"10000,0000000000", u"0,0000000000", u"3",
     {warning(monthsWarning, u" 2.5", u" 3")}, true},
    {"fractional years typed with a point", u"10000", u"1.5", DurationUnit::Years, u"0",
     u"10000", u"2", u"0", u"0,0000000000", u"416,6666666667", u"10000,0000000000", u"0,0000000000", u"24",
     {warning(yearsWarning, u" 1.5", u" 2")}, true},
    {"capital zero", u"0", u"24", DurationUnit::Months, u"6,75",
     u"", u"", u"6,75", u"0,005625", u"", u"", u"", u"", {errorShown}, false},
    {"capital negative", u"-5", u"24", DurationUnit::Months, u"6,75",
     u"", u"", u"6,75", u"0,005625", u"", u"", u"", u"", {errorShown}, false},
    {"capital letters", u"abc", u"24", DurationUnit::Months, u"6,75",
     u"", u"", u"6,75", u"", u"", u"", u"", u"", {errorShown}, false},
    {"capital beyond any number", u"1E400", u"24", DurationUnit::Months, u"6,75",
     u"", u"", u"6,75", u"", u"", u"", u"", u"", {errorShown}, false},
    {"duration below one", u"10000", u"0,5", DurationUnit::Months, u"6,75",
     u"", u"", u"6,75", u"", u"", u"", u"", u"", {errorShown}, false},
    {"negative rate", u"10000", u"24", DurationUnit::Months, u"-1",
     u"", u"", u"", u"", u"", u"", u"", u"", {errorShown}, false},
    {"rate letters", u"10000", u"24", DurationUnit::Months, u"abc",
     u"", u"", u"abc", u"", u"", u"", u"", u"", {errorShown}, false},
    {"two decimal separators", u"1.234,56", u"24", DurationUnit::Months, u"6,75",
     u"", u"", u"6,75", u"", u"", u"", u"", u"", {errorShown}, false},
    {"warning then error", u"-5", u"2,5", DurationUnit::Years, u"6,75",
     u"", u"", u"6,75", u"0,005625", u"", u"", u"", u"", {warning(yearsWarning, u" 2.5", u" 3"), errorShown}, false},
    // Rates so small that 1 + i keeps few of i's digits: the installment is
    // exact in i (C / N × (1 + i (N + 1) / 2) to first order), not 390,94.
    {"rate of 1E-12 per cent", u"10000", u"24", DurationUnit::Months, u"1E-12",
     u"10000", u"24", u"1E-12", u"0,0000000000", u"416,6666666667", u"10000,0000000001", u"0,0000000001", u"24",
     {}, true},
    {"rate of 1E-10 per cent", u"10000", u"24", DurationUnit::Months, u"1E-10",
     u"10000", u"24", u"1E-10", u"0,0000000000", u"416,6666666671", u"10000,0000000104", u"0,0000000104", u"24",
     {}, true},
    {"monthly rate just below 1E-7", u"10000", u"24", DurationUnit::Months, u"0,0001199",
     u"10000", u"24", u"0,0001199", u"0,0000000999", u"416,6671870662", u"10000,0124895881", u"0,0124895881", u"24",
     {}, true},
    // 1 + i is 1 in double precision: the installment divides by zero, is
    // skipped, and the empty installment then cannot be read.
    {"rate too small to count", u"10000", u"24", DurationUnit::Months, u"1E-20",
     u"", u"", u"1E-20", u"8,33333333333333E-24", u"", u"", u"", u"", {errorShown}, false},
    // (1 + i)^N overflows: the installment is skipped in the same way.
    {"installments beyond counting", u"10000", u"1E300", DurationUnit::Months, u"6,75",
     u"", u"", u"6,75", u"0,005625", u"", u"", u"", u"", {errorShown}, false},
    // N = years × 12 overflows: the number of installments stays unset.
    {"years beyond counting", u"10000", u"1E308", DurationUnit::Years, u"6,75",
     u"", u"", u"6,75", u"0,005625", u"", u"", u"", u"", {errorShown}, false},
    {"zero rate over years beyond counting", u"10000", u"1E308", DurationUnit::Years, u"0",
     u"", u"", u"0", u"0", u"", u"", u"", u"", {errorShown}, false},
};
// clang-format on

class InstallmentCalculationTest : public testing::TestWithParam<char16_t> {};

TEST_P(InstallmentCalculationTest, calcola_fills_the_results_or_explains_why_not)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestForm window(GetParam());
        window.fill(c.capital, c.duration, c.rate);
        window.events.choose(c.unit);
        ASSERT_TRUE(window.form().isEnabled(Button::Calculate));
        window.events.click(Button::Calculate);

        const std::u16string_view expected[] = {c.text1, c.text2, c.text3, c.text4, c.text5, c.text6, c.text7, c.text8};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(window.text(static_cast<Field>(i)), window.regional(expected[i])) << "Text" << i + 1;
        std::vector<ShownMessage> messages = c.messages;
        EXPECT_EQ(window.messages.shown, messages);
        EXPECT_EQ(window.form().isEnabled(Button::Round), c.roundingEnabled);
    }
}

TEST_P(InstallmentCalculationTest, pressing_calcola_again_gives_the_same_results)
{
    TestForm window(GetParam());
    window.fill(u"10000", u"24", u"6,75");
    window.events.click(Button::Calculate);
    const Text installment = window.text(Field::Installment);
    window.events.click(Button::Calculate);
    EXPECT_EQ(window.text(Field::Installment), installment);
    EXPECT_TRUE(window.messages.shown.empty());
}

struct Loan {
    std::u16string_view capital, months, rate;
};

// The installment must pay the loan off: simulating the balance month by
// month, independently of the annuity formula, ends at zero within a cent.
TEST_P(InstallmentCalculationTest, installment_pays_off_ordinary_loans)
{
    // clang-format off
    const Loan loans[] = {
        {u"10000", u"24", u"6,75"},  {u"150000", u"360", u"3,5"}, {u"500", u"6", u"12"},
        {u"25000", u"60", u"9,9"},   {u"1000", u"1", u"5"},       {u"80000", u"240", u"0,5"},
        {u"3999,99", u"36", u"19,99"}, {u"1000000", u"480", u"2"},
    };
    // clang-format on
    for (const auto& loan : loans) {
        SCOPED_TRACE(std::string(loan.capital.begin(), loan.capital.end()));
        TestForm window(GetParam());
        window.fill(loan.capital, loan.months, loan.rate);
        window.events.click(Button::Calculate);
        const NumberText& numbers = window.form().numbers();
        const double capital = numbers.toNumber(window.regional(loan.capital));
        const double monthlyRate = numbers.toNumber(window.regional(loan.rate)) / 1200;
        const int months = static_cast<int>(numbers.toNumber(loan.months));
        const double installment = numbers.toNumber(window.text(Field::Installment));

        double balance = capital;
        for (int month = 0; month < months; ++month)
            balance = balance * (1 + monthlyRate) - installment;
        EXPECT_NEAR(balance, 0.0, 0.01);
        EXPECT_NEAR(numbers.toNumber(window.text(Field::TotalPaid)), installment * months, 1e-6 * capital);
        EXPECT_NEAR(numbers.toNumber(window.text(Field::TotalInterest)), installment * months - capital,
                    1e-6 * capital);
        EXPECT_EQ(window.text(Field::InstallmentCount), loan.months);
    }
}

// The small-rate installment against C × i ÷ (1 − (1 + i)^−N) worked out to
// 200 digits elsewhere and written here to 36: it must be the nearest double.
TEST(SmallRateInstallmentTest, is_the_nearest_double_to_the_exact_annuity)
{
    struct Row {
        double capital, rate, count;
        const char* exact;
    };
    // clang-format off
    const Row rows[] = {
        {10000.0, 8.33333333333333e-16, 24, "4.16666666666671006944444444456592158e+2"},
        {10000.0, 8.33333333333333e-14, 24, "4.16666666667100694444444582908174613e+2"},
        {10000.0, 8.33333333333333e-09, 24, "4.16666710069445830922045799410363425e+2"},
        {10000.0, 9.99166666666667e-08, 360, "2.77782787518375714168424538397519936e+1"},
        {1000.0, 1.2e-16, 12, "8.33333333333333983333333333333489453e+1"},
        {100000.0, 5e-08, 1000000, "1.02520834964808655355537747207558167e-1"},
        {3.0, 3e-10, 1, "3.00000000089999999999999999401488637e+0"},
        {1e+300, 1e-09, 360, "2.77777827916669681228178400229951582e+297"},
        {0.01, 2.5e-08, 7, "1.42857157142857502973806859742869061e-3"},
        {123456.78, 6.1e-11, 4800000000, "2.96690853387788320067423472000498811e-5"},
    };
    // clang-format on
    for (const Row& row : rows) {
        double nearest = 0;
        std::from_chars(row.exact, row.exact + std::strlen(row.exact), nearest);
        EXPECT_EQ(smallRateInstallment(row.capital, row.rate, row.count), nearest) << row.exact;
    }
    // (1 + i)^N beyond the double range is still the arithmetic error.
    EXPECT_THROW(smallRateInstallment(10000.0, 9e-08, 1e10), ArithmeticFailure);
}

INSTANTIATE_TEST_SUITE_P(Regions, InstallmentCalculationTest, testing::ValuesIn(separators()), separatorName);

} // namespace
} // namespace ratalia::test
