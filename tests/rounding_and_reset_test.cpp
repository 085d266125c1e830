#include "support/test_form.h"

#include <gtest/gtest.h>

namespace ratalia::test {
namespace {

class RoundingAndResetTest : public testing::TestWithParam<char16_t> {
protected:
    RoundingAndResetTest()
    {
        window.fill(u"10000", u"24", u"6,75");
        window.events.click(Button::Calculate);
    }
    TestForm window{GetParam()};
};

TEST_P(RoundingAndResetTest, arrotonda_rounds_the_money_to_cents_and_nothing_else)
{
    window.events.click(Button::Round);
    EXPECT_EQ(window.text(Field::MonthlyRate), window.regional(u"0,0056250000"));
    EXPECT_EQ(window.text(Field::Installment), window.regional(u"446,59"));
    EXPECT_EQ(window.text(Field::TotalPaid), window.regional(u"10718,24"));
    EXPECT_EQ(window.text(Field::TotalInterest), window.regional(u"718,24"));
    EXPECT_EQ(window.text(Field::InstallmentCount), u"24");
    EXPECT_TRUE(window.form().isEnabled(Button::Round));

    window.events.click(Button::Round);
    EXPECT_EQ(window.text(Field::Installment), window.regional(u"446,59"));
}

TEST_P(RoundingAndResetTest, arrotonda_rounds_half_cents_away_from_zero)
{
    window.form().setText(Field::Installment, window.regional(u"0,125"));
    window.form().setText(Field::TotalInterest, window.regional(u"-0,125"));
    window.events.click(Button::Round);
    EXPECT_EQ(window.text(Field::Installment), window.regional(u"0,13"));
    EXPECT_EQ(window.text(Field::TotalInterest), window.regional(u"-0,13"));
}

TEST_P(RoundingAndResetTest, reset_with_the_standard_rate_shown_empties_only_the_results)
{
    window.events.click(Button::ResetRate);
    EXPECT_EQ(window.text(Field::AnnualRate), window.regional(u"6,75"));
    EXPECT_EQ(window.text(Field::MonthlyRate), window.regional(u"0,0056250000"));
    for (const Field field : resultsClearedByAnyChange)
        EXPECT_TRUE(window.text(field).empty());
    // No rate change, so nothing disabled rounding: it rounds empty fields to empty.
    ASSERT_TRUE(window.form().isEnabled(Button::Round));
    window.events.click(Button::Round);
    EXPECT_TRUE(window.text(Field::Installment).empty());
    EXPECT_TRUE(window.text(Field::TotalInterest).empty());
}

TEST_P(RoundingAndResetTest, reset_after_another_rate_puts_the_standard_rate_back)
{
    window.type(Field::AnnualRate, u"4");
    window.events.click(Button::Calculate);
    window.events.click(Button::ResetRate);
    EXPECT_EQ(window.text(Field::AnnualRate), window.regional(u"6,75"));
    for (const Field field :
         {Field::MonthlyRate, Field::Installment, Field::TotalPaid, Field::TotalInterest, Field::InstallmentCount})
        EXPECT_TRUE(window.text(field).empty());
    EXPECT_FALSE(window.form().isEnabled(Button::Round));
    EXPECT_TRUE(window.form().isEnabled(Button::Calculate));
}

INSTANTIATE_TEST_SUITE_P(Regions, RoundingAndResetTest, testing::ValuesIn(separators()), separatorName);

} // namespace
} // namespace ratalia::test
