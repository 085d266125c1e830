#include "numbers/annuity.h"

#include "numbers/failures.h"
#include "numbers/uint128.h"
#include "wide_float.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace ratalia {
namespace {

enum class Side { Below, Equal, Above, Unknown };

bool isEven(double value) { return (std::bit_cast<std::uint64_t>(value) & 1) == 0; }

// The double nearest to a positive value that is known only through
// sideOf(m), which says where the value lies against m, or that its bounds
// are too wide to tell. Halves go to the even neighbour. Starts from a guess
// within a few steps of the answer; nullopt when the bounds cannot decide,
// unless told to settle for the double whose halfway points they straddle.
template <typename SideOf> std::optional<double> nearestDouble(double guess, const SideOf& sideOf, bool settle)
{
    constexpr double largest = std::numeric_limits<double>::max();
    constexpr double smallest = std::numeric_limits<double>::denorm_min();
    constexpr double infinity = std::numeric_limits<double>::infinity();
    double d = std::isnan(guess) ? 1.0 : std::fmin(std::fmax(guess, smallest), largest);
    for (int step = 0; step < 64; ++step) {
        const double below = std::nextafter(d, 0.0);
        const double above = std::nextafter(d, infinity);
        // The halfway points to the neighbours; above the largest double, where
        // rounding gives infinity, the neighbour would be largest + 2^971.
        const double ulpAbove = d == largest ? std::ldexp(1.0, 971) : above - d;
        const WideFloat lowHalf = below == 0
                                      ? WideFloat(d, 1).half()
                                      : WideFloat::sum(WideFloat(below, 1), WideFloat(d, 1), 2, Rounding::Down).half();
        const WideFloat highHalf = WideFloat::sum(WideFloat(d, 1), WideFloat(ulpAbove, 1).half(), 2, Rounding::Down);
        const Side low = sideOf(lowHalf);
        const Side high = sideOf(highHalf);
        if ((low == Side::Unknown || high == Side::Unknown) && !settle)
            return std::nullopt;
        if (high == Side::Above || (high == Side::Equal && d == largest)) {
            if (d == largest)
                throw ArithmeticFailure();
            d = above;
        } else if (low == Side::Below) {
            if (below == 0)
                return 0.0;
            d = below;
        } else if (high == Side::Equal) {
            return isEven(d) ? d : above;
        } else if (low == Side::Equal) {
            return isEven(d) ? d : below;
        } else {
            return d;
        }
    }
    return settle ? std::optional<double>(d) : std::nullopt;
}

// A whole number N ≥ 1 as m × 2^k: m its (at most 53-bit) mantissa, k ≥ 0.
struct WholeNumber {
    std::uint64_t mantissa;
    int shift;
};

WholeNumber split(double count)
{
    const auto bits = std::bit_cast<std::uint64_t>(count);
    const int exponent = static_cast<int>((bits >> 52) & 0x7ff) - 1075;
    const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    if (exponent < 0)
        return {mantissa >> -exponent, 0};
    return {mantissa, exponent};
}

// Lower and upper bounds of one quantity.
struct Bounds {
    WideFloat low, high;
    bool exact() const { return low == high; }
};

Bounds sum(const Bounds& a, const Bounds& b, std::size_t words)
{
    return {WideFloat::sum(a.low, b.low, words, Rounding::Down), WideFloat::sum(a.high, b.high, words, Rounding::Up)};
}

Bounds product(const Bounds& a, const Bounds& b, std::size_t words)
{
    return {WideFloat::product(a.low, b.low, words, Rounding::Down),
            WideFloat::product(a.high, b.high, words, Rounding::Up)};
}

// Far beyond the double range: the power has certainly overflowed.
constexpr std::int64_t hopelessExponent = 1100;

// With x = 1 + i, C × i ÷ (1 − x^−N) = C × x^N ÷ S, where S = 1 + x + … + x^(N−1):
// every term positive, so nothing cancels and i need not be subtracted back out.
std::optional<double> attempt(double capital, double rate, WholeNumber count, std::size_t words, bool settle)
{
    const Bounds one{WideFloat(1.0, words), WideFloat(1.0, words)};
    const Bounds i{WideFloat(rate, words), WideFloat(rate, words)};
    const Bounds x = sum(one, i, words);

    // Binary powering from the top bit of N: (x^n, S_n) → (x^2n, S_n × (1 + x^n)) → (x^(n+1), S_n + x^n).
    Bounds power = x;
    Bounds series = one;
    const int bits = 64 - std::countl_zero(count.mantissa);
    for (int bit = bits - 2; bit >= -count.shift; --bit) {
        series = sum(series, product(series, power, words), words);
        power = product(power, power, words);
        if (bit >= 0 && ((count.mantissa >> bit) & 1) != 0) {
            series = sum(series, power, words); // S_2n + x^2n
            power = product(power, x, words);
        }
        if (power.low.binaryExponent() > hopelessExponent)
            throw ArithmeticFailure();
    }
    // x^N rounds to infinity from the largest double plus half its last place on.
    const WideFloat overflow = WideFloat::sum(WideFloat(std::numeric_limits<double>::max(), 1),
                                              WideFloat(std::ldexp(1.0, 970), 1), 2, Rounding::Down);
    if (compare(power.low, overflow) >= 0)
        throw ArithmeticFailure();
    if (compare(power.high, overflow) >= 0 && !settle)
        return std::nullopt;

    const WideFloat c(capital, 1);
    const WideFloat numeratorLow = WideFloat::product(c, power.low, 1 + words, Rounding::Down);
    const WideFloat numeratorHigh = WideFloat::product(c, power.high, 1 + words, Rounding::Up);
    const bool exact = power.exact() && series.exact();
    // installment > m  ⇔  C × x^N > m × S, all positive.
    const auto installmentSide = [&](const WideFloat& m) {
        if (compare(numeratorLow, WideFloat::product(m, series.high, m.words() + words, Rounding::Up)) > 0)
            return Side::Above;
        const WideFloat belowLine = WideFloat::product(m, series.low, m.words() + words, Rounding::Down);
        const int against = compare(numeratorHigh, belowLine);
        if (against < 0)
            return Side::Below;
        return exact && against == 0 ? Side::Equal : Side::Unknown;
    };
    const double guess = std::ldexp(
        c.leadingBits() * power.low.leadingBits() / series.low.leadingBits(),
        static_cast<int>(std::clamp<std::int64_t>(
            c.binaryExponent() + power.low.binaryExponent() - series.low.binaryExponent() - 64, -4000, 4000)));
    return nearestDouble(guess, installmentSide, settle);
}

// The first, two-word attempt at a power without the heap: a positive number
// mantissa × 2^exponent with the mantissa's top bit set, rounded as WideFloat
// rounds, so that it gives the very bounds a two-word WideFloat would.
using Mantissa = UInt128;

struct TwoWords {
    Mantissa mantissa;
    std::int64_t exponent;

