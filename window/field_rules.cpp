#include "window/field_rules.h"

#include "model/form1.h"

namespace ratalia {
namespace {

void enableCalculationByInputs(Form1& form)
{
    const bool anyEmpty = form.text(Field::Text1).empty() || form.text(Field::Text2).empty() ||
                          form.text(Field::Text3).empty();
    form.setEnabled(Button::Command1, !anyEmpty);
}

void clearResults(Form1& form)
{
    for (const Field field : {Field::Text5, Field::Text6, Field::Text7, Field::Text8})
        form.setText(field, {});
}

void disableRoundingWithoutResults(Form1& form)
{
    if (form.text(Field::Text8).empty() || form.text(Field::Text5).empty() || form.text(Field::Text6).empty() ||
        form.text(Field::Text7).empty())
        form.setEnabled(Button::Command2, false);
}

void amountOrDurationChanged(Form1& form)
{
    enableCalculationByInputs(form);
    clearResults(form);
    disableRoundingWithoutResults(form);
}

void optionClicked(Form1& form)
{
    clearResults(form);
    form.setEnabled(Button::Command2, false);
}

} // namespace

void Text1_Change(Form1& form) { amountOrDurationChanged(form); }
void Text2_Change(Form1& form) { amountOrDurationChanged(form); }

void Text3_Change(Form1& form)
{
    enableCalculationByInputs(form);
    // Only a new rate makes the monthly rate stale.
    form.setText(Field::Text4, {});
    clearResults(form);
    disableRoundingWithoutResults(form);
}

void Option1_Click(Form1& form) { optionClicked(form); }
void Option2_Click(Form1& form) { optionClicked(form); }

} // namespace ratalia
