#include "core/decimal_text.h"


namespace ratalia {
namespace {

constexpr std::int64_t exponentLimit = 1'000'000'000'000'000; // far beyond any double

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

} // namespace

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

} // namespace ratalia
