#pragma once

// Unsigned 128-bit integers, for the exact products of two 64-bit numbers
// the money and the installment's power are worked out with. Where the
// compiler has them (64-bit targets) UInt128 is its own type; elsewhere (a
// 32-bit build) it is Portable128, two 64-bit words with the same
// arithmetic, so that every build writes the same digits.

#include <bit>
#include <concepts>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace ratalia {

class Portable128 {
public:
    constexpr Portable128() = default;
    constexpr Portable128(std::uint64_t high, std::uint64_t low) : high_(high), low_(low) {}
    // From any integer, as the compiler's type converts: negative values wrap.
    template <std::integral I>
    constexpr Portable128(I value) // NOLINT: converts implicitly, as the compiler's type does
        : high_(0), low_(static_cast<std::uint64_t>(value))
    {
        if constexpr (std::is_signed_v<I>)
            high_ = value < 0 ? ~std::uint64_t{0} : 0;
    }

    constexpr explicit operator std::uint64_t() const { return low_; }
    constexpr explicit operator std::int64_t() const { return static_cast<std::int64_t>(low_); }
    constexpr explicit operator bool() const { return (high_ | low_) != 0; }
    constexpr std::uint64_t high() const { return high_; }
    constexpr std::uint64_t low() const { return low_; }

    friend constexpr bool operator==(const Portable128&, const Portable128&) = default;
    friend constexpr auto operator<=>(const Portable128& a, const Portable128& b)
    {
        return a.high_ != b.high_ ? a.high_ <=> b.high_ : a.low_ <=> b.low_;
    }

    friend constexpr Portable128 operator~(const Portable128& a) { return {~a.high_, ~a.low_}; }
    friend constexpr Portable128 operator|(const Portable128& a, const Portable128& b)
    {
        return {a.high_ | b.high_, a.low_ | b.low_};
    }
    friend constexpr Portable128 operator&(const Portable128& a, const Portable128& b)
    {
        return {a.high_ & b.high_, a.low_ & b.low_};
    }
    friend constexpr Portable128 operator+(const Portable128& a, const Portable128& b)
    {
        const std::uint64_t low = a.low_ + b.low_;
        return {a.high_ + b.high_ + (low < a.low_ ? 1 : 0), low};
    }
    friend constexpr Portable128 operator-(const Portable128& a, const Portable128& b)
    {
        return {a.high_ - b.high_ - (a.low_ < b.low_ ? 1 : 0), a.low_ - b.low_};
    }
    friend constexpr Portable128 operator<<(const Portable128& a, int shift)
    {
        if (shift <= 0)
            return a;
        if (shift >= 128)
            return {};
        if (shift >= 64)
            return {a.low_ << (shift - 64), 0};
        return {(a.high_ << shift) | (a.low_ >> (64 - shift)), a.low_ << shift};
    }
    friend constexpr Portable128 operator>>(const Portable128& a, int shift)
    {
        if (shift <= 0)
            return a;
        if (shift >= 128)
            return {};
        if (shift >= 64)
            return {0, a.high_ >> (shift - 64)};
        return {a.high_ >> shift, (a.low_ >> shift) | (a.high_ << (64 - shift))};
    }
    friend constexpr Portable128 operator*(const Portable128& a, const Portable128& b)
    {
        Portable128 product = wideProduct(a.low_, b.low_);
        product.high_ += a.high_ * b.low_ + a.low_ * b.high_;
        return product;
    }
    friend constexpr Portable128 operator/(const Portable128& a, const Portable128& b) { return divide(a, b).first; }
    friend constexpr Portable128 operator%(const Portable128& a, const Portable128& b) { return divide(a, b).second; }

    constexpr Portable128& operator+=(const Portable128& b) { return *this = *this + b; }
    constexpr Portable128& operator*=(const Portable128& b) { return *this = *this * b; }
    constexpr Portable128& operator<<=(int shift) { return *this = *this << shift; }
    constexpr Portable128& operator>>=(int shift) { return *this = *this >> shift; }
    constexpr Portable128& operator++() { return *this = *this + 1; }

private:
    // a × b of two 64-bit words, in four products of 32-bit halves.
    static constexpr Portable128 wideProduct(std::uint64_t a, std::uint64_t b)
    {
        constexpr std::uint64_t half = 0xFFFFFFFFu;
        const std::uint64_t a0 = a & half, a1 = a >> 32, b0 = b & half, b1 = b >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & half) + (p10 & half);
        return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & half)};
    }
    // Long division, a bit at a time; b is not zero. Quotient, then remainder.
    static constexpr std::pair<Portable128, Portable128> divide(const Portable128& a, const Portable128& b)
    {
        using Result = std::pair<Portable128, Portable128>;
        if (b.high_ == 0 && a.high_ == 0)
            return Result{Portable128(a.low_ / b.low_), Portable128(a.low_ % b.low_)};
        if (b > a)
            return Result{Portable128(), a};
        const int bits = 128 - (a.high_ ? std::countl_zero(a.high_) : 64 + std::countl_zero(a.low_));
        Portable128 quotient, remainder;
        for (int bit = bits - 1; bit >= 0; --bit) {
            remainder = (remainder << 1) | ((a >> bit) & Portable128(1));
            quotient = quotient << 1;
            if (remainder >= b) {
                remainder = remainder - b;
                quotient = quotient | Portable128(1);
            }
        }
        return Result{quotient, remainder};
    }

    std::uint64_t high_ = 0;
    std::uint64_t low_ = 0;
};

#if defined(__SIZEOF_INT128__) && !defined(RATALIA_PORTABLE_128)
__extension__ using UInt128 = unsigned __int128;
#else
using UInt128 = Portable128;
#endif

} // namespace ratalia
