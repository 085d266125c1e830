#pragma once

// Months of the calendar, as a plan's due dates count them: the first
// installment's month and year, and every later one a month after it.
//
// "01/2027" is January 2027, shown "gen 2027"; 12 months after it is "gen 2028".

#include "numbers/text.h"

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

} // namespace ratalia
