#include "loan/calendar.h"

#include <array>
#include <string>

namespace ratalia {

Month Month::plus(std::int64_t count) const
{
    const std::int64_t from = year * 12 + (month - 1) + count;
    return {from / 12, static_cast<int>(from % 12) + 1};
}

std::optional<Month> readMonth(TextView text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    const auto slash = text.find(u'/');
    if (slash == TextView::npos || slash == 0 || slash > 2 || text.size() - slash - 1 != 4)
        return std::nullopt;
    const auto number = [](TextView digits) -> std::optional<int> {
        int value = 0;
        for (const char16_t c : digits) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const auto month = number(text.substr(0, slash));
    const auto year = number(text.substr(slash + 1));
    if (!month || !year || *month < 1 || *month > 12 || *year < 1)
        return std::nullopt;
    return Month{*year, *month};
}

Text monthText(const Month& month)
{
    static constexpr std::array<const char16_t*, 12> names{u"gen", u"feb", u"mar", u"apr", u"mag", u"giu",
                                                           u"lug", u"ago", u"set", u"ott", u"nov", u"dic"};
    const std::string year = std::to_string(month.year);
    return Text(names[static_cast<std::size_t>(month.month - 1)]) + u" " + Text(year.begin(), year.end());
}

} // namespace ratalia
