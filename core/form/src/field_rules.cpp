#include "field_rules.h"

#include "form/loan_form.h"

#include <algorithm>

namespace ratalia {
namespace {

void enableCalculationByInputs(LoanForm& form)
{
    const bool anyEmpty =
        form.text(Field::Capital).empty() || form.text(Field::Duration).empty() || form.text(Field::AnnualRate).empty();
    form.setEnabled(Button::Calculate, !anyEmpty);
}

void clearResults(LoanForm& form)
{
    for (const Field field : resultsClearedByAnyChange)
        form.setText(field, {});
}

void disableRoundingWithoutResults(LoanForm& form)
{
    if (std::any_of(resultsClearedByAnyChange.begin(), resultsClearedByAnyChange.end(),
                    [&](Field field) { return form.text(field).empty(); }))
        form.setEnabled(Button::Round, false);
}

void amountOrDurationChanged(LoanForm& form)
{
    enableCalculationByInputs(form);
    clearResults(form);
    disableRoundingWithoutResults(form);
}

void unitClicked(LoanForm& form)
{
    clearResults(form);
    form.setEnabled(Button::Round, false);
}

} // namespace

void capitalChanged(LoanForm& form) { amountOrDurationChanged(form); }
void durationChanged(LoanForm& form) { amountOrDurationChanged(form); }

void rateChanged(LoanForm& form)
{
    enableCalculationByInputs(form);
    // Only a new rate makes the monthly rate stale.
    form.setText(Field::MonthlyRate, {});
    clearResults(form);
    disableRoundingWithoutResults(form);
}

void unitChosen(LoanForm& form) { unitClicked(form); }

} // namespace ratalia
