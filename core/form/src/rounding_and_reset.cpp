#include "rounding_and_reset.h"

#include "form/loan_form.h"

namespace ratalia {

void loadDefaults(LoanForm& form) { form.setText(Field::AnnualRate, form.numbers().localeText(standardRate)); }

void roundToCents(LoanForm& form)
{
    for (const Field field : amountResults)
        form.setText(field, form.numbers().patternText(form.text(field), Pattern::TwoDecimals));
}

void resetStandardRate(LoanForm& form)
{
    form.setText(Field::AnnualRate, form.numbers().localeText(standardRate));
    for (const Field field : resultsClearedByAnyChange)
        form.setText(field, {});
}

} // namespace ratalia
