#pragma once

#include "numbers/text.h"

#include <cstdint>
#include <optional>

namespace ratalia {

// The display patterns results are written with, by their number of decimals:
// "#0.0000000000", "#0.00" and "#0".
enum class Pattern { Whole = 0, TwoDecimals = 2, TenDecimals = 10 };

// A number exactly as its text writes it: significand × 10^exponent.
struct ExactDecimal {
    std::int64_t significand = 0;
    std::int64_t exponent = 0;
};

// Conversions between numbers and field texts under the user's regional
// decimal separator. Every number the program works with passes through these:
// fields hold texts, and each calculation step re-reads what earlier ones wrote.
class NumberText {
public:
    // The group separator is the region's too; where it is not given, it is
    // the one that usually goes with the decimal separator.
    explicit NumberText(char16_t decimalSeparator);
    NumberText(char16_t decimalSeparator, char16_t groupSeparator);

    char16_t decimalSeparator() const { return separator_; }
    // Between thousands in amounts (never in a field); 0 for none.
    char16_t groupSeparator() const { return group_; }
    // localeText(1.1), kept: the input normalizer asks for it on every run,
    // and the region cannot change while the program runs.
    const Text& onePointOne() const { return onePointOne_; }

    // Reads a plain decimal number, e.g. "-12,5" or "1,5E-3" under a comma.
    // Throws ConversionFailure for anything else, including numbers beyond the
    // double range; numbers too small to represent read as zero.
    double toNumber(TextView text) const;
    std::optional<double> tryToNumber(TextView text) const;

    // The general rendering: at most 15 significant digits, no trailing zeros,
    // exponent form ("1,5E+20", "8,3E-05") outside 1E-4 ≤ |value| < 1E15.
    Text localeText(double value) const;

    // A number text read by toNumber, written as " 2.5" or "-3" whatever the
    // region: the form messages quote numbers in. Throws ConversionFailure.
    Text plainText(TextView text) const;

    // Rounds a number text half away from zero on its own decimal digits and
    // writes exactly the pattern's decimals ("0,125" → "0,13" with two). Zero
    // is never written with a minus sign. An empty text stays empty, and a
    // text that is not a number is returned unchanged.
    Text patternText(TextView text, Pattern pattern) const;

    // The exact value of a number text whose significant digits fit in 18,
    // as every text the program writes does; nothing for any other text.
    std::optional<ExactDecimal> exactValue(TextView text) const;

private:
    char16_t separator_;
    char16_t group_;
    Text onePointOne_;
};

} // namespace ratalia
