#include "numbers/number_text.h"

#include "numbers/failures.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace ratalia {
namespace {

// The shape of a number text: sign, significant digits and where the decimal
// point falls among them, exponent already applied. Display patterns round on
// these digits, and reading a text tells a number too small to hold from one
// too large by them.
struct DecimalText {
    bool negative = false;
    // Decimal digits without leading zeros; empty when the number is zero.
    std::string digits;
    // How many of `digits` stand before the decimal point; may be negative or
    // exceed the digit count (value = 0.digits × 10^point).
    std::int64_t point = 0;

    // Accepts an optional sign, digits with at most one `separator`, at least
    // one digit, an optional exponent (E or e, optional sign, digits) and
    // spaces around the whole. Anything else is not a number.
    static std::optional<DecimalText> scan(TextView text, char16_t separator);
};

constexpr std::int64_t exponentLimit = 1'000'000'000'000'000; // far beyond any double

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

TextView withoutSurroundingSpaces(TextView text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.substr(first, last - first);
}

std::optional<DecimalText> DecimalText::scan(TextView text, char16_t separator)
{
    text = withoutSurroundingSpaces(text);
    std::size_t i = 0;
    const auto n = text.size();

    DecimalText result;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        result.negative = text[i] == u'-';
        ++i;
    }

    std::size_t mantissaDigits = 0;
    bool inFraction = false;
    for (; i < n; ++i) {
        const char16_t c = text[i];
        if (isDigit(c)) {
            const char digit = static_cast<char>(c);
            ++mantissaDigits;
            const bool significant = digit != '0' || !result.digits.empty();
            if (significant)
                result.digits += digit;
            if (!inFraction && significant)
                ++result.point;
            else if (inFraction && !significant)
                --result.point; // a zero between the point and the first significant digit
        } else if (c == separator && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;

    std::int64_t exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        const std::size_t firstExponentDigit = i;
        for (; i < n && isDigit(text[i]); ++i) {
            if (exponent < exponentLimit)
                exponent = exponent * 10 + (text[i] - u'0');
        }
        if (i == firstExponentDigit)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;

    while (!result.digits.empty() && result.digits.back() == '0')
        result.digits.pop_back();
    result.point = result.digits.empty() ? 0 : result.point + exponent;
    return result;
}

constexpr int significantDigits = 15;

// Reads a number text with from_chars, whose grammar is exactly ours once
// only digits, signs, "e" and the separator are let through (as ASCII, the
// separator as ".") and a leading "+" is dropped. Short texts, every text the
// program writes among them, are read without allocating.
std::optional<double> readNumber(TextView text, char16_t separator)
{
    text = withoutSurroundingSpaces(text);
    if (text.empty())
        return std::nullopt;

    constexpr std::size_t shortText = 64;
    std::array<char, shortText> shortBuffer{};
    std::string longBuffer;
    char* buffer = shortBuffer.data();
    if (text.size() > shortText) {
        longBuffer.resize(text.size());
        buffer = longBuffer.data();
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'+')
            buffer[i] = static_cast<char>(c);
        else if (c == separator)
            buffer[i] = '.';
        else if (c == u'e' || c == u'E')
            buffer[i] = 'e';
        else
            return std::nullopt;
    }
    const char* begin = buffer;
    const char* end = buffer + text.size();
    if (*begin == '+') {
        ++begin;
        if (begin == end || *begin == '-' || *begin == '+')
            return std::nullopt;
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (stop != end)
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // from_chars reports both ends of the range; a number too small to
        // represent is zero, one too large is not a number we can hold.
        const auto decimal = DecimalText::scan(text, separator);
        if (decimal && decimal->point <= 0)
            return 0.0;
        return std::nullopt;
    }
    if (error != std::errc{} || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A magnitude rounded to 15 significant digits: the digits without trailing
// zeros, and the decimal exponent of the first.
struct Rounded {
    std::array<char, 24> digits{};
    std::size_t count = 0;
    int exponent = 0;

    std::string_view view() const { return {digits.data(), count}; }
};

// Reads to_chars' scientific form, "d.ddde+XX" or "de+XX".
Rounded parseScientific(const char* first, const char* last)
{
    Rounded r;
    const auto e = static_cast<std::size_t>(std::find(first, last, 'e') - first);
    r.digits[0] = first[0];
    r.count = 1;
    if (e > 2) {
        std::copy(first + 2, first + e, r.digits.begin() + 1);
        r.count = e - 1;
    }
    std::from_chars(first + e + (first[e + 1] == '+' ? 2 : 1), last, r.exponent);
    return r;
}

Rounded roundToFifteenDigits(double magnitude)
{
    std::array<char, 40> buffer;
    // The shortest digits that read back as the number: when there are at
    // most 15 they are the rounding, and otherwise they round to it on their
    // own digits, unless they lie so near a half that only the exact binary
    // value can tell, which the slower fixed-precision form then does. Below
    // the normal range doubles carry fewer digits than their shortest form
    // suggests, so there too only the exact value rounds right.
    const char* end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific).ptr;
    Rounded r = parseScientific(buffer.data(), end);
    if (r.count > significantDigits || magnitude < std::numeric_limits<double>::min()) {
        const int tail =
            r.count > significantDigits ? (r.digits[15] - '0') * 10 + (r.count > 16 ? r.digits[16] - '0' : 0) : 50;
        if (tail >= 40 && tail <= 60) {
            end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific,
                                significantDigits - 1)
                      .ptr;
            r = parseScientific(buffer.data(), end);
        } else {
            r.count = significantDigits;
            if (tail > 60) {
                std::size_t i = r.count;
                while (i > 0 && r.digits[i - 1] == '9')
                    r.digits[--i] = '0';
                if (i > 0) {
                    ++r.digits[i - 1];
                } else {
                    r.digits[0] = '1';
                    ++r.exponent;
                }
            }
        }
    }
    // Rounding to 15 digits would carry the largest doubles past the range,
    // and the text could no longer be read back: keep them just inside it.
    if (r.exponent == 308 && r.view().substr(0, 15) == "179769313486232")
        r.digits[14] = '1';
    while (r.count > 1 && r.digits[r.count - 1] == '0')
        --r.count;
    return r;
}

// A short text written in place and handed over in one allocation.
class TextWriter {
public:
    void put(char16_t c) { buffer_[size_++] = c; }
    void put(std::string_view ascii)
    {
        for (const char c : ascii)
            buffer_[size_++] = static_cast<char16_t>(c);
    }
    void repeat(char16_t c, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            buffer_[size_++] = c;
    }
    Text text() const { return Text(buffer_.data(), size_); }

private:
    std::array<char16_t, 48> buffer_;
    std::size_t size_ = 0;
};

// The general rendering shared by the regional and the plain forms: 15
// significant digits, exponent form below 1E-4 and from 1E15 on.
Text general(double value, char16_t separator, bool spaceBeforePositive)
{
    TextWriter out;
    if (std::signbit(value) && value != 0)
        out.put(u'-');
    else if (spaceBeforePositive)
        out.put(u' ');
    if (value == 0) {
        out.put(u'0');
        return out.text();
    }

    const Rounded r = roundToFifteenDigits(std::fabs(value));
    const std::string_view digits = r.view();
    const int exponent = r.exponent;
    if (exponent >= significantDigits || exponent < -4) {
        out.put(static_cast<char16_t>(digits[0]));
        if (digits.size() > 1) {
            out.put(separator);
            out.put(digits.substr(1));
        }
        out.put(u'E');
        out.put(exponent < 0 ? u'-' : u'+');
        const int magnitude = exponent < 0 ? -exponent : exponent;
        std::array<char, 4> exponentDigits;
        const char* last =
            std::to_chars(exponentDigits.data(), exponentDigits.data() + exponentDigits.size(), magnitude).ptr;
        if (magnitude < 10)
            out.put(u'0');
        out.put(std::string_view(exponentDigits.data(), static_cast<std::size_t>(last - exponentDigits.data())));
    } else if (exponent < 0) {
        out.put(u'0');
        out.put(separator);
        out.repeat(u'0', static_cast<std::size_t>(-exponent - 1));
        out.put(digits);
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out.put(digits);
            out.repeat(u'0', whole - digits.size());
        } else {
            out.put(digits.substr(0, whole));
            out.put(separator);
            out.put(digits.substr(whole));
        }
    }
    return out.text();
}

