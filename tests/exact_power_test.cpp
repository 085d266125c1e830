#include "numbers/annuity.h"
#include "numbers/failures.h"
#include "support/decimal.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>

namespace ratalia::test {
namespace {

// An independent reference: the power carried in 256-bit binary fixed
// mantissas, every product cut off (never rounded up), so the exact power lies
// just above it; the nearest double follows unless the power falls too close
// to a halfway point to tell, which random loans never do.
class Reference {
public:
    static std::optional<double> power(double base, int count)
    {
        Reference x(base);
        Reference p = x;
        for (int bit = std::bit_width(static_cast<unsigned>(count)) - 2; bit >= 0; --bit) {
            p = p * p;
            if ((count >> bit) & 1)
                p = p * x;
        }
        return p.nearest();
    }

private:
    static constexpr int limbs = 8; // 32 bits each, most significant first
    std::array<std::uint32_t, limbs> m{};
    int exponent = 0; // value = 0.m × 2^exponent, top bit of m[0] set

    Reference() = default;
    explicit Reference(double value)
    {
        int e = 0;
        const double fraction = std::frexp(value, &e); // in [0.5, 1)
        const auto bits = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        m[0] = static_cast<std::uint32_t>(bits >> 32);
        m[1] = static_cast<std::uint32_t>(bits);
        exponent = e;
    }

    Reference operator*(const Reference& other) const
    {
        std::array<std::uint64_t, 2 * limbs> wide{};
        for (int i = limbs - 1; i >= 0; --i) {
            std::uint64_t carry = 0;
            for (int j = limbs - 1; j >= 0; --j) {
                const std::uint64_t t = std::uint64_t{m[i]} * other.m[j] + wide[i + j + 1] + carry;
                wide[i + j + 1] = t & 0xffffffffu;
                carry = t >> 32;
            }
            wide[i] += carry;
        }
        Reference out;
        out.exponent = exponent + other.exponent;
        int shift = 0;
        if ((wide[0] & 0x80000000u) == 0) { // product below one half: one bit up
            shift = 1;
            out.exponent -= 1;
        }
        for (int i = 0; i < limbs; ++i)
            out.m[i] = static_cast<std::uint32_t>((wide[i] << shift) | (shift ? wide[i + 1] >> 31 : 0));
        return out;
    }

    std::optional<double> nearest() const
    {
        // The top 53 bits, then the rest against the halfway point 1000…0.
        const std::uint64_t top = (std::uint64_t{m[0]} << 21) | (m[1] >> 11);
        const std::uint32_t half = 1u << 10; // the first bit below the kept 53
        const std::uint32_t below = m[1] & 0x7ffu;
        bool restZero = true;
        bool restFull = true;
        for (int i = 2; i < limbs - 1; ++i) {
            restZero = restZero && m[i] == 0;
            restFull = restFull && m[i] == 0xffffffffu;
        }
        // Within a limb of a halfway point the cut-off bits cannot tell.
        if ((below == half && restZero) || (below == half - 1 && restFull))
            return std::nullopt;
        const bool up = below >= half;
        return std::ldexp(static_cast<double>(top + (up ? 1 : 0)), exponent - 53);
    }
};

// 10^5 ordinary loans: rates of 0,01 to 30 % a year, 1 to 480 months.
TEST(ExactPowerTest, is_the_nearest_double_to_the_exact_power)
{
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> annualRate(0.01, 30.0);
    std::uniform_int_distribution<int> months(1, 480);
    int compared = 0;
    for (int i = 0; i < 100000; ++i) {
        const double base = annualRate(random) / 100 / 12 + 1;
        const int count = months(random);
        const auto reference = Reference::power(base, count);
        if (!reference)
            continue;
        ++compared;
        ASSERT_EQ(exactPower(base, count), *reference) << "base " << base << ", count " << count;
    }
    EXPECT_GT(compared, 99990);
}

// (C (1 + r)^N − left) r ÷ ((1 + r)^N − 1) in 45-digit decimals, to the cent.
std::int64_t installmentInDecimals(std::int64_t debt, const Decimal& rate, std::int64_t count, std::int64_t left)
{
    const Decimal grown = (Decimal(1) + rate).power(count);
    return ((Decimal::cents(debt) * grown - Decimal::cents(left)) * rate / (grown - Decimal(1))).roundedTo(2);
}

TEST(AnnuityInCentsTest, long_dear_loans_round_a_hair_above_a_half_cent_up)
{
    // On a long loan at a high rate the installment is C r and a part too
    // small for any double; where C r is a half cent exactly, that part sends it up.
    const struct {
        const char* name;
        std::int64_t debt;
        std::int64_t numerator, exponent, divisor; // the period's rate: numerator × 10^exponent ÷ divisor
        std::int64_t count, left;
    } cases[] = {
        {"a half cent over a maxi-rata", 222'221'000, 33, 0, 1200, 90'000, 222'220'000},
        {"a half cent", 1'000'200, 99, 0, 1200, 20'000, 0},
        {"just under a half cent", 1'000'199, 99, 0, 1200, 20'000, 0},
        {"a hundred thousand months at 3 %", 10'000'000, 3, 0, 1200, 100'000, 0},
        {"an ordinary loan", 1'000'000, 675, -2, 1200, 24, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decimal rate = Decimal(c.numerator, static_cast<int>(-c.exponent)) / Decimal(c.divisor);
        EXPECT_EQ(annuityInCents(c.debt, c.numerator, c.exponent, c.divisor, c.count, c.left),
                  installmentInDecimals(c.debt, rate, c.count, c.left));
    }
}

TEST(ExactPowerTest, edges)
{
    EXPECT_EQ(exactPower(1.0, 1e300), 1.0);
    EXPECT_EQ(exactPower(2.0, 1023), std::ldexp(1.0, 1023));
    EXPECT_EQ(exactPower(3.0, 3), 27.0);
    EXPECT_EQ(exactPower(0.5, 1074), std::ldexp(1.0, -1074)); // the smallest double
    EXPECT_EQ(exactPower(0.5, 1076), 0.0);                    // below half of it
    EXPECT_THROW(exactPower(2.0, 1024), ArithmeticFailure);
    EXPECT_THROW(exactPower(1.0000001, 1e300), ArithmeticFailure);
}

} // namespace
} // namespace ratalia::test
