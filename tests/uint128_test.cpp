#include "numbers/uint128.h"

#include <gtest/gtest.h>

#include <random>

namespace ratalia::test {
namespace {

using P = Portable128;

// Worked out by hand, so that a 32-bit build, which has no other 128-bit
// type to compare with, checks its own.
TEST(Portable128Test, does_the_arithmetic_of_two_words)
{
    constexpr std::uint64_t all = ~std::uint64_t{0};
    EXPECT_EQ(P(all) + P(1), P(1, 0));
    EXPECT_EQ(P(1, 0) - P(1), P(all));
    EXPECT_EQ(P(all) * P(all), P(all - 1, 1)); // (2^64 − 1)² = 2^128 − 2^65 + 1
    EXPECT_EQ(P(1, 0) * P(3), P(3, 0));
    EXPECT_EQ(P(5, 7) / P(5, 7), P(1));
    EXPECT_EQ(P(10, 0) / P(10), P(1, 0));
    EXPECT_EQ(P(1, 3) % P(10), P(9)); // 2^64 + 3, and 2^64 = 18446744073709551616 ≡ 6 (mod 10)
    EXPECT_EQ(P(1) << 127, P(std::uint64_t{1} << 63, 0));
    EXPECT_EQ(P(std::uint64_t{1} << 63, 0) >> 127, P(1));
    EXPECT_EQ(P(-1), P(all, all));
    EXPECT_EQ(~P(0) / 10, P(0x1999999999999999, 0x9999999999999999));
    EXPECT_TRUE(P(1, 0) > P(all));
    EXPECT_EQ(static_cast<std::uint64_t>(P(3, 4)), 4u);
}

#if defined(__SIZEOF_INT128__)
// Where the compiler has its own, the two agree on a million random operands.
TEST(Portable128Test, agrees_with_the_compilers_own)
{
    __extension__ using Native = unsigned __int128;
    const auto native = [](const P& p) { return (static_cast<Native>(p.high()) << 64) | p.low(); };
    std::mt19937_64 random(20261208);
    for (int k = 0; k < 1'000'000; ++k) {
        // Words of every size, zero among them, so that carries and short divisions all come up.
        const auto word = [&] { return random() >> (random() % 64); };
        const P a(k % 3 == 0 ? 0 : word(), word());
        const P b(k % 5 == 0 ? 0 : word(), word() | 1);
        const int shift = static_cast<int>(random() % 128);
        ASSERT_EQ(native(a + b), native(a) + native(b));
        ASSERT_EQ(native(a - b), native(a) - native(b));
        ASSERT_EQ(native(a * b), native(a) * native(b));
        ASSERT_EQ(native(a / b), native(a) / native(b));
        ASSERT_EQ(native(a % b), native(a) % native(b));
        ASSERT_EQ(native(a << shift), native(a) << shift);
        ASSERT_EQ(native(a >> shift), native(a) >> shift);
        ASSERT_EQ(a < b, native(a) < native(b));
    }
}
#endif

} // namespace
} // namespace ratalia::test
