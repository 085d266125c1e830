#pragma once

// Positive binary numbers with a mantissa of many 64-bit words, rounded down
// or up on request. Carrying a lower and an upper bound through a computation
// bounds its exact result, which is how the installment gets digits that no
// math library decides: when the bounds are close enough to name one double,
// that double is the correctly rounded result.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ratalia {

enum class Rounding { Down, Up };

class WideFloat {
public:
    // The value of a positive finite double, exactly, in `words` words (at least one).
    WideFloat(double value, std::size_t words);
    // The integer `words` (least significant first, not all zero) × 2^exponent, exactly.
    WideFloat(std::vector<std::uint64_t> words, std::int64_t exponent);

    std::size_t words() const { return mantissa_.size(); }
    // The value is below 2^binaryExponent() and at least half of it.
    std::int64_t binaryExponent() const { return exponent_ + 64 * static_cast<std::int64_t>(mantissa_.size()); }
    // The top 64 bits of the mantissa as a double (between 2^63 and 2^64), to be
    // scaled by 2^(binaryExponent() - 64): a first guess, not a result.
    double leadingBits() const { return static_cast<double>(mantissa_.back()); }

    // a × b and a + b in `words` words, rounded in the given direction; exact
    // when the words suffice (a product needs a.words() + b.words()).
    static WideFloat product(const WideFloat& a, const WideFloat& b, std::size_t words, Rounding rounding);
    static WideFloat sum(const WideFloat& a, const WideFloat& b, std::size_t words, Rounding rounding);

    // Half the value, exactly.
    WideFloat half() const;

    friend int compare(const WideFloat& a, const WideFloat& b);
    friend bool operator==(const WideFloat& a, const WideFloat& b) { return compare(a, b) == 0; }

private:
    WideFloat() = default;
    // Makes a number of `words` words from an integer `raw` × 2^exponent, `raw`
    // not zero; `sticky` says that nonzero bits below `raw` were dropped already.
    static WideFloat rounded(std::vector<std::uint64_t> raw, std::int64_t exponent, std::size_t words,
                             Rounding rounding, bool sticky);

    std::vector<std::uint64_t> mantissa_; // least significant word first; the top bit is set
    std::int64_t exponent_ = 0;           // value = mantissa × 2^exponent
};

} // namespace ratalia
