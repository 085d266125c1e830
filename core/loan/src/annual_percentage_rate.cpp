#include "loan/annual_percentage_rate.h"

#include <cmath>
#include <limits>

namespace ratalia {
namespace {

// Σ payment_k v^k by Horner's rule, in euros.
double presentValue(std::span<const std::int64_t> payments, double v)
{
    double sum = 0;
    for (std::size_t k = payments.size(); k-- > 0;)
        sum = (sum + static_cast<double>(payments[k]) / 100) * v;
    return sum;
}

} // namespace

std::optional<double> annualPercentageRate(std::int64_t receivedCents, std::span<const std::int64_t> paymentCents)
{
    if (receivedCents <= 0 || paymentCents.empty())
        return std::nullopt;
    std::int64_t total = 0;
    for (const std::int64_t payment : paymentCents) {
        if (payment < 0)
            return std::nullopt;
        total += payment;
    }
    if (total < receivedCents)
        return std::nullopt;
    if (total == receivedCents)
        return 0.0; // no cost at all: the rate is nought, not a bisection's last digit
    const double received = static_cast<double>(receivedCents) / 100;
    // The present value is 0 at v = 0 and the total at v = 1, above what was
    // received: the root lies between, and halving the bracket cannot miss it.
    double low = 0;
    double high = 1;
    for (int step = 0; step < 200; ++step) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high)
            break; // the bracket is two neighbouring doubles
        if (presentValue(paymentCents, middle) < received)
            low = middle;
        else
            high = middle;
    }
    const double v = low + (high - low) / 2;
    // (1 + X) = v^−12, by squaring: 12 = 8 + 4.
    const double v2 = v * v;
    const double v4 = v2 * v2;
    const double v12 = v4 * v4 * v4;
    // Where v^12 leaves the doubles the rate is beyond any number: said so, never a wrong one.
    if (!(v12 > 0))
        return std::numeric_limits<double>::infinity();
    const double rate = 1 / v12 - 1;
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
