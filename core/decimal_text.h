#pragma once

#include "core/text.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ratalia {

// The shape of a number text: sign, significant digits and where the decimal
// point falls among them, exponent already applied. Display patterns round on
// these digits, and reading a text tells a number too small to hold from one
// too large by them.
struct DecimalText {
    bool negative = false;
    // Decimal digits without leading zeros; empty when the number is zero.
    std::string digits;
    // How many of `digits` stand before the decimal point; may be negative or
    // exceed the digit count (value = 0.digits × 10^point).
    std::int64_t point = 0;

    // Accepts an optional sign, digits with at most one `separator`, at least
    // one digit, an optional exponent (E or e, optional sign, digits) and
    // spaces around the whole. Anything else is not a number.
    static std::optional<DecimalText> scan(TextView text, char16_t separator);
};

// Number texts may have spaces around them.
TextView withoutSurroundingSpaces(TextView text);

} // namespace ratalia
