#pragma once

#include "form/contact_links.h"
#include "form/loan_form.h"
#include "loan/amortization_plan.h"

#include <optional>
#include <vector>

namespace ratalia {

class LinkOpener;

// A window that shows the form: the model's changes, and whether the
// results show a plan, told once a user's action is over.
class FormWindowObserver : public FormObserver {
public:
    virtual void planAvailabilityChanged(bool available) = 0;
};

// The window's events and the procedures they run. It owns the form model and
// is the one way in for user actions, whether they come from the Qt window or
// from a test driving the program without a screen.
class FormEvents : private ChangeHandler {
public:
    FormEvents(NumberText numbers, ModalMessageBox& messageBox, LinkOpener& linkOpener);

    LoanForm& form() { return form_; }
    const LoanForm& form() const { return form_; }

    // The window was created and is about to be shown.
    void load();
    // The user typed, pasted or deleted in an input field; other fields are read-only.
    void edit(Field field, Text text);
    // A field's control now shows `shown`, by the user's hand: an input
    // takes it; a result field, which the user cannot change, keeps its own.
    // Returns what the control must show instead, where that differs.
    std::optional<Text> typed(Field field, Text shown);
    // Runs the button's procedure, only while it is enabled.
    void click(Button button);
    // Choosing the unit that is already chosen changes nothing.
    void choose(DurationUnit unit);
    void click(Link link);

    // What the last calculation worked with, while the results still show it;
    // a changed input or unit takes it away.
    bool hasPlan() const;
    std::optional<LoanTerms> planTerms() const;
    // The number of installments the last calculation worked with, even
    // where it could not finish (a power too large for the installment).
    const Text& lastInstallmentCount() const { return lastInstallmentCount_; }

    void addObserver(FormWindowObserver& observer);
    void removeObserver(FormWindowObserver& observer);

private:
    void inputChanged(Field field) override;
    // Tells the windows when a user's action has made a plan available or taken it away.
    void userActionEnded();

    LoanForm form_;
    LinkOpener& linkOpener_;
    std::optional<CalculatedFigures> calculated_;
    Text lastInstallmentCount_;
    bool planAvailable_ = false;
    std::vector<FormWindowObserver*> windows_;
};

} // namespace ratalia
