#pragma once

#include <stdexcept>

namespace ratalia {

// A text that had to be read as a number is not one (the "type mismatch").
class ConversionFailure : public std::runtime_error {
public:
    ConversionFailure() : std::runtime_error("text is not a number") {}
};

// An operation gave an infinite or undefined result: overflow, division by zero.
class ArithmeticFailure : public std::runtime_error {
public:
    ArithmeticFailure() : std::runtime_error("arithmetic overflow or division by zero") {}
};

} // namespace ratalia
