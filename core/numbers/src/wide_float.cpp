#include "wide_float.h"
#include "numbers/uint128.h"

#include <algorithm>
#include <bit>

namespace ratalia {
namespace {

using Words = std::vector<std::uint64_t>;
using DoubleWord = UInt128;

Words shiftedLeft(const Words& words, std::int64_t bits)
{
    const auto wordShift = static_cast<std::size_t>(bits / 64);
    const auto bitShift = static_cast<unsigned>(bits % 64);
    Words out(words.size() + wordShift + 1, 0);
    for (std::size_t i = 0; i < words.size(); ++i) {
        out[i + wordShift] |= words[i] << bitShift;
        if (bitShift != 0)
            out[i + wordShift + 1] |= words[i] >> (64 - bitShift);
    }
    return out;
}

} // namespace

WideFloat::WideFloat(double value, std::size_t words)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biased = static_cast<std::int64_t>((bits >> 52) & 0x7ff);
    std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased != 0)
        fraction |= std::uint64_t{1} << 52;
    *this =
        rounded({fraction}, (biased == 0 ? 1 : biased) - 1075, std::max<std::size_t>(words, 1), Rounding::Down, false);
}

WideFloat::WideFloat(Words words, std::int64_t exponent)
{
    const std::size_t size = words.size();
    *this = rounded(std::move(words), exponent, size, Rounding::Down, false);
}

WideFloat WideFloat::rounded(Words raw, std::int64_t exponent, std::size_t words, Rounding rounding, bool sticky)
{
    while (raw.back() == 0)
        raw.pop_back();
    const int shift = std::countl_zero(raw.back());
    if (shift != 0) {
        raw = shiftedLeft(raw, shift);
        raw.pop_back();
        exponent -= shift;
    }
    if (raw.size() < words) {
        exponent -= 64 * static_cast<std::int64_t>(words - raw.size());
        raw.insert(raw.begin(), words - raw.size(), 0);
    } else if (raw.size() > words) {
        const std::size_t dropped = raw.size() - words;
        sticky = sticky || std::any_of(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(dropped),
                                       [](std::uint64_t w) { return w != 0; });
        raw.erase(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(dropped));
        exponent += 64 * static_cast<std::int64_t>(dropped);
    }
    if (rounding == Rounding::Up && sticky) {
        bool carry = true;
        for (std::size_t i = 0; i < raw.size() && carry; ++i)
            carry = ++raw[i] == 0;
        if (carry) { // all ones became 2^(64 × words)
            raw.back() = std::uint64_t{1} << 63;
            exponent += 1;
        }
    }
    WideFloat out;
    out.mantissa_ = std::move(raw);
    out.exponent_ = exponent;
    return out;
}

WideFloat WideFloat::product(const WideFloat& a, const WideFloat& b, std::size_t words, Rounding rounding)
{
    const Words& x = a.mantissa_;
    const Words& y = b.mantissa_;
    Words raw(x.size() + y.size(), 0);
    for (std::size_t i = 0; i < x.size(); ++i) {
        DoubleWord carry = 0;
        for (std::size_t j = 0; j < y.size(); ++j) {
            const DoubleWord t = static_cast<DoubleWord>(x[i]) * y[j] + raw[i + j] + carry;
            raw[i + j] = static_cast<std::uint64_t>(t);
            carry = t >> 64;
        }
        raw[i + y.size()] = static_cast<std::uint64_t>(carry);
    }
    return rounded(std::move(raw), a.exponent_ + b.exponent_, words, rounding, false);
}

WideFloat WideFloat::sum(const WideFloat& a, const WideFloat& b, std::size_t words, Rounding rounding)
{
    const WideFloat& big = a.binaryExponent() >= b.binaryExponent() ? a : b;
    const WideFloat& small = &big == &a ? b : a;
    // Far enough below the last kept bit, the smaller number only tells that
    // something was dropped.
    const auto reach = 64 * static_cast<std::int64_t>(std::max(words, big.words()) + 2);
    if (big.binaryExponent() - small.binaryExponent() > reach)
        return rounded(big.mantissa_, big.exponent_, words, rounding, true);

    const std::int64_t low = std::min(a.exponent_, b.exponent_);
    Words x = shiftedLeft(a.mantissa_, a.exponent_ - low);
    Words y = shiftedLeft(b.mantissa_, b.exponent_ - low);
    if (x.size() < y.size())
        std::swap(x, y);
    x.push_back(0);
    bool carry = false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const std::uint64_t add = (i < y.size() ? y[i] : 0);
        const std::uint64_t s = x[i] + add;
        const bool overflow = s < x[i];
        x[i] = s + (carry ? 1 : 0);
        carry = overflow || (carry && x[i] == 0);
    }
    return rounded(std::move(x), low, words, rounding, false);
}

WideFloat WideFloat::half() const
{
    WideFloat out = *this;
    out.exponent_ -= 1;
    return out;
}

int compare(const WideFloat& a, const WideFloat& b)
{
    if (a.binaryExponent() != b.binaryExponent())
        return a.binaryExponent() < b.binaryExponent() ? -1 : 1;
    const std::size_t n = std::max(a.words(), b.words());
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t x = i < a.words() ? a.mantissa_[a.words() - 1 - i] : 0;
        const std::uint64_t y = i < b.words() ? b.mantissa_[b.words() - 1 - i] : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace ratalia
