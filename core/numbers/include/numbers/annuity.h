#pragma once

#include <cstdint>
#include <optional>

namespace ratalia {

// The French installment on `debt` cents over `count` periods at the
// period's rate `numerator` × 10^`exponent` ÷ `divisor`, rounded half away
// from zero to whole cents, exactly: no double decides a cent. 10 000,00 €
// over 24 months at 6,75 % (675 × 10^-2 ÷ 1200 a month) is 446,59; 3 857 280,08
// over 240 months at 0,104 % is 16 240,42, whose exact value is
// 16 240,424999999880… Nothing where the installment lies beyond 64-bit
// cents or the terms are out of range (a debt or count below 1, a negative rate).
// With `left` cents still owed after the last (a maxi-rata, at most the
// debt): (C (1 + i)^N − left) × i ÷ ((1 + i)^N − 1), exactly as well.
std::optional<std::int64_t> annuityInCents(std::int64_t debt, std::int64_t numerator, std::int64_t exponent,
                                           std::int64_t divisor, std::int64_t count, std::int64_t left = 0);

// The installment C × i ÷ (1 − (1 + i)^−N) at a monthly rate i so small that
// 1 + i in double precision keeps only a few of i's digits, worked out exactly
// in i and correctly rounded to the nearest double. The capital and i are
// positive, N a whole number of at least one. Throws ArithmeticFailure where
// (1 + i)^N or the installment lies beyond the double range.
double smallRateInstallment(double capital, double monthlyRate, double count);

// base^count for a positive finite base and a whole count of at least one:
// the exact power, rounded once to the nearest double, the same on every
// platform whatever its math library. Throws ArithmeticFailure where the power
// rounds beyond the double range.
double exactPower(double base, double count);

} // namespace ratalia
