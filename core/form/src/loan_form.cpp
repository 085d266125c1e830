#include "form/loan_form.h"

#include "numbers/failures.h"

#include <algorithm>
#include <utility>

namespace ratalia {

LoanForm::LoanForm(NumberText numbers, ModalMessageBox& messageBox, ChangeHandler& changeHandler)
    : numbers_(numbers), messageBox_(messageBox), changeHandler_(changeHandler)
{
}

void LoanForm::setText(Field field, Text text)
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

double LoanForm::number(Field field) const
{
    auto& reading = readings_[index(field)];
    if (!reading)
        reading = Reading{numbers_.tryToNumber(texts_[index(field)])};
    if (!reading->value)
        throw ConversionFailure();
    return *reading->value;
}

bool LoanForm::choose(DurationUnit unit)
{
    if (unit_ == unit)
        return false;
    unit_ = unit;
    for (FormObserver* observer : observers_)
        observer->unitChanged(unit);
    return true;
}

void LoanForm::setEnabled(Button button, bool enabled)
{
    if (enabled_[index(button)] == enabled)
        return;
    enabled_[index(button)] = enabled;
    for (FormObserver* observer : observers_)
        observer->enabledChanged(button, enabled);
}

void LoanForm::describeTo(FormObserver& observer) const
{
    for (std::size_t i = 0; i < texts_.size(); ++i)
        observer.textChanged(static_cast<Field>(i), texts_[i]);
    for (std::size_t i = 0; i < enabled_.size(); ++i)
        observer.enabledChanged(static_cast<Button>(i), enabled_[i]);
    observer.unitChanged(unit_);
}

void LoanForm::addObserver(FormObserver& observer) { observers_.push_back(&observer); }

void LoanForm::removeObserver(FormObserver& observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

} // namespace ratalia