void appendAscii(Text& out, std::string_view ascii)
{
    const auto start = out.size();
    out.resize(start + ascii.size());
    std::copy(ascii.begin(), ascii.end(), out.begin() + static_cast<std::ptrdiff_t>(start));
}

} // namespace

NumberText::NumberText(char16_t decimalSeparator)
    : NumberText(decimalSeparator, decimalSeparator == u','        ? u'.'
                                   : decimalSeparator == u'\u066B' ? u'\u066C'
                                                                   : u',')
{
}

NumberText::NumberText(char16_t decimalSeparator, char16_t groupSeparator)
    : separator_(decimalSeparator), group_(groupSeparator == decimalSeparator ? char16_t{0} : groupSeparator),
      onePointOne_(localeText(1.1))
{
}

std::optional<double> NumberText::tryToNumber(TextView text) const { return readNumber(text, separator_); }

double NumberText::toNumber(TextView text) const
{
    const auto value = tryToNumber(text);
    if (!value)
        throw ConversionFailure();
    return *value;
}

Text NumberText::localeText(double value) const { return general(value, separator_, false); }

Text NumberText::plainText(TextView text) const { return general(toNumber(text), u'.', true); }

Text NumberText::patternText(TextView text, Pattern pattern) const
{
    if (text.empty())
        return {};
    const auto decimal = DecimalText::scan(text, separator_);
    // Only numbers with hundreds of whole digits can lie beyond the double
    // range; for those alone, ask whether the text reads as a number.
    if (!decimal || (decimal->point > 300 && !tryToNumber(text)))
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
    out.reserve(kept.size() + 3);
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

std::optional<ExactDecimal> NumberText::exactValue(TextView text) const
{
    const auto decimal = DecimalText::scan(text, separator_);
    if (!decimal || decimal->digits.size() > 18)
        return std::nullopt;
    ExactDecimal value;
    const std::string& digits = decimal->digits;
    std::from_chars(digits.data(), digits.data() + digits.size(), value.significand);
    if (decimal->negative)
        value.significand = -value.significand;
    value.exponent = decimal->point - static_cast<std::int64_t>(digits.size());
    return value;
}

} // namespace ratalia