    explicit TwoWords(double value)
    {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        const auto biased = static_cast<std::int64_t>((bits >> 52) & 0x7ff);
        if (biased != 0)
            fraction |= std::uint64_t{1} << 52;
        const int shift = std::countl_zero(fraction) + 64;
        mantissa = static_cast<Mantissa>(fraction) << shift;
        exponent = (biased == 0 ? 1 : biased) - 1075 - shift;
    }
    TwoWords(Mantissa m, std::int64_t e) : mantissa(m), exponent(e) {}

    std::int64_t binaryExponent() const { return exponent + 128; }
    WideFloat wide() const
    {
        return WideFloat({static_cast<std::uint64_t>(mantissa), static_cast<std::uint64_t>(mantissa >> 64)}, exponent);
    }

    static TwoWords product(const TwoWords& a, const TwoWords& b, Rounding rounding)
    {
        const auto a1 = static_cast<std::uint64_t>(a.mantissa >> 64), a0 = static_cast<std::uint64_t>(a.mantissa);
        const auto b1 = static_cast<std::uint64_t>(b.mantissa >> 64), b0 = static_cast<std::uint64_t>(b.mantissa);
        const Mantissa p00 = static_cast<Mantissa>(a0) * b0, p01 = static_cast<Mantissa>(a0) * b1;
        const Mantissa p10 = static_cast<Mantissa>(a1) * b0, p11 = static_cast<Mantissa>(a1) * b1;
        const Mantissa middle = (p00 >> 64) + static_cast<std::uint64_t>(p01) + static_cast<std::uint64_t>(p10);
        const Mantissa low = (middle << 64) | static_cast<std::uint64_t>(p00);
        const Mantissa high = p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64);
        // Both factors are at least 2^127, so the product's top bit is bit 255 or 254.
        const int shift = (high >> 127) != 0 ? 0 : 1;
        Mantissa m = shift ? (high << 1) | (low >> 127) : high;
        const bool dropped = (shift ? low << 1 : low) != 0;
        std::int64_t e = a.exponent + b.exponent + 128 - shift;
        if (rounding == Rounding::Up && dropped && ++m == 0) {
            m = static_cast<Mantissa>(1) << 127;
            e += 1;
        }
        return {m, e};
    }
};

