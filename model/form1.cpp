#include "model/form1.h"

#include "model/run_time_error.h"

#include <algorithm>
#include <utility>

namespace ratalia {

Form1::Form1(NumberText numbers, MessageBox& messageBox, ChangeHandler& changeHandler)
    : numbers_(numbers), messageBox_(messageBox), changeHandler_(changeHandler)
{
}

void Form1::setText(Field field, Text text)
{
    Text& current = texts_[index(field)];
    if (current == text)
        return;
    current = std::move(text);
    readings_[index(field)].reset();
    for (FormObserver* observer : observers_)
        observer->textChanged(field, current);
    if (isInput(field))
        changeHandler_.inputChanged(field);
}

double Form1::number(Field field) const
{
    auto& reading = readings_[index(field)];
    if (!reading)
        reading = numbers_.tryToNumber(texts_[index(field)]);
    if (!*reading)
        throw ConversionFailure();
    return **reading;
}

bool Form1::select(Option option)
{
    if (option_ == option)
        return false;
    option_ = option;
    for (FormObserver* observer : observers_)
        observer->optionChanged(option);
    return true;
}

void Form1::setEnabled(Button button, bool enabled)
{
    if (enabled_[index(button)] == enabled)
        return;
    enabled_[index(button)] = enabled;
    for (FormObserver* observer : observers_)
        observer->enabledChanged(button, enabled);
}

void Form1::addObserver(FormObserver& observer)
{
    observers_.push_back(&observer);
}

void Form1::removeObserver(FormObserver& observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

} // namespace ratalia
