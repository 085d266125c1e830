#pragma once

// The rules that keep the buttons and the result fields consistent with the
// inputs: "&Calcola" only while all three inputs hold text, and any change of
// an input or of months/years throws away results that no longer match.

namespace ratalia {

class LoanForm;

void capitalChanged(LoanForm& form);
void durationChanged(LoanForm& form);
void rateChanged(LoanForm& form);
// The user chose months or years.
void unitChosen(LoanForm& form);

} // namespace ratalia
