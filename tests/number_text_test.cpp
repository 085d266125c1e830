#include "numbers/failures.h"
#include "numbers/number_text.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace ratalia::test {
namespace {

class NumberTextTest : public testing::TestWithParam<char16_t> {
protected:
    NumberText numbers{GetParam()};
    Text regional(TextView italian) const { return test::regional(italian, GetParam()); }
};

struct Reading {
    std::u16string_view text; // "," stands for the regional separator
    double value;
};

TEST_P(NumberTextTest, reads_plain_decimal_numbers_exactly)
{
    // clang-format off
    const Reading rows[] = {
        {u"10000", 10000},         {u"6,75", 6.75},         {u"-5", -5},          {u"0", 0},
        {u"+3", 3},                {u",5", 0.5},            {u"5,", 5},           {u"0,1", 0.1},
        {u"1,5E3", 1500},          {u"1,5e-3", 0.0015},     {u"1E+2", 100},       {u"0000012", 12},
        {u"  7  ", 7},             {u"-0,0", 0},            {u"1E-400", 0},       {u"-1E-400", 0},
        {u"4,9E-324", 4.9e-324},   {u"1,7976931348623157E308", DBL_MAX},
        {u"1,79769313486231E+308", 1.79769313486231e308},   {u"0,000000000000000000001E+21", 1},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.text.begin(), row.text.end()));
        const auto value = numbers.tryToNumber(regional(row.text));
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, row.value);
    }
}

TEST_P(NumberTextTest, rejects_everything_that_is_not_a_plain_number)
{
    // clang-format off
    const std::u16string_view rows[] = {
        u"",      u" ",        u"abc",    u"1,2,3",   u"1,,5",    u"inf",       u"-inf",      u"nan",
        u"NaN",   u"Infinity", u"0x10",   u"1E400",   u"-1E400",  u"1e",        u"1e+",       u"E5",
        u"+",     u"-",        u",",      u"--5",     u"5-",      u"+-5",       u"1_000",     u"1 000",
        u"12%",   u"\u20AC5",  u"5\u20AC", u"\u0661\u0662", u"\uFF11\uFF12", u"12\u200B", u"\u200F12",
        std::u16string_view(u"1\0002", 3), u"1,5E3,2", u"1E1,5", u"1E+-5",
    };
    // clang-format on
    for (const auto row : rows) {
        SCOPED_TRACE(testing::PrintToString(Text(row)));
        EXPECT_FALSE(numbers.tryToNumber(regional(row)).has_value());
        EXPECT_THROW(numbers.toNumber(regional(row)), ConversionFailure);
    }
}

TEST_P(NumberTextTest, rejects_the_separator_of_another_region)
{
    for (const char16_t other : {u'.', u','}) {
        if (other == GetParam())
            continue;
        EXPECT_FALSE(numbers.tryToNumber(Text(u"1") + other + u"5").has_value());
        EXPECT_FALSE(numbers.tryToNumber(Text(u"1") + other + u"000" + GetParam() + u"5").has_value());
    }
}

TEST_P(NumberTextTest, reads_a_megabyte_of_digits)
{
    Text digits(1 << 20, u'7');
    EXPECT_FALSE(numbers.tryToNumber(digits).has_value()); // far beyond the double range
    digits = u"0" + Text(1, GetParam()) + digits;
    EXPECT_NEAR(numbers.toNumber(digits), 7.0 / 9.0, 1e-15);
}

struct Rendering {
    double value;
    std::u16string_view text;
};

TEST_P(NumberTextTest, writes_locale_text_with_fifteen_significant_digits)
{
    // clang-format off
    const Rendering rows[] = {
        {24, u"24"},
        {0.005625, u"0,005625"},
        {10000.0 * (0.005625 * std::pow(1.005625, 24) / (std::pow(1.005625, 24) - 1)), u"446,593294950465"},
        {-5, u"-5"},
        {0.5, u"0,5"},
        {0, u"0"},
        {-0.0, u"0"},
        {6.75, u"6,75"},
        {1.0 / 3, u"0,333333333333333"},
        {2.0 / 3, u"0,666666666666667"},
        {0.1 + 0.2, u"0,3"},
        {123456789012345, u"123456789012345"},
        {1e15, u"1E+15"},
        {1234567890123456, u"1,23456789012346E+15"},
        {0.0001, u"0,0001"},
        {0.00001, u"1E-05"},
        {-0.000012345, u"-1,2345E-05"},
        {1e100, u"1E+100"},
        {6.75e-20 / 12, u"5,625E-21"},
        {DBL_MAX, u"1,79769313486231E+308"},
        {-DBL_MAX, u"-1,79769313486231E+308"},
        {4.9406564584124654e-324, u"4,94065645841247E-324"},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(numbers.localeText(row.value), regional(row.text));
    }
}

