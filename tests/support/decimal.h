#pragma once

// Decimal numbers with 45 digits after the point and as many before it as
// they need, for working out in a test, independently of the program, what
// a loan's figures must be. Slow and plain on purpose: limbs of nine decimal
// digits, products truncated toward zero, quotients by long division.

#include <algorithm>
#include <compare>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ratalia::test {

class Decimal {
public:
    static constexpr std::uint32_t base = 1'000'000'000;
    static constexpr std::size_t fractionLimbs = 5; // 45 digits after the point

    Decimal() = default;
    // A whole number; Decimal(1234, 2) is 12,34.
    explicit Decimal(std::int64_t whole, int decimals = 0)
    {
        negative_ = whole < 0;
        std::uint64_t magnitude = negative_ ? 0 - static_cast<std::uint64_t>(whole) : static_cast<std::uint64_t>(whole);
        Limbs m;
        while (magnitude != 0) {
            m.push_back(static_cast<std::uint32_t>(magnitude % base));
            magnitude /= base;
        }
        // × 10^(45 − decimals): whole limbs of nine digits, then the rest one digit at a time.
        const int shift = 9 * static_cast<int>(fractionLimbs) - decimals;
        m.insert(m.begin(), static_cast<std::size_t>(shift / 9), 0);
        for (int k = 0; k < shift % 9; ++k)
            m = timesSmall(m, 10);
        magnitude_ = trimmed(m);
        normalize();
    }
    // "6,75", "6.75", "-0,5", "200000": digits with one decimal separator at most.
    static Decimal parse(std::string_view text)
    {
        bool negative = !text.empty() && text.front() == '-';
        if (negative)
            text.remove_prefix(1);
        Decimal out(0);
        int decimals = -1;
        for (const char c : text) {
            if (c == ',' || c == '.') {
                if (decimals >= 0)
                    throw std::invalid_argument("two separators");
                decimals = 0;
                continue;
            }
            if (c < '0' || c > '9')
                throw std::invalid_argument("not a digit");
            out = out * Decimal(10) + Decimal(c - '0');
            if (decimals >= 0)
                ++decimals;
        }
        for (int k = 0; k < decimals; ++k)
            out = out / Decimal(10);
        out.negative_ = negative && !out.magnitude_.empty();
        return out;
    }

