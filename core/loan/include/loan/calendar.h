#pragma once

// Months of the calendar, as a plan's due dates count them: the first
// installment's month and year, and every later one a month after it.
//
// "01/2027" is January 2027, shown "gen 2027"; 12 months after it is "gen 2028".

#include "numbers/text.h"

#include <compare>
#include <cstdint>
#include <optional>

namespace ratalia {

struct Month {
    std::int64_t year = 0;
    int month = 1; // 1 for January … 12 for December

    // The month `count` months later.
    Month plus(std::int64_t count) const;
    bool operator==(const Month&) const = default;
};

// "MM/AAAA" as typed, the month with one or two digits, the year with four,
// spaces around allowed: "1/2027", "01/2027", " 12/2030 ". Nothing else is a month.
std::optional<Month> readMonth(TextView text);
// "gen 2027": the Italian abbreviation of the month and the year.
Text monthText(const Month& month);

// A day of the calendar: the signing, a first installment with its day.
struct Date {
    std::int64_t year = 0;
    int month = 1;
    int day = 1;

    Month inMonth() const { return {year, month}; }
    // The same day `count` months earlier or later, or the month's last where it has fewer days.
    Date plusMonths(std::int64_t count) const;
    // Days from 1 January of year 1, so that two dates are apart by their difference.
    std::int64_t dayNumber() const;
    auto operator<=>(const Date&) const = default;
};
// "GG/MM/AAAA", the day and the month with one or two digits: "12/1/2012".
std::optional<Date> readDate(TextView text);
// "12/01/2012".
Text dateText(const Date& date);
// The odd days between the signing and the first installment: the whole
// periods of `monthsPerPeriod` months counted back from the first
// installment while they stay on or after the signing, the days left, and
// the days of the year that ends where the whole periods begin (365 or 366).
struct FirstPeriodDays {
    std::int64_t wholePeriods = 0;
    std::int64_t oddDays = 0;
    std::int64_t yearDays = 365;
};
FirstPeriodDays firstPeriodDays(const Date& signing, const Date& firstDue, int monthsPerPeriod);

} // namespace ratalia
