#include "loan/calendar.h"

#include <algorithm>
#include <array>
#include <string>

namespace ratalia {

Month Month::plus(std::int64_t count) const
{
    const std::int64_t from = year * 12 + (month - 1) + count;
    return {from / 12, static_cast<int>(from % 12) + 1};
}

namespace {

TextView trimmed(TextView text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

std::optional<int> number(TextView digits)
{
    int value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

bool leap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysIn(std::int64_t year, int month)
{
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

} // namespace

std::optional<Month> readMonth(TextView text)
{
    text = trimmed(text);
    const auto slash = text.find(u'/');
    if (slash == TextView::npos || slash == 0 || slash > 2 || text.size() - slash - 1 != 4)
        return std::nullopt;
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

Date Date::plusMonths(std::int64_t count) const
{
    const Month moved = inMonth().plus(count);
    return {moved.year, moved.month, std::min(day, daysIn(moved.year, moved.month))};
}

std::int64_t Date::dayNumber() const
{
    // Days before the year, the month and the day (the proleptic Gregorian calendar).
    const std::int64_t y = year - 1;
    std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += daysIn(year, m);
    return days + day;
}

std::optional<Date> readDate(TextView text)
{
    text = trimmed(text);
    const auto first = text.find(u'/');
    if (first == TextView::npos || first == 0 || first > 2)
        return std::nullopt;
    const auto day = number(text.substr(0, first));
    const auto month = readMonth(text.substr(first + 1));
    if (!day || !month || *day < 1 || *day > daysIn(month->year, month->month))
        return std::nullopt;
    return Date{month->year, month->month, *day};
}

Text dateText(const Date& date)
{
    const auto two = [](int value) {
        return Text{static_cast<char16_t>(u'0' + value / 10), static_cast<char16_t>(u'0' + value % 10)};
    };
    const std::string year = std::to_string(date.year);
    return two(date.day) + u"/" + two(date.month) + u"/" + Text(year.begin(), year.end());
}

FirstPeriodDays firstPeriodDays(const Date& signing, const Date& firstDue, int monthsPerPeriod)
{
    FirstPeriodDays days;
    Date start = firstDue;
    while (firstDue.plusMonths(-(days.wholePeriods + 1) * monthsPerPeriod) >= signing)
        start = firstDue.plusMonths(-(++days.wholePeriods) * monthsPerPeriod);
    days.oddDays = start.dayNumber() - signing.dayNumber();
    days.yearDays = start.dayNumber() - start.plusMonths(-12).dayNumber();
    return days;
}

} // namespace ratalia