    friend Decimal operator+(const Decimal& a, const Decimal& b)
    {
        if (a.negative_ == b.negative_)
            return {a.negative_, added(a.magnitude_, b.magnitude_)};
        if (compareMagnitudes(a.magnitude_, b.magnitude_) >= 0)
            return {a.negative_, subtracted(a.magnitude_, b.magnitude_)};
        return {b.negative_, subtracted(b.magnitude_, a.magnitude_)};
    }
    friend Decimal operator-(const Decimal& a, const Decimal& b) { return a + -b; }
    Decimal operator-() const { return {!negative_, magnitude_}; }
    friend Decimal operator*(const Decimal& a, const Decimal& b)
    {
        Limbs p = multiplied(a.magnitude_, b.magnitude_);
        p.erase(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(std::min(fractionLimbs, p.size())));
        return {a.negative_ != b.negative_, trimmed(p)};
    }
    friend Decimal operator/(const Decimal& a, const Decimal& b)
    {
        if (b.magnitude_.empty())
            throw std::domain_error("division by zero");
        Limbs scaled = a.magnitude_;
        scaled.insert(scaled.begin(), fractionLimbs, 0);
        return {a.negative_ != b.negative_, quotient(trimmed(scaled), b.magnitude_)};
    }
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b)
    {
        const bool aNegative = a.negative_ && !a.magnitude_.empty();
        const bool bNegative = b.negative_ && !b.magnitude_.empty();
        if (aNegative != bNegative)
            return aNegative ? std::strong_ordering::less : std::strong_ordering::greater;
        const int c = compareMagnitudes(a.magnitude_, b.magnitude_);
        const int signedC = aNegative ? -c : c;
        return signedC < 0 ? std::strong_ordering::less
                           : (signedC > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
    }
    friend bool operator==(const Decimal& a, const Decimal& b) { return (a <=> b) == 0; }

    Decimal power(std::int64_t exponent) const
    {
        Decimal result(1), square = *this;
        for (; exponent > 0; exponent /= 2) {
            if (exponent % 2 != 0)
                result = result * square;
            square = square * square;
        }
        return result;
    }
    // The whole number nearest to value × 10^decimals, halves away from zero:
    // roundedTo(2) is the amount in cents.
    std::int64_t roundedTo(int decimals) const
    {
        Decimal scaled = *this;
        for (int k = 0; k < decimals; ++k)
            scaled = scaled * Decimal(10);
        const Decimal half = Decimal(5) / Decimal(10);
        Decimal magnitude = scaled.negative_ ? -scaled : scaled;
        magnitude = magnitude + half;
        // Drop the fraction of the magnitude: what is left is the rounded whole.
        std::uint64_t whole = 0;
        for (std::size_t k = magnitude.magnitude_.size(); k-- > fractionLimbs;)
            whole = whole * base + magnitude.magnitude_[k];
        return scaled.negative_ ? -static_cast<std::int64_t>(whole) : static_cast<std::int64_t>(whole);
    }
    // Cents as a decimal amount: Decimal::cents(144632) is 1 446,32.
    static Decimal cents(std::int64_t amount) { return Decimal(amount, 2); }

private:
    using Limbs = std::vector<std::uint32_t>; // least significant first, no leading zero limbs

    Decimal(bool negative, Limbs magnitude) : negative_(negative), magnitude_(std::move(magnitude)) { normalize(); }
    void normalize()
    {
        if (magnitude_.empty())
            negative_ = false;
    }

    static Limbs trimmed(Limbs m)
    {
        while (!m.empty() && m.back() == 0)
            m.pop_back();
        return m;
    }
    static int compareMagnitudes(const Limbs& a, const Limbs& b)
    {
        if (a.size() != b.size())
            return a.size() < b.size() ? -1 : 1;
        for (std::size_t k = a.size(); k-- > 0;)
            if (a[k] != b[k])
                return a[k] < b[k] ? -1 : 1;
        return 0;
    }
    static Limbs added(const Limbs& a, const Limbs& b)
    {
        Limbs out(std::max(a.size(), b.size()) + 1, 0);
        std::uint64_t carry = 0;
        for (std::size_t k = 0; k + 1 < out.size(); ++k) {
            const std::uint64_t sum = carry + (k < a.size() ? a[k] : 0) + (k < b.size() ? b[k] : 0);
            out[k] = static_cast<std::uint32_t>(sum % base);
            carry = sum / base;
        }
        out.back() = static_cast<std::uint32_t>(carry);
        return trimmed(out);
    }
    // a − b, a not below b.
    static Limbs subtracted(const Limbs& a, const Limbs& b)
    {
        Limbs out(a.size(), 0);
        std::int64_t borrow = 0;
        for (std::size_t k = 0; k < a.size(); ++k) {
            std::int64_t d = static_cast<std::int64_t>(a[k]) - borrow - (k < b.size() ? b[k] : 0);
            borrow = d < 0 ? 1 : 0;
            out[k] = static_cast<std::uint32_t>(d + borrow * base);
        }
        return trimmed(out);
    }
    static Limbs multiplied(const Limbs& a, const Limbs& b)
    {
        if (a.empty() || b.empty())
            return {};
        std::vector<std::uint64_t> wide(a.size() + b.size() + 1, 0);
        for (std::size_t i = 0; i < a.size(); ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < b.size(); ++j) {
                const std::uint64_t t = wide[i + j] + static_cast<std::uint64_t>(a[i]) * b[j] + carry;
                wide[i + j] = t % base;
                carry = t / base;
            }
            for (std::size_t k = i + b.size(); carry != 0; ++k) {
                const std::uint64_t t = wide[k] + carry;
                wide[k] = t % base;
                carry = t / base;
            }
        }
        return trimmed(Limbs(wide.begin(), wide.end()));
    }
    static Limbs timesSmall(const Limbs& a, std::uint32_t factor)
    {
        return multiplied(a, factor == 0 ? Limbs{} : Limbs{factor});
    }
    // ⌊a ÷ b⌋, a limb at a time, each found by bisection.
    static Limbs quotient(const Limbs& a, const Limbs& b)
    {
        Limbs out(a.size(), 0), remainder;
        for (std::size_t k = a.size(); k-- > 0;) {
            remainder.insert(remainder.begin(), a[k]);
            remainder = trimmed(remainder);
            std::uint32_t low = 0, high = base - 1;
            while (low < high) {
                const std::uint32_t middle = low + (high - low + 1) / 2;
                if (compareMagnitudes(timesSmall(b, middle), remainder) <= 0)
                    low = middle;
                else
                    high = middle - 1;
            }
            out[k] = low;
            remainder = subtracted(remainder, timesSmall(b, low));
        }
        return trimmed(out);
    }

    bool negative_ = false;
    Limbs magnitude_; // the value × 10^45
};

} // namespace ratalia::test
