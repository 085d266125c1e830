#include "support/test_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ratalia::test {
namespace {

// Records what a view would be told, in order.
class EventLog : public FormObserver {
public:
    void textChanged(Field field, const Text& text) override
    {
        log.push_back("T" + std::to_string(static_cast<int>(field) + 1) + (text.empty() ? "=''" : "=x"));
    }
    void unitChanged(DurationUnit unit) override { log.push_back(unit == DurationUnit::Months ? "mesi" : "anni"); }
    void enabledChanged(Button button, bool enabled) override
    {
        log.push_back("C" + std::to_string(static_cast<int>(button) + 1) + (enabled ? "+" : "-"));
    }
    std::vector<std::string> log;
};

class FieldRulesTest : public testing::TestWithParam<char16_t> {
protected:
    // Puts stale-looking results into every result field, bypassing the rules.
    void fillResults()
    {
        for (const Field field :
             {Field::MonthlyRate, Field::Installment, Field::TotalPaid, Field::TotalInterest, Field::InstallmentCount})
            window.form().setText(field, u"1");
        window.form().setEnabled(Button::Round, true);
    }
    bool resultsEmpty()
    {
        for (const Field field : resultsClearedByAnyChange)
            if (!window.text(field).empty())
                return false;
        return true;
    }

    TestForm window{GetParam()};
};

TEST_P(FieldRulesTest, starts_with_all_fields_empty_and_mesi_selected)
{
    TestForm fresh(GetParam(), false);
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(fresh.text(static_cast<Field>(i)).empty());
    EXPECT_TRUE(fresh.form().inMonths());
    EXPECT_FALSE(fresh.form().isEnabled(Button::Calculate));
    EXPECT_FALSE(fresh.form().isEnabled(Button::Round));
    EXPECT_TRUE(fresh.form().isEnabled(Button::ResetRate));
}

TEST_P(FieldRulesTest, start_up_writes_the_standard_rate_and_keeps_calcola_disabled)
{
    EXPECT_EQ(window.text(Field::AnnualRate), window.regional(u"6,75"));
    EXPECT_FALSE(window.form().isEnabled(Button::Calculate));
    EXPECT_FALSE(window.form().isEnabled(Button::Round));
    EXPECT_TRUE(window.messages.shown.empty());
}

TEST_P(FieldRulesTest, change_handler_runs_inside_the_write_of_a_different_text)
{
    fillResults();
    EventLog events;
    window.form().addObserver(events);
    window.form().setText(Field::Capital, u"5");
    window.form().removeObserver(events);
    // The field's own change first, then everything its handler did, before setText returned.
    const std::vector<std::string> expected{"T1=x", "T5=''", "T6=''", "T7=''", "T8=''", "C2-"};
    EXPECT_EQ(events.log, expected);
}

TEST_P(FieldRulesTest, writing_the_same_text_or_a_result_field_runs_nothing)
{
    window.type(Field::Capital, u"5");
    fillResults();
    window.form().setText(Field::Capital, u"5");
    window.form().setText(Field::AnnualRate, window.regional(u"6,75"));
    window.form().setText(Field::MonthlyRate, u"2");
    EXPECT_EQ(window.text(Field::Installment), u"1");
    EXPECT_TRUE(window.form().isEnabled(Button::Round));
}

struct Edit {
    const char* name;
    Field field;
    std::u16string_view text;
    bool clearsMonthlyRate;
};

TEST_P(FieldRulesTest, every_input_change_throws_away_the_results)
{
    const Edit rows[] = {
        {"capital digit", Field::Capital, u"10001", false},
        {"duration digit", Field::Duration, u"25", false},
        {"rate", Field::AnnualRate, u"7", true},
        {"capital deleted", Field::Capital, u"", false},
        {"duration deleted", Field::Duration, u"", false},
        {"rate deleted", Field::AnnualRate, u"", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        window.fill(u"10000", u"24", u"6,75");
        fillResults();
        window.type(row.field, row.text);
        EXPECT_TRUE(resultsEmpty());
        EXPECT_EQ(window.text(Field::MonthlyRate).empty(), row.clearsMonthlyRate);
        EXPECT_FALSE(window.form().isEnabled(Button::Round));
        EXPECT_EQ(window.form().isEnabled(Button::Calculate), !row.text.empty());
    }
}

TEST_P(FieldRulesTest, calcola_is_enabled_exactly_while_all_inputs_hold_text)
{
    window.type(Field::Capital, u"10000");
    window.type(Field::Duration, u"24");
    window.type(Field::AnnualRate, u"");
    EXPECT_FALSE(window.form().isEnabled(Button::Calculate));
    window.type(Field::AnnualRate, u"7");
    EXPECT_TRUE(window.form().isEnabled(Button::Calculate));
    window.type(Field::Duration, u"");
    EXPECT_FALSE(window.form().isEnabled(Button::Calculate));
    window.type(Field::Duration, u" "); // spaces are text too
    EXPECT_TRUE(window.form().isEnabled(Button::Calculate));
}

TEST_P(FieldRulesTest, choosing_the_other_unit_throws_away_results_but_not_the_monthly_rate)
{
    window.fill(u"10000", u"24", u"6,75");
    fillResults();
    window.events.choose(DurationUnit::Years);
    EXPECT_FALSE(window.form().inMonths());
    EXPECT_TRUE(resultsEmpty());
    EXPECT_EQ(window.text(Field::MonthlyRate), u"1");
    EXPECT_FALSE(window.form().isEnabled(Button::Round));
    EXPECT_TRUE(window.form().isEnabled(Button::Calculate));

    fillResults();
    window.events.choose(DurationUnit::Months);
    EXPECT_TRUE(window.form().inMonths());
    EXPECT_TRUE(resultsEmpty());
}

TEST_P(FieldRulesTest, choosing_the_unit_already_chosen_keeps_the_results)
{
    fillResults();
    window.events.choose(DurationUnit::Months);
    EXPECT_EQ(window.text(Field::Installment), u"1");
    EXPECT_TRUE(window.form().isEnabled(Button::Round));
}

TEST_P(FieldRulesTest, disabled_buttons_and_read_only_fields_ignore_the_user)
{
    window.events.click(Button::Calculate);
    window.events.click(Button::Round);
    EXPECT_TRUE(window.messages.shown.empty());
    window.events.edit(Field::Installment, u"99");
    EXPECT_TRUE(window.text(Field::Installment).empty());
}

INSTANTIATE_TEST_SUITE_P(Regions, FieldRulesTest, testing::ValuesIn(separators()), separatorName);

} // namespace
} // namespace ratalia::test