// The powering itself, in two words or in `words` words.
std::optional<Bounds> powerBounds(double base, WholeNumber count, std::size_t words)
{
    const int bits = 64 - std::countl_zero(count.mantissa);
    auto walk = [&](auto x, auto square, auto multiply, auto exponentOf) -> std::optional<decltype(x)> {
        auto power = x;
        for (int bit = bits - 2; bit >= -count.shift; --bit) {
            power = square(power);
            if (bit >= 0 && ((count.mantissa >> bit) & 1) != 0)
                power = multiply(power, x);
            if (exponentOf(power.first) > hopelessExponent)
                throw ArithmeticFailure();
            if (exponentOf(power.second) < -hopelessExponent - 80) // far below half the smallest double
                return std::nullopt;
        }
        return power;
    };
    if (words == 2) {
        using Pair = std::pair<TwoWords, TwoWords>;
        const auto power = walk(
            Pair{TwoWords(base), TwoWords(base)},
            [](const Pair& p) {
                return Pair{TwoWords::product(p.first, p.first, Rounding::Down),
                            TwoWords::product(p.second, p.second, Rounding::Up)};
            },
            [](const Pair& p, const Pair& x) {
                return Pair{TwoWords::product(p.first, x.first, Rounding::Down),
                            TwoWords::product(p.second, x.second, Rounding::Up)};
            },
            [](const TwoWords& t) { return t.binaryExponent(); });
        if (!power)
            return std::nullopt;
        return Bounds{power->first.wide(), power->second.wide()};
    }
    using Pair = std::pair<WideFloat, WideFloat>;
    const auto power = walk(
        Pair{WideFloat(base, words), WideFloat(base, words)},
        [&](const Pair& p) {
            return Pair{WideFloat::product(p.first, p.first, words, Rounding::Down),
                        WideFloat::product(p.second, p.second, words, Rounding::Up)};
        },
        [&](const Pair& p, const Pair& x) {
            return Pair{WideFloat::product(p.first, x.first, words, Rounding::Down),
                        WideFloat::product(p.second, x.second, words, Rounding::Up)};
        },
        [](const WideFloat& w) { return w.binaryExponent(); });
    if (!power)
        return std::nullopt;
    return Bounds{power->first, power->second};
}

