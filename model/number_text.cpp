#include "model/number_text.h"

#include "model/decimal_text.h"
#include "model/run_time_error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace ratalia {
namespace {

constexpr int significantDigits = 15;

std::optional<double> toDouble(const DecimalText& decimal)
{
    double value = 0;
    const char* first = decimal.plain.data();
    const char* last = first + decimal.plain.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (end != last)
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // from_chars reports both ends of the range; a number too small to
        // represent is zero, one too large is not a number we can hold.
        if (decimal.point <= 0)
            return 0.0;
        return std::nullopt;
    }
    if (error != std::errc{} || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void appendAscii(Text& out, std::string_view ascii)
{
    for (const char c : ascii)
        out += static_cast<char16_t>(c);
}

// The general rendering shared by the regional and the plain forms.
Text general(double value, char16_t separator, bool spaceBeforePositive)
{
    Text out;
    if (std::signbit(value) && value != 0)
        out += u'-';
    else if (spaceBeforePositive)
        out += u' ';
    if (value == 0) {
        out += u'0';
        return out;
    }

    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto e = scientific.find('e');
    std::string digits;
    digits += scientific[0];
    digits += scientific.substr(2, e - 2);
    int exponent = 0;
    std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1), scientific.data() + scientific.size(),
                    exponent);
    // Rounding to 15 digits would carry the largest doubles past the range,
    // and the text could no longer be read back: keep them just inside it.
    if (exponent == 308 && digits == "179769313486232")
        digits = "179769313486231";
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    if (exponent >= significantDigits || exponent < -4) {
        out += static_cast<char16_t>(digits[0]);
        if (digits.size() > 1) {
            out += separator;
            appendAscii(out, std::string_view(digits).substr(1));
        }
        out += exponent < 0 ? u"E-" : u"E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            out += u'0';
        appendAscii(out, std::to_string(magnitude));
    } else if (exponent < 0) {
        out += u'0';
        out += separator;
        out.append(static_cast<std::size_t>(-exponent - 1), u'0');
        appendAscii(out, digits);
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            appendAscii(out, digits);
            out.append(whole - digits.size(), u'0');
        } else {
            appendAscii(out, std::string_view(digits).substr(0, whole));
            out += separator;
            appendAscii(out, std::string_view(digits).substr(whole));
        }
    }
    return out;
}

} // namespace

std::optional<double> NumberText::tryToNumber(TextView text) const
{
    const auto decimal = DecimalText::scan(text, separator_);
    if (!decimal)
        return std::nullopt;
    return toDouble(*decimal);
}

double NumberText::toNumber(TextView text) const
{
    const auto value = tryToNumber(text);
    if (!value)
        throw ConversionFailure();
    return *value;
}

Text NumberText::localeText(double value) const
{
    return general(value, separator_, false);
}

Text NumberText::plainText(TextView text) const
{
    return general(toNumber(text), u'.', true);
}

Text NumberText::patternText(TextView text, Pattern pattern) const
{
    if (text.empty())
        return {};
    const auto decimal = DecimalText::scan(text, separator_);
    if (!decimal || !toDouble(*decimal))
        return Text(text);

    const auto decimals = static_cast<std::int64_t>(pattern);
    std::int64_t point = decimal->point;
    // The digits kept: all up to the pattern's last decimal. A finite number
    // has at most 309 whole digits, so this stays small.
    const std::int64_t keep = point + decimals;
    std::string kept;
    if (keep > 0 && !decimal->digits.empty()) {
        kept = decimal->digits.substr(0, static_cast<std::size_t>(keep));
        kept.resize(static_cast<std::size_t>(keep), '0');
        const auto next = static_cast<std::size_t>(keep);
        if (next < decimal->digits.size() && decimal->digits[next] >= '5') {
            auto i = kept.size();
            while (i > 0 && kept[i - 1] == '9')
                kept[--i] = '0';
            if (i > 0) {
                ++kept[i - 1];
            } else {
                kept.insert(kept.begin(), '1');
                ++point;
            }
        }
    } else if (keep == 0 && !decimal->digits.empty() && decimal->digits[0] >= '5') {
        kept = "1";
        ++point;
    } else {
        kept.assign(static_cast<std::size_t>(decimals), '0');
        point = 0;
    }

    const bool isZero = kept.find_first_not_of('0') == std::string::npos;
    Text out;
    if (decimal->negative && !isZero)
        out += u'-';
    if (point > 0) {
        const auto wholeText = std::string_view(kept).substr(0, static_cast<std::size_t>(point));
        const auto firstNonZero = wholeText.find_first_not_of('0');
        appendAscii(out, firstNonZero == std::string_view::npos ? "0" : wholeText.substr(firstNonZero));
    } else {
        out += u'0';
    }
    if (decimals > 0) {
        out += separator_;
        if (point < 0) {
            const auto zeros = std::min(-point, decimals);
            out.append(static_cast<std::size_t>(zeros), u'0');
            appendAscii(out, std::string_view(kept).substr(0, static_cast<std::size_t>(decimals - zeros)));
        } else {
            appendAscii(out, std::string_view(kept).substr(static_cast<std::size_t>(point)));
        }
    }
    return out;
}

} // namespace ratalia
