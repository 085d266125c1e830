#pragma once

// A loan as the main window's calculation leaves it: the texts it read and
// wrote, which the plan works out again in cents.

#include "numbers/text.h"

namespace ratalia {

enum class DurationUnit { Months, Years };

// What only a calculation knows: the figures it wrote before showing them
// rounded.
struct CalculatedFigures {
    Text monthlyRate; // with every digit the installment was computed from
    Text installment; // before any rounding to cents
};

// What a completed calculation worked with, as the texts it read and wrote.
struct LoanTerms {
    Text capital;
    Text duration; // after any rounding
    DurationUnit unit = DurationUnit::Months;
    Text annualRate;
    Text monthlyRate; // with every digit the installment was computed from
    Text installment; // before any rounding to cents
    Text installmentCount;
};

} // namespace ratalia
