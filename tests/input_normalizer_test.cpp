#include "numbers/input_normalizer.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

namespace ratalia::test {
namespace {

class InputNormalizerTest : public testing::TestWithParam<char16_t> {
protected:
    TestForm window{GetParam(), false};

    Text normalize(TextView text) { return normalizedInput(text, window.form().numbers()); }
};

TEST_P(InputNormalizerTest, turns_points_and_commas_into_the_regional_separator)
{
    const std::u16string_view rows[][2] = {
        // input as typed, expected with "," for the regional separator
        {u"6.75", u"6,75"},         {u"6,75", u"6,75"},
        {u"10000", u"10000"},       {u"1.000", u"1,000"},
        {u"1.234,56", u"1,234,56"}, {u"", u""},
        {u"  5 ", u"  5 "},         {u".", u","},
        {u"a.b,c", u"a,b,c"},       {u"\u20AC 5", u"\u20AC 5"},
        {u"\u066B", u"\u066B"},     {u"..,,", u",,,,"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(Text(row[0])));
        EXPECT_EQ(normalize(row[0]), window.regional(row[1]));
    }
}

TEST_P(InputNormalizerTest, keeps_the_length_and_every_other_unit)
{
    const Text input = u"12.5\xD83D\xDE00,";
    const Text output = normalize(input);
    ASSERT_EQ(output.size(), input.size());
    EXPECT_EQ(output, u"12" + Text(1, GetParam()) + u"5\xD83D\xDE00" + Text(1, GetParam()));
    EXPECT_EQ(normalize(u""), u"");
}

TEST_P(InputNormalizerTest, handles_a_pasted_megabyte)
{
    Text input;
    for (int i = 0; i < (1 << 19); ++i)
        input += u".,";
    const Text output = normalize(input);
    EXPECT_EQ(output, Text(input.size(), GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Regions, InputNormalizerTest, testing::ValuesIn(separators()), separatorName);

} // namespace
} // namespace ratalia::test
