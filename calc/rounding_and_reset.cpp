#include "calc/rounding_and_reset.h"

#include "model/form1.h"

namespace ratalia {

void Form_Load(Form1& form)
{
    form.setText(Field::Text3, form.numbers().localeText(standardRate));
}

void Command2_Click(Form1& form)
{
    for (const Field field : {Field::Text5, Field::Text6, Field::Text7})
        form.setText(field, form.numbers().patternText(form.text(field), Pattern::TwoDecimals));
}

void Command3_Click(Form1& form)
{
    form.setText(Field::Text3, form.numbers().localeText(standardRate));
    for (const Field field : {Field::Text5, Field::Text6, Field::Text7, Field::Text8})
        form.setText(field, {});
}

} // namespace ratalia