std::optional<double> powerAttempt(double base, WholeNumber count, std::size_t words, bool settle)
{
    const auto bounds = powerBounds(base, count, words);
    if (!bounds)
        return 0.0; // underflowed far below the smallest double
    const Bounds& power = *bounds;
    const auto powerSide = [&](const WideFloat& m) {
        if (compare(power.low, m) > 0)
            return Side::Above;
        if (compare(power.high, m) < 0)
            return Side::Below;
        return power.exact() ? Side::Equal : Side::Unknown;
    };
    const double guess =
        std::ldexp(power.low.leadingBits(),
                   static_cast<int>(std::clamp<std::int64_t>(power.low.binaryExponent() - 64, -4000, 4000)));
    return nearestDouble(guess, powerSide, settle);
}

// A whole number × 10^tens, as the words of an integer, least significant first.
std::vector<std::uint64_t> scaledInteger(std::uint64_t value, std::int64_t tens)
{
    std::vector<std::uint64_t> words{value};
    for (std::int64_t k = 0; k < tens; ++k) {
        UInt128 carry = 0;
        for (std::uint64_t& word : words) {
            const UInt128 t = static_cast<UInt128>(word) * 10 + carry;
            word = static_cast<std::uint64_t>(t);
            carry = t >> 64;
        }
        if (carry != 0)
            words.push_back(static_cast<std::uint64_t>(carry));
    }
    return words;
}

Bounds exactly(const WideFloat& value) { return {value, value}; }

