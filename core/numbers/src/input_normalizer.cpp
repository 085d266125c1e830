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

Text normalizedAmount(TextView text, const NumberText& numbers)
{
    const char16_t group = numbers.groupSeparator();
    const char16_t decimal = numbers.decimalSeparator();
    std::size_t first = text.find_first_not_of(u' '), last = text.find_last_not_of(u' ');
    if (group == 0 || first == TextView::npos || text.find(group, first) == TextView::npos)
        return normalizedInput(text, numbers);
    const TextView body = text.substr(first, last - first + 1);
    std::size_t i = body.front() == u'+' || body.front() == u'-' ? 1 : 0;
    const auto digitsFrom = [&](std::size_t at) {
        std::size_t end = at;
        while (end < body.size() && body[end] >= u'0' && body[end] <= u'9')
            ++end;
        return end - at;
    };
    // One to three digits, then one or more groups of three.
    const std::size_t lead = digitsFrom(i);
    if (lead < 1 || lead > 3)
        return normalizedInput(text, numbers);
    Text plain(body.substr(0, i + lead));
    i += lead;
    bool grouped = false;
    while (i < body.size() && body[i] == group && digitsFrom(i + 1) == 3) {
        plain += body.substr(i + 1, 3);
        i += 4;
        grouped = true;
    }
    // What follows the groups: nothing, or the region's decimal separator and digits.
    const bool decimals = i < body.size() && body[i] == decimal && digitsFrom(i + 1) == body.size() - i - 1;
    if (!grouped || (i < body.size() && !decimals))
        return normalizedInput(text, numbers);
    return plain + Text(body.substr(i));
}

} // namespace ratalia
