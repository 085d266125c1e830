// Reading and writing number texts: whatever is read must be written back
// readable, and no rendering may produce a text the program cannot read.

#include "fuzz_input.h"
#include "numbers/failures.h"
#include "numbers/number_text.h"

#include <charconv>
#include <cmath>

using namespace ratalia;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const NumberText numbers(input.separator());
    const Text text = input.rest();

    const auto value = numbers.tryToNumber(text);
    if (!value) {
        try {
            numbers.plainText(text);
            fuzz::broken("plain text of a text that is not a number");
        } catch (const ConversionFailure&) {
        }
        return 0;
    }
    if (!std::isfinite(*value))
        fuzz::broken("a number text read as infinite or NaN");

    const Text locale = numbers.localeText(*value);
    // The fast rendering must agree with the plain fixed-precision one.
    if (std::fabs(*value) < 1.79769313486231e308) {
        char buffer[40];
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer, *value == 0 ? 0.0 : *value, std::chars_format::general, 15)
                .ptr;
        Text reference;
        for (const char* p = buffer; p != end; ++p)
            reference += *p == '.' ? numbers.decimalSeparator() : *p == 'e' ? u'E' : static_cast<char16_t>(*p);
        if (reference != locale)
            fuzz::broken("locale text differs from the fixed-precision rendering");
    }
    const auto back = numbers.tryToNumber(locale);
    if (!back || numbers.localeText(*back) != locale)
        fuzz::broken("locale text does not read back");
    const NumberText pointNumbers(u'.');
    if (!pointNumbers.tryToNumber(numbers.plainText(text)))
        fuzz::broken("plain text does not read back with a point");

    for (const Pattern pattern : {Pattern::Whole, Pattern::TwoDecimals, Pattern::TenDecimals}) {
        const Text rounded = numbers.patternText(text, pattern);
        const auto roundedValue = numbers.tryToNumber(rounded);
        if (!roundedValue)
            fuzz::broken("pattern text of a number is not a number");
        const double unit = std::pow(10.0, -static_cast<int>(pattern));
        if (std::fabs(*roundedValue - *value) > unit / 2 + std::fabs(*value) * 1e-15)
            fuzz::broken("pattern text moved the number by more than half a unit");
        if (rounded.front() == u'-' && *roundedValue == 0)
            fuzz::broken("pattern text wrote a negative zero");
    }
    return 0;
}
