#include "core/rounding_and_reset.h"

#include "core/loan_form.h"

namespace ratalia {

void loadDefaults(LoanForm& form) { form.setText(Field::AnnualRate, form.numbers().localeText(standardRate)); }

void roundToCents(LoanForm& form)
{
    for (const Field field : {Field::Installment, Field::TotalPaid, Field::TotalInterest})
        form.setText(field, form.numbers().patternText(form.text(field), Pattern::TwoDecimals));
}

void resetStandardRate(LoanForm& form)
{
    form.setText(Field::AnnualRate, form.numbers().localeText(standardRate));
    for (const Field field : resultFields)
        form.setText(field, {});
}

} // namespace ratalia