// With the rate p ÷ q, A = q + p and B = q, the installment C × i ÷ (1 − (1 + i)^−N)
// is C × A^N ÷ T_N, where T_N = Σ A^k B^(N−k) for k from 0 to N − 1: every
// term positive, so no digits cancel however small the rate. It rounds to m
// cents where m − ½ ≤ C A^N ÷ T_N < m + ½, and C A^N ÷ T_N ≥ m + ½ exactly
// where 2 C A^N ≥ (2m + 1) T_N. Nothing where the bounds in `words` words
// cannot tell; the count of cents where they can, or where it passes 64 bits.
std::optional<std::optional<std::int64_t>> centsAttempt(const WideFloat& capital, const WideFloat& p,
                                                        const WideFloat& q, WholeNumber count, std::size_t words,
                                                        const std::optional<WideFloat>& balloon)
{
    const Bounds a = sum(exactly(p), exactly(q), words);
    const Bounds b = exactly(q);
    // Binary powering from the top bit of N: (A^n, B^n, T_n) → (A^2n, B^2n, T_n (A^n + B^n))
    // → (A^(n+1), B^(n+1), B (T_n + A^n)), from (A, B, B).
    Bounds powerA = a, powerB = b, series = b;
    const int bits = 64 - std::countl_zero(count.mantissa);
    for (int bit = bits - 2; bit >= 0; --bit) {
        series = product(series, sum(powerA, powerB, words), words);
        powerA = product(powerA, powerA, words);
        powerB = product(powerB, powerB, words);
        if (((count.mantissa >> bit) & 1) != 0) {
            series = product(b, sum(series, powerA, words), words);
            powerA = product(powerA, a, words);
            powerB = product(powerB, b, words);
        }
    }
    const Bounds two = exactly(WideFloat(std::vector<std::uint64_t>{2}, 0));
    const Bounds twice = product(two, product(exactly(capital), powerA, words), words);
    // What is left at the end, B: the installment is (C A^N − B q^N) ÷ T_N,
    // and it is at least m + ½ where 2 C A^N ≥ (2m + 1) T_N + 2 B q^N, a sum
    // of positive terms, so that nothing cancels here either.
    // (A WideFloat is never zero: nothing left is no term at all.)
    const std::optional<Bounds> twiceLeft =
        balloon ? std::optional<Bounds>(product(two, product(exactly(*balloon), powerB, words), words)) : std::nullopt;
    const bool exact = twice.exact() && series.exact() && (!twiceLeft || twiceLeft->exact());
    // Whether the installment is at least m + ½; nothing where the bounds straddle it.
    const auto atLeastHalfAbove = [&](std::uint64_t m) -> std::optional<bool> {
        const UInt128 twiceAndOne = static_cast<UInt128>(m) * 2 + 1; // up to 2^64 + 1
        const WideFloat odd(std::vector<std::uint64_t>{static_cast<std::uint64_t>(twiceAndOne),
                                                       static_cast<std::uint64_t>(twiceAndOne >> 64)},
                            0);
        WideFloat high = WideFloat::product(odd, series.high, 2 + words, Rounding::Up);
        if (twiceLeft)
            high = WideFloat::sum(high, twiceLeft->high, 2 + words, Rounding::Up);
        if (compare(twice.low, high) >= 0)
            return true;
        WideFloat low = WideFloat::product(odd, series.low, 2 + words, Rounding::Down);
        if (twiceLeft)
            low = WideFloat::sum(low, twiceLeft->low, 2 + words, Rounding::Down);
        const int against = compare(twice.high, low);
        if (against < 0)
            return false;
        if (exact)
            return against >= 0; // a half cent exactly goes up, away from zero
        return std::nullopt;
    };
    // A first guess from the leading bits, good to a dozen digits, then a
    // bracket around it and bisection to the one m with m − ½ ≤ C A^N ÷ T_N < m + ½.
    const auto over = [](const WideFloat& top, const WideFloat& bottom) {
        return std::ldexp(top.leadingBits() / bottom.leadingBits(),
                          static_cast<int>(std::clamp<std::int64_t>(top.binaryExponent() - bottom.binaryExponent() - 1,
                                                                    -2000, 2000)));
    };
    const double guess =
        std::max(0.0, over(twice.low, series.high) - (twiceLeft ? over(twiceLeft->low, series.high) : 0.0));
    constexpr double beyond = 9.3e18; // above the largest 64-bit count of cents
    if (!(guess < beyond))
        return std::optional<std::int64_t>();
    constexpr std::uint64_t largest = std::numeric_limits<std::int64_t>::max();
    const auto centre = static_cast<std::uint64_t>(std::floor(guess + 0.5));
    for (double reach = std::max(4.0, guess * 1e-9);; reach *= 1024) {
        const auto step = static_cast<std::uint64_t>(std::min(reach, 1e19));
        std::uint64_t low = centre > step ? centre - step : 0;
        std::uint64_t high = std::min(centre + step, largest + 1);
        const auto aboveHigh = atLeastHalfAbove(high);
        const auto belowLow = low == 0 ? std::optional<bool>(true) : atLeastHalfAbove(low - 1);
        if (!aboveHigh || !belowLow)
            return std::nullopt;
        if (*aboveHigh) {
            if (high > largest)
                return std::optional<std::int64_t>();
            continue;
        }
        if (!*belowLow)
            continue;
        // The first m whose half above lies beyond the installment.
        while (low < high) {
            const std::uint64_t middle = low + (high - low) / 2;
            const auto above = atLeastHalfAbove(middle);
            if (!above)
                return std::nullopt;
            if (*above)
                low = middle + 1;
            else
                high = middle;
        }
        if (low > largest)
            return std::optional<std::int64_t>();
        return std::optional<std::int64_t>(static_cast<std::int64_t>(low));
    }
}

