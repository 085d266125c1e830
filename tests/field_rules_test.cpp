#include "support/test_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ratalia::test {
namespace {

const Field resultFields[] = {Field::Text5, Field::Text6, Field::Text7, Field::Text8};

// Records what a view would be told, in order.
class EventLog : public FormObserver {
public:
    void textChanged(Field field, const Text& text) override
    {
        log.push_back("T" + std::to_string(static_cast<int>(field) + 1) + (text.empty() ? "=''" : "=x"));
    }
    void optionChanged(Option selected) override
    {
        log.push_back(selected == Option::Option1 ? "mesi" : "anni");
    }
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
        for (const Field field : {Field::Text4, Field::Text5, Field::Text6, Field::Text7, Field::Text8})
            window.form().setText(field, u"1");
        window.form().setEnabled(Button::Command2, true);
    }
    bool resultsEmpty()
    {
        for (const Field field : resultFields)
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
    EXPECT_TRUE(fresh.form().option1Selected());
    EXPECT_FALSE(fresh.form().isEnabled(Button::Command1));
    EXPECT_FALSE(fresh.form().isEnabled(Button::Command2));
    EXPECT_TRUE(fresh.form().isEnabled(Button::Command3));
}

TEST_P(FieldRulesTest, start_up_writes_the_standard_rate_and_keeps_calcola_disabled)
{
    EXPECT_EQ(window.text(Field::Text3), window.regional(u"6,75"));
    EXPECT_FALSE(window.form().isEnabled(Button::Command1));
    EXPECT_FALSE(window.form().isEnabled(Button::Command2));
    EXPECT_TRUE(window.messages.shown.empty());
}

TEST_P(FieldRulesTest, change_handler_runs_inside_the_write_of_a_different_text)
{
    fillResults();
    EventLog events;
    window.form().addObserver(events);
    window.form().setText(Field::Text1, u"5");
    window.form().removeObserver(events);
    // The field's own change first, then everything its handler did, before setText returned.
    const std::vector<std::string> expected{"T1=x", "T5=''", "T6=''", "T7=''", "T8=''", "C2-"};
    EXPECT_EQ(events.log, expected);
}

TEST_P(FieldRulesTest, writing_the_same_text_or_a_result_field_runs_nothing)
{
    window.type(Field::Text1, u"5");
    fillResults();
    window.form().setText(Field::Text1, u"5");
    window.form().setText(Field::Text3, window.regional(u"6,75"));
    window.form().setText(Field::Text4, u"2");
    EXPECT_EQ(window.text(Field::Text5), u"1");
    EXPECT_TRUE(window.form().isEnabled(Button::Command2));
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
        {"capital digit", Field::Text1, u"10001", false},
        {"duration digit", Field::Text2, u"25", false},
        {"rate", Field::Text3, u"7", true},
        {"capital deleted", Field::Text1, u"", false},
        {"duration deleted", Field::Text2, u"", false},
        {"rate deleted", Field::Text3, u"", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        window.fill(u"10000", u"24", u"6,75");
        fillResults();
        window.type(row.field, row.text);
        EXPECT_TRUE(resultsEmpty());
        EXPECT_EQ(window.text(Field::Text4).empty(), row.clearsMonthlyRate);
        EXPECT_FALSE(window.form().isEnabled(Button::Command2));
        EXPECT_EQ(window.form().isEnabled(Button::Command1), !row.text.empty());
    }
}

TEST_P(FieldRulesTest, calcola_is_enabled_exactly_while_all_inputs_hold_text)
{
    window.type(Field::Text1, u"10000");
    window.type(Field::Text2, u"24");
    window.type(Field::Text3, u"");
    EXPECT_FALSE(window.form().isEnabled(Button::Command1));
    window.type(Field::Text3, u"7");
    EXPECT_TRUE(window.form().isEnabled(Button::Command1));
    window.type(Field::Text2, u"");
    EXPECT_FALSE(window.form().isEnabled(Button::Command1));
    window.type(Field::Text2, u" "); // spaces are text too
    EXPECT_TRUE(window.form().isEnabled(Button::Command1));
}

TEST_P(FieldRulesTest, choosing_the_other_unit_throws_away_results_but_not_the_monthly_rate)
{
    window.fill(u"10000", u"24", u"6,75");
    fillResults();
    window.events.select(Option::Option2);
    EXPECT_FALSE(window.form().option1Selected());
    EXPECT_TRUE(resultsEmpty());
    EXPECT_EQ(window.text(Field::Text4), u"1");
    EXPECT_FALSE(window.form().isEnabled(Button::Command2));
    EXPECT_TRUE(window.form().isEnabled(Button::Command1));

    fillResults();
    window.events.select(Option::Option1);
    EXPECT_TRUE(window.form().option1Selected());
    EXPECT_TRUE(resultsEmpty());
}

TEST_P(FieldRulesTest, choosing_the_unit_already_chosen_keeps_the_results)
{
    fillResults();
    window.events.select(Option::Option1);
    EXPECT_EQ(window.text(Field::Text5), u"1");
    EXPECT_TRUE(window.form().isEnabled(Button::Command2));
}

TEST_P(FieldRulesTest, disabled_buttons_and_read_only_fields_ignore_the_user)
{
    window.events.click(Button::Command1);
    window.events.click(Button::Command2);
    EXPECT_TRUE(window.messages.shown.empty());
    window.events.edit(Field::Text5, u"99");
    EXPECT_TRUE(window.text(Field::Text5).empty());
}

INSTANTIATE_TEST_SUITE_P(Regions, FieldRulesTest, testing::ValuesIn(separators()), separatorName);

} // namespace
} // namespace ratalia::test
