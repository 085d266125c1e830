#include "model/decimal_text.h"

namespace ratalia {
namespace {

constexpr std::int64_t exponentLimit = 1'000'000'000'000'000; // far beyond any double

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

TextView trimSpaces(TextView text)
{
    const auto first = text.find_first_not_of(u' ');
    if (first == TextView::npos)
        return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

} // namespace

std::optional<DecimalText> DecimalText::scan(TextView text, char16_t separator)
{
    text = trimSpaces(text);
    std::size_t i = 0;
    const auto n = text.size();

    DecimalText result;
    result.plain.reserve(n + 1);
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        result.negative = text[i] == u'-';
        ++i;
    }
    if (result.negative)
        result.plain += '-';

    std::size_t mantissaDigits = 0;
    bool inFraction = false;
    for (; i < n; ++i) {
        const char16_t c = text[i];
        if (isDigit(c)) {
            const char digit = static_cast<char>(c);
            result.plain += digit;
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
            result.plain += '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;

    std::int64_t exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        result.plain += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            result.plain += static_cast<char>(text[i]);
            ++i;
        }
        const std::size_t firstExponentDigit = i;
        for (; i < n && isDigit(text[i]); ++i) {
            result.plain += static_cast<char>(text[i]);
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

} // namespace ratalia