TEST_P(NumberTextTest, reads_back_every_locale_text_as_the_number_it_shows)
{
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-323, 307);
    for (int i = 0; i < 20000; ++i) {
        const double value = (i % 2 ? -1 : 1) * mantissa(random) * std::pow(10.0, exponent(random));
        const Text text = numbers.localeText(value);
        const auto back = numbers.tryToNumber(text);
        ASSERT_TRUE(back.has_value()) << testing::PrintToString(text);
        EXPECT_EQ(numbers.localeText(*back), text);
        if (std::fabs(value) > 1e-300) {
            EXPECT_LE(std::fabs(*back - value), 5e-15 * std::fabs(value)) << testing::PrintToString(text);
        }
        // Display patterns read the same texts.
        const auto rounded = numbers.tryToNumber(numbers.patternText(text, Pattern::TenDecimals));
        ASSERT_TRUE(rounded.has_value()) << testing::PrintToString(text);
        EXPECT_LE(std::fabs(*rounded - *back), 0.5e-10 + 1e-15 * std::fabs(*back));
    }
}

// The rendering takes a fast way through the shortest digits; it must agree
// with the plain fixed-precision rendering on every double, ties included.
Text referenceLocaleText(double value, char16_t separator)
{
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    Text text;
    for (const char* p = buffer; p != end; ++p)
        text += *p == '.' ? separator : *p == 'e' ? u'E' : static_cast<char16_t>(*p);
    return text;
}

TEST_P(NumberTextTest, locale_text_agrees_with_fixed_precision_rendering)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_int_distribution<int> digits(1, 15);
    for (int i = 0; i < 200000; ++i) {
        double value;
        if (i % 2) {
            const std::uint64_t raw = bits(random);
            std::memcpy(&value, &raw, sizeof value);
            if (!std::isfinite(value) || value == 0 || std::fabs(value) >= 1.79769313486231e308)
                continue;
        } else {
            // Short decimals and their halves, where rounding is decided.
            value =
                static_cast<double>(bits(random) % 100000000000000000ULL) * std::pow(10.0, -digits(random)) + 0.5e-15;
        }
        ASSERT_EQ(numbers.localeText(value), referenceLocaleText(value, GetParam())) << value;
    }
}

TEST_P(NumberTextTest, writes_plain_text_with_a_point_and_a_leading_space)
{
    const std::u16string_view rows[][2] = {
        {u"2,5", u" 2.5"}, {u"3", u" 3"}, {u"-1,5", u"-1.5"}, {u"0", u" 0"}, {u"1,5E20", u" 1.5E+20"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(numbers.plainText(regional(row[0])), row[1]);
    EXPECT_THROW(numbers.plainText(u""), ConversionFailure);
    EXPECT_THROW(numbers.plainText(u"abc"), ConversionFailure);
}

struct Rounding {
    std::u16string_view text;
    Pattern pattern;
    std::u16string_view expected;
};

TEST_P(NumberTextTest, rounds_by_pattern_half_away_from_zero_on_the_digits)
{
    // clang-format off
    const Rounding rows[] = {
        {u"0,005625", Pattern::TenDecimals, u"0,0056250000"},
        {u"0", Pattern::TenDecimals, u"0,0000000000"},
        {u"2,5", Pattern::Whole, u"3"},
        {u"-2,5", Pattern::Whole, u"-3"},
        {u"446,5932949505", Pattern::TwoDecimals, u"446,59"},
        {u"446,593294950465", Pattern::TenDecimals, u"446,5932949505"},
        {u"416,666666666667", Pattern::TenDecimals, u"416,6666666667"},
        {u"10000", Pattern::TenDecimals, u"10000,0000000000"},
        {u"1,005", Pattern::TwoDecimals, u"1,01"},
        {u"0,125", Pattern::TwoDecimals, u"0,13"},
        {u"-0,125", Pattern::TwoDecimals, u"-0,13"},
        {u"0,1249999", Pattern::TwoDecimals, u"0,12"},
        {u"9,999", Pattern::TwoDecimals, u"10,00"},
        {u"99,5", Pattern::Whole, u"100"},
        {u"0,5", Pattern::Whole, u"1"},
        {u"0,4", Pattern::Whole, u"0"},
        {u"0,0096", Pattern::TwoDecimals, u"0,01"},
        {u"0,005", Pattern::TwoDecimals, u"0,01"},
        {u"0,0049", Pattern::TwoDecimals, u"0,00"},
        {u"-0,004", Pattern::TwoDecimals, u"0,00"},
        {u"-0,4", Pattern::Whole, u"0"},
        {u"-1,00000000000001E-14", Pattern::TenDecimals, u"0,0000000000"},
        {u"8,33333333333333E-05", Pattern::TenDecimals, u"0,0000833333"},
        {u"5E-11", Pattern::TenDecimals, u"0,0000000001"},
        {u"4,9E-11", Pattern::TenDecimals, u"0,0000000000"},
        {u"1,5E+20", Pattern::Whole, u"150000000000000000000"},
        {u"1,23456789012346E+15", Pattern::TwoDecimals, u"1234567890123460,00"},
        {u"1E-400", Pattern::TwoDecimals, u"0,00"},
        {u"007,50", Pattern::TwoDecimals, u"7,50"},
        {u" 7 ", Pattern::TwoDecimals, u"7,00"},
        {u"", Pattern::TwoDecimals, u""},
        {u"abc", Pattern::TwoDecimals, u"abc"},
        {u"1E400", Pattern::TwoDecimals, u"1E400"},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(Text(row.text)));
        EXPECT_EQ(numbers.patternText(regional(row.text), row.pattern), regional(row.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Regions, NumberTextTest, testing::ValuesIn(separators()), separatorName);

} // namespace
} // namespace ratalia::test
