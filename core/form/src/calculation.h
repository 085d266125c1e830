#pragma once

#include "loan/amortization_plan.h"

#include <optional>

namespace ratalia {

class LoanForm;

// "&Calcola": normalizes the three inputs, rejects impossible ones, rounds a
// fractional duration after a warning, and writes the monthly rate, the
// installment, the total paid, the total interest and the number of
// installments into the result fields. Each result is computed from the text
// an earlier step wrote, so what the user sees is exactly what was used.
struct CalculationOutcome {
    // The figures it wrote before rounding them, when every result was written.
    std::optional<CalculatedFigures> figures;
    // The number of installments it worked with, where it got that far.
    Text installmentCount;
};
CalculationOutcome calculate(LoanForm& form);

} // namespace ratalia
