#pragma once

// Amounts in whole cents written out, under the user's regional separators:
// 1000000 cents are "10.000,00" to a person under Italian settings and
// "10000,00" to a spreadsheet.

#include "numbers/text.h"

#include <cstdint>

namespace ratalia {

using Cents = std::int64_t;

// Amounts in cents under the user's regional separators.
class AmountText {
public:
    // A group separator of 0 writes no groups.
    AmountText(char16_t decimalSeparator, char16_t groupSeparator);

    char16_t decimalSeparator() const { return decimal_; }
    // "10.000,00": what a person reads.
    Text grouped(Cents amount) const;
    // "10000,00": what a spreadsheet reads back.
    Text plain(Cents amount) const;
    // "100.000": a count, grouped as amounts are.
    Text whole(std::int64_t count) const;

private:
    Text written(Cents amount, char16_t group) const;

    char16_t decimal_;
    char16_t group_;
};

} // namespace ratalia
