#pragma once

// Turns the fuzzer's bytes into what the program works with.

#include "numbers/text.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace ratalia::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return position_ >= size_; }
    std::uint8_t byte() { return empty() ? 0 : data_[position_++]; }

    // One of the separators regions use, and one that is neither "," nor ".".
    char16_t separator()
    {
        static constexpr char16_t separators[] = {u',', u'.', u'\u066B'};
        return separators[byte() % 3];
    }

    // Mostly characters that make numbers (as themselves, so that seeds
    // read as typed), now and then any UTF-16 unit.
    char16_t character()
    {
        static constexpr char common[] = "0123456789.,eE+- ";
        const std::uint8_t b = byte();
        for (const char c : common)
            if (c != '\0' && b == static_cast<std::uint8_t>(c))
                return static_cast<char16_t>(c);
        if (b < 0xE0)
            return static_cast<char16_t>(common[b % (sizeof common - 1)]);
        return static_cast<char16_t>(byte() | (byte() << 8));
    }

    Text text(std::size_t maxLength)
    {
        const std::size_t length = byte() % (maxLength + 1);
        Text out;
        for (std::size_t i = 0; i < length && !empty(); ++i)
            out += character();
        return out;
    }

    Text rest()
    {
        Text out;
        while (!empty())
            out += character();
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

[[noreturn]] inline void broken(const char* rule)
{
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

} // namespace ratalia::fuzz
