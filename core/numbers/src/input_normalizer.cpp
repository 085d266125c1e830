#include "numbers/input_normalizer.h"

#include "numbers/number_text.h"

namespace ratalia {

Text normalizedInput(TextView text, const NumberText& numbers)
{
    // The separator is whatever the region writes between 1 and 1.
    const char16_t separator = numbers.onePointOne()[1];
    Text out(text);
    for (char16_t& unit : out)
        if (unit == u'.' || unit == u',')
            unit = separator;
    return out;
}

} // namespace ratalia
