#pragma once

namespace ratalia {

class LoanForm;

// The standard annual rate, in per cent.
inline constexpr double standardRate = 6.75;

// Start-up: puts the standard rate into the rate field.
void loadDefaults(LoanForm& form);
// "&Arrotonda": rounds the installment, total paid and total interest to cents.
void roundToCents(LoanForm& form);
// "Ripristina tasso standard": puts the standard rate back and empties the results.
void resetStandardRate(LoanForm& form);

} // namespace ratalia
