#pragma once

// The TAEG (tasso annuo effettivo globale) by the equation of Annex I of the
// consumer credit (2008/48/EC) and mortgage credit (2014/17/EU) directives:
// the yearly rate X at which what the borrower receives equals, discounted,
// everything the borrower pays,
//
//   received = Σ payment_k × (1 + X)^(−t_k),
//
// over a loan's cash flows: what is received at the signing, and the
// payments after it, the k-th t_k = k ÷ (periods a year) years later.
//
// 200 000 € at 6 % over 240 months with 4 000 € of costs paid at the start
// (the Commission's example): installment 1 432,86, X = 6,434412 %, shown
// as 6,43 %.

#include <cstdint>
#include <optional>
#include <vector>

namespace ratalia {

// What is received and paid, and when: the schedule every figure of a plan
// comes from, in whole cents.
struct CashFlows {
    std::int64_t received = 0;          // at the signing
    std::vector<std::int64_t> payments; // the k-th (from 1) k + offset periods after it
    int periodsPerYear = 12;
    // Where the first period is not a whole one: the odd days as a fraction
    // of a year, in periods, less the period they stand in for (more than −1).
    double offset = 0;
};

// X as a fraction (0,0643 for 6,43 %): the root in v = (1 + X)^(−1/periods)
// of Σ payment_k v^k = received, a polynomial with no negative coefficient,
// so rising and convex on [0, 1]. Newton's steps, kept inside a bracket that
// halves where a step would leave it or gains too little, find it in a few
// passes over the payments and can never leave the bracket; only additions
// and multiplications of doubles, so every platform finds the same X;
// +infinity where X lies beyond the doubles. Nothing where there is no such
// rate: nothing received, no payment, a negative one, or payments that sum
// to less than what was received.
std::optional<double> annualPercentageRate(const CashFlows& flows);

// The largest rate stated as a number, 1 000 000 % (as a fraction, 10 000):
// beyond it the TAEG is said to be above it.
inline constexpr double largestStatedRate = 10'000;

// X in hundredths of a per cent, rounded half up, as the TAEG is stated:
// 0,06434412 → 643. Nothing from largestStatedRate on.
std::optional<std::int64_t> inBasisPoints(double rate);

} // namespace ratalia
