#pragma once

// The TAEG (tasso annuo effettivo globale) by the equation of Annex I of the
// consumer credit (2008/48/EC) and mortgage credit (2014/17/EU) directives:
// the yearly rate X at which what the borrower receives equals, discounted,
// everything the borrower pays,
//
//   received = Σ payment_k × (1 + X)^(−k/12),
//
// with the k-th monthly payment k twelfths of a year after the drawdown.
//
// 200 000 € at 6 % over 240 months with 4 000 € of costs paid at the start
// (the Commission's example): installment 1 432,86, X = 6,434412 %, shown
// as 6,43 %.

#include <cstdint>
#include <optional>
#include <span>

namespace ratalia {

// X as a fraction (0,0643 for 6,43 %), found by bisection on
// v = (1 + X)^(−1/12), where the sum is a polynomial in v that rises with
// it; only additions and multiplications of doubles, so every platform
// finds the same X; +infinity where X lies beyond the doubles. Nothing
// where there is no such rate: nothing received, no payment, a negative
// one, or payments that sum to less than what was received.
std::optional<double> annualPercentageRate(std::int64_t receivedCents, std::span<const std::int64_t> paymentCents);

// The largest rate stated as a number, 1 000 000 % (as a fraction, 10 000):
// beyond it the TAEG is said to be above it.
inline constexpr double largestStatedRate = 10'000;

// X in hundredths of a per cent, rounded half up, as the TAEG is stated:
// 0,06434412 → 643. Nothing from largestStatedRate on.
std::optional<std::int64_t> inBasisPoints(double rate);

} // namespace ratalia
