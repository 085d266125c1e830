#include "loan/annual_percentage_rate.h"

#include "numbers/annuity.h"
#include "numbers/failures.h"

#include <cmath>
#include <limits>

namespace ratalia {
namespace {

// Σ payment_k v^k and its derivative, by Horner's rule in euros, in four
// chains of every fourth payment so that the processor runs them side by
// side: the same sums on every platform, in a quarter of the time.
struct Sums {
    double value = 0, slope = 0;
};

Sums presentValue(const std::vector<std::int64_t>& payments, double v)
{
    const double v2 = v * v, v4 = v2 * v2;
    double value[4] = {0, 0, 0, 0}, slope[4] = {0, 0, 0, 0};
    // Chain j holds the payments k ≡ j + 1 (mod 4), in powers of v⁴, highest first.
    const std::size_t n = payments.size();
    for (std::size_t base = (n + 3) / 4 * 4; base > 0;) {
        base -= 4;
        for (int j = 0; j < 4; ++j) {
            const std::size_t k = base + static_cast<std::size_t>(j); // payment k + 1
            const double amount = k < n ? static_cast<double>(payments[k]) / 100 : 0;
            // d/dv of Σ a w^m (w = v⁴) is taken after the sum, below, from the weighted one.
            slope[j] = slope[j] * v4 + amount * static_cast<double>(k + 1);
            value[j] = value[j] * v4 + amount;
        }
    }
    // Chain j is Σ a_m w^m for k = 4m + j + 1: times v^(j+1); its weighted twin, Σ k a_k v^(k−1), times v^j.
    Sums sums;
    const double powers[4] = {v, v2, v2 * v, v4};
    const double below[4] = {1, v, v2, v2 * v};
    for (int j = 0; j < 4; ++j) {
        sums.value += value[j] * powers[j];
        sums.slope += slope[j] * below[j];
    }
    return sums;
}

} // namespace

std::optional<double> annualPercentageRate(const CashFlows& flows)
{
    if (flows.received <= 0 || flows.payments.empty() || flows.periodsPerYear < 1 || !(flows.offset > -1))
        return std::nullopt;
    std::int64_t total = 0;
    for (const std::int64_t payment : flows.payments) {
        if (payment < 0 || __builtin_add_overflow(total, payment, &total))
            return std::nullopt;
    }
    if (total < flows.received)
        return std::nullopt;
    if (total == flows.received)
        return 0.0; // no cost at all: the rate is nought, not a solver's last digit
    const double received = static_cast<double>(flows.received) / 100;
    // The sum is 0 at v = 0 and the total at v = 1, above what was received:
    // the root lies between. Newton's step from inside the bracket, where it
    // stays inside and shrinks it well; halving it where not.
    double low = 0, high = 1, v = 1;
    for (int step = 0; step < 200; ++step) {
        Sums sums = presentValue(flows.payments, v);
        if (flows.offset != 0) {
            // v^offset × Σ: every power k + offset is above 0, so the sum still
            // rises from 0 to the total on [0, 1] and the bracket holds.
            const double shift = std::pow(v, flows.offset);
            sums = {sums.value * shift, sums.slope * shift + flows.offset * sums.value * shift / v};
        }
        const double excess = sums.value - received;
        if (excess == 0)
            break;
        (excess < 0 ? low : high) = v;
        const double width = high - low;
        double next = sums.slope > 0 ? v - excess / sums.slope : low + width / 2;
        if (!(next > low && next < high) || std::fabs(next - v) > width / 2 * 1.0001)
            next = low + width / 2;
        if (next == v || next <= low || next >= high)
            break; // the bracket is two neighbouring doubles, or Newton has nothing left to move
        v = next;
    }
    // (1 + X) = v^−periods, the power rounded once, as on every platform.
    if (!(v > 0))
        return std::numeric_limits<double>::infinity(); // beyond any number: said so, never a wrong one
    double shrunk = 0;
    try {
        shrunk = exactPower(v, static_cast<double>(flows.periodsPerYear));
    } catch (const ArithmeticFailure&) {
        return std::nullopt;
    }
    if (!(shrunk > 0) || !std::isfinite(1 / shrunk))
        return std::numeric_limits<double>::infinity();
    const double rate = 1 / shrunk - 1;
    if (std::isnan(rate) || rate < 0)
        return std::nullopt;
    return rate;
}

std::optional<std::int64_t> inBasisPoints(double rate)
{
    if (!(rate >= 0) || rate >= largestStatedRate)
        return std::nullopt;
    return static_cast<std::int64_t>(std::floor(rate * 10000 + 0.5));
}

} // namespace ratalia
