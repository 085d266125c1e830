#pragma once

#include "model/text.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ratalia {

// The shape of a number text: sign, significant digits and where the decimal
// point falls among them, exponent already applied. Both reading a text as a
// number and rounding it by a display pattern start from this, so they agree
// on exactly which texts are numbers.
struct DecimalText {
    bool negative = false;
    // Decimal digits without leading zeros; empty when the number is zero.
    std::string digits;
    // How many of `digits` stand before the decimal point; may be negative or
    // exceed the digit count (value = 0.digits × 10^point).
    std::int64_t point = 0;
    // The same number as std::from_chars reads it: [-]int.frac[e±exp].
    std::string plain;

    // Accepts an optional sign, digits with at most one `separator`, at least
    // one digit, an optional exponent (E or e, optional sign, digits) and
    // spaces around the whole. Anything else is not a number.
    static std::optional<DecimalText> scan(TextView text, char16_t separator);
};

} // namespace ratalia
