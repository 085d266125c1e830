#include "form/form_events.h"

#include "calculation.h"
#include "field_rules.h"
#include "form/contact_links.h"
#include "rounding_and_reset.h"

#include <algorithm>
#include <utility>

namespace ratalia {

FormEvents::FormEvents(NumberText numbers, ModalMessageBox& messageBox, LinkOpener& linkOpener)
    : form_(numbers, messageBox, *this), linkOpener_(linkOpener)
{
}

void FormEvents::load()
{
    loadDefaults(form_);
    userActionEnded();
}

void FormEvents::edit(Field field, Text text)
{
    if (isInput(field))
        form_.setText(field, std::move(text));
    userActionEnded();
}

std::optional<Text> FormEvents::typed(Field field, Text shown)
{
    edit(field, shown);
    if (shown == form_.text(field))
        return std::nullopt;
    return form_.text(field);
}

void FormEvents::click(Button button)
{
    if (!form_.isEnabled(button))
        return;
    switch (button) {
    case Button::Calculate: {
        CalculationOutcome outcome = calculate(form_);
        calculated_ = std::move(outcome.figures);
        lastInstallmentCount_ = std::move(outcome.installmentCount);
        break;
    }
    case Button::Round:
        roundToCents(form_);
        break;
    case Button::ResetRate:
        resetStandardRate(form_);
        break;
    }
    userActionEnded();
}

void FormEvents::choose(DurationUnit unit)
{
    if (form_.choose(unit)) {
        calculated_.reset();
        unitChosen(form_);
    }
    userActionEnded();
}

void FormEvents::click(Link link)
{
    if (link == Link::Email)
        openEmail(linkOpener_);
    else
        openWebSite(linkOpener_);
}

bool FormEvents::hasPlan() const
{
    return calculated_ && std::none_of(resultsClearedByAnyChange.begin(), resultsClearedByAnyChange.end(),
                                       [&](Field field) { return form_.text(field).empty(); });
}

// The inputs cannot have changed since the calculation: a change would have
// dropped its figures.
std::optional<LoanTerms> FormEvents::planTerms() const
{
    if (!hasPlan())
        return std::nullopt;
    return LoanTerms{form_.text(Field::Capital),         form_.text(Field::Duration), form_.durationUnit(),
                     form_.text(Field::AnnualRate),      calculated_->monthlyRate,    calculated_->installment,
                     form_.text(Field::InstallmentCount)};
}

void FormEvents::addObserver(FormWindowObserver& observer)
{
    form_.addObserver(observer);
    windows_.push_back(&observer);
}

void FormEvents::removeObserver(FormWindowObserver& observer)
{
    form_.removeObserver(observer);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &observer), windows_.end());
}

// A calculation hands over what it worked with only once it has returned,
// after its last change: the windows hear of it when the action is over.
void FormEvents::userActionEnded()
{
    if (hasPlan() == planAvailable_)
        return;
    planAvailable_ = !planAvailable_;
    for (FormWindowObserver* window : windows_)
        window->planAvailabilityChanged(planAvailable_);
}

void FormEvents::inputChanged(Field field)
{
    calculated_.reset();
    switch (field) {
    case Field::Capital:
        capitalChanged(form_);
        break;
    case Field::Duration:
        durationChanged(form_);
        break;
    case Field::AnnualRate:
        rateChanged(form_);
        break;
    default:
        break;
    }
}

} // namespace ratalia
