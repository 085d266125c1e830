#include "window/form_events.h"

#include "calc/installment_calculation.h"
#include "calc/rounding_and_reset.h"
#include "window/contact_links.h"
#include "window/field_rules.h"

#include <utility>

namespace ratalia {

FormEvents::FormEvents(NumberText numbers, MessageBox& messageBox, LinkOpener& linkOpener)
    : form_(numbers, messageBox, *this), linkOpener_(linkOpener)
{
}

void FormEvents::load() { Form_Load(form_); }

void FormEvents::edit(Field field, Text text)
{
    if (isInput(field))
        form_.setText(field, std::move(text));
}

void FormEvents::click(Button button)
{
    if (!form_.isEnabled(button))
        return;
    switch (button) {
    case Button::Command1:
        Command1_Click(form_);
        break;
    case Button::Command2:
        Command2_Click(form_);
        break;
    case Button::Command3:
        Command3_Click(form_);
        break;
    }
}

void FormEvents::select(Option option)
{
    if (!form_.select(option))
        return;
    if (option == Option::Option1)
        Option1_Click(form_);
    else
        Option2_Click(form_);
}

void FormEvents::click(Link link)
{
    if (link == Link::Label16)
        IndirizzoPosta_(linkOpener_);
    else
        IndirizzoSito_(linkOpener_);
}

void FormEvents::inputChanged(Field field)
{
    switch (field) {
    case Field::Text1:
        Text1_Change(form_);
        break;
    case Field::Text2:
        Text2_Change(form_);
        break;
    case Field::Text3:
        Text3_Change(form_);
        break;
    default:
        break;
    }
}

} // namespace ratalia