// The installment is C r + (C − left) r ÷ ((1 + r)^N − 1), r = p ÷ q: just
// above C r, which lies on a multiple of 1 ÷ 2q or at least 1 ÷ 2q from the
// next half cent. Where (1 + r)^N > e (2 q C r + 1) the part above is less
// than that, so no half cent lies between them and the installment rounds
// as C r does: on a long loan at a high rate, whose exact installment is
// often a hair above a half cent, without carrying thousands of digits to
// tell the hair. Nothing where that is not so, or p and q are
// not small 64-bit numbers.
std::optional<std::int64_t> roundedAsItsInterest(std::int64_t debt, std::int64_t numerator, std::int64_t exponent,
                                                 std::int64_t divisor, std::int64_t count)
{
    if (exponent < -18 || exponent > 18)
        return std::nullopt;
    constexpr UInt128 small = UInt128(1) << 62;
    UInt128 p = static_cast<std::uint64_t>(numerator), q = static_cast<std::uint64_t>(divisor);
    for (std::int64_t k = 0; k < (exponent < 0 ? -exponent : exponent) && p < small && q < small; ++k)
        (exponent < 0 ? q : p) *= 10;
    if (p >= small || q >= small)
        return std::nullopt;
    // The doubles' few ulps of error are far inside the margin: a factor e, and a billionth.
    const double rate =
        static_cast<double>(static_cast<std::uint64_t>(p)) / static_cast<double>(static_cast<std::uint64_t>(q));
    const double growth = static_cast<double>(count) * std::log1p(rate);
    const double needed =
        std::log(2.0 * static_cast<double>(static_cast<std::uint64_t>(q)) * static_cast<double>(debt) * rate + 1.0);
    if (!(growth > needed * (1 + 1e-9) + 1))
        return std::nullopt;
    // C r rounded half away from zero: ⌊(2 C p + q) ÷ 2q⌋, within 2^126.
    const UInt128 rounded = (UInt128(2) * static_cast<std::uint64_t>(debt) * p + q) / (UInt128(2) * q);
    if (rounded > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(rounded));
}

} // namespace

double exactPower(double base, double count)
{
    // Outside the domain the calculation never leaves: the platform's own power.
    if (!(base > 0) || !std::isfinite(base) || !(count >= 1) || !std::isfinite(count) || std::floor(count) != count)
        return std::pow(base, count);
    const WholeNumber n = split(count);
    constexpr std::size_t mostWords = 64;
    for (std::size_t words = 2;; words *= 2)
        if (const auto power = powerAttempt(base, n, words, words == mostWords))
            return *power;
}

double smallRateInstallment(double capital, double monthlyRate, double count)
{
    const WholeNumber n = split(count);
    // Each doubling of the precision settles all but ever rarer near-halfway
    // cases; only a value within 2^-4000 of a halfway point reaches the last.
    constexpr std::size_t mostWords = 64;
    for (std::size_t words = 2;; words *= 2)
        if (const auto installment = attempt(capital, monthlyRate, n, words, words == mostWords))
            return *installment;
}

std::optional<std::int64_t> annuityInCents(std::int64_t debt, std::int64_t numerator, std::int64_t exponent,
                                           std::int64_t divisor, std::int64_t count, std::int64_t left)
{
    if (debt < 1 || count < 1 || numerator < 0 || divisor < 1 || exponent > 4000 || exponent < -4000 || left < 0 ||
        left > debt)
        return std::nullopt;
    if (numerator == 0) { // (debt − left) ÷ count, half away from zero
        const std::int64_t repaid = debt - left;
        const std::int64_t whole = repaid / count, rest = repaid % count;
        return whole + (rest >= count - rest && rest > 0 ? 1 : 0);
    }
    if (const auto quick = roundedAsItsInterest(debt, numerator, exponent, divisor, count))
        return quick;
    const WideFloat p(scaledInteger(static_cast<std::uint64_t>(numerator), std::max<std::int64_t>(exponent, 0)), 0);
    const WideFloat q(scaledInteger(static_cast<std::uint64_t>(divisor), std::max<std::int64_t>(-exponent, 0)), 0);
    const WideFloat capital(std::vector<std::uint64_t>{static_cast<std::uint64_t>(debt)}, 0);
    const WholeNumber n{static_cast<std::uint64_t>(count), 0};
    const std::optional<WideFloat> balloon =
        left > 0 ? std::optional<WideFloat>(WideFloat(std::vector<std::uint64_t>{static_cast<std::uint64_t>(left)}, 0))
                 : std::nullopt;
    // Each doubling of the precision settles all but ever rarer cases within
    // a hair of a half cent; the products become exact before the words run
    // out, where an exact half cent is told apart too.
    for (std::size_t words = 2;; words *= 2)
        if (const auto cents = centsAttempt(capital, p, q, n, words, balloon))
            return *cents;
}

} // namespace ratalia
