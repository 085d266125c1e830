#include "support/session.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

namespace ratalia::test {
namespace {

enum class Outcome { Results, Error };

struct Hostile {
    const char* name;
    Field field;
    Text text;
    Outcome outcome;
    DurationUnit unit = DurationUnit::Months;
};

std::vector<Hostile> rows()
{
    const Field C = Field::Capital, D = Field::Duration, R = Field::AnnualRate;
    Text manyDots;
    for (int i = 0; i < (1 << 19); ++i)
        manyDots += u".,";
    return {
        {"capital beyond range", C, u"1E400", Outcome::Error},
        {"negative capital beyond range", C, u"-1E400", Outcome::Error},
        {"capital too small is zero", C, u"1E-400", Outcome::Error},
        {"smallest capital", C, u"4.9E-324", Outcome::Results},
        // The total paid overflows, is skipped, and the empty total cannot be read.
        {"largest capital", C, u"1.7976931348623157E308", Outcome::Error},
        {"large capital", C, u"1E300", Outcome::Results},
        {"NaN", C, u"NaN", Outcome::Error},
        {"Inf", C, u"Inf", Outcome::Error},
        {"Infinity", R, u"Infinity", Outcome::Error},
        {"double minus", C, u"--5", Outcome::Error},
        {"trailing minus", C, u"5-", Outcome::Error},
        {"lone plus", C, u"+", Outcome::Error},
        {"exponent without digits", C, u"1e", Outcome::Error},
        {"exponent sign without digits", C, u"1e+", Outcome::Error},
        {"lone point", C, u".", Outcome::Error},
        {"lone comma", D, u",", Outcome::Error},
        {"two commas", C, u"1,,5", Outcome::Error},
        {"hexadecimal", C, u"0x10", Outcome::Error},
        {"digit group underscore", C, u"1_000", Outcome::Error},
        {"arabic-indic digits", C, u"\u0661\u0662", Outcome::Error},
        {"full-width digits", D, u"\uFF11\uFF12", Outcome::Error},
        {"arabic decimal separator", C, u"1\u066B5", Outcome::Error},
        {"right-to-left marks", C, u"\u200F12\u200E", Outcome::Error},
        {"zero-width space", R, u"6\u200B", Outcome::Error},
        {"NUL character", C,
         Text(u"1\0"
              u"2",
              3),
         Outcome::Error},
        {"emoji", C, u"\xD83D\xDCB0", Outcome::Error},
        {"lone surrogate", C,
         u"\xD800"
         u"5",
         Outcome::Error},
        {"replacement character from bad UTF-8", C, u"5\uFFFD", Outcome::Error},
        {"a megabyte of digits", C, Text(1 << 20, u'9'), Outcome::Error},
        {"a megabyte of points and commas", C, manyDots, Outcome::Error},
        {"a megabyte of leading zeros", C, Text(1 << 20, u'0') + u"10000", Outcome::Results},
        {"duration beyond range", D, u"1E400", Outcome::Error},
        {"installments beyond counting", D, u"1.7976931348623157E308", Outcome::Error},
        {"years beyond counting", D, u"1E308", Outcome::Error, DurationUnit::Years},
        {"rate beyond range", R, u"1E400", Outcome::Error},
        {"rate too small is zero", R, u"1E-400", Outcome::Results},
        {"huge rate", R, u"1E300", Outcome::Error},
        {"large rate", R, u"1E15", Outcome::Results},
    };
}

class HostileInputTest : public testing::TestWithParam<char16_t> {};

TEST_P(HostileInputTest, every_hostile_text_ends_in_results_or_the_message)
{
    for (const Hostile& row : rows()) {
        SCOPED_TRACE(row.name);
        Session session(GetParam());
        std::vector<Action> actions;
        const Text defaults[] = {u"10000", u"24", u"6.75"};
        for (int i = 0; i < 3; ++i) {
            Action type;
            type.field = static_cast<Field>(i);
            type.text = type.field == row.field ? row.text : defaults[i];
            actions.push_back(type);
        }
        Action unit;
        unit.kind = Action::Kind::Choose;
        unit.unit = row.unit;
        actions.push_back(unit);
        Action calcola;
        calcola.kind = Action::Kind::Click;
        actions.push_back(calcola);
        for (const Action& action : actions) {
            const auto broken = session.play(action);
            ASSERT_FALSE(broken.has_value()) << *broken;
        }
        const bool hasResults = !session.form().text(Field::InstallmentCount).empty();
        EXPECT_EQ(hasResults, row.outcome == Outcome::Results);
        EXPECT_EQ(session.form().text(Field::Capital).empty(), row.outcome == Outcome::Error);
    }
}

INSTANTIATE_TEST_SUITE_P(Regions, HostileInputTest, testing::Values(u',', u'.'), separatorName);

} // namespace
} // namespace ratalia::test
