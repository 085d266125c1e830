#pragma once

// The plan window's model, without a screen: the inputs (the loan itself,
// filled from the main window's calculation, and everything else the plan
// takes), the plan that follows, worked out again at every change, what
// each field read, and the few sentences the window says. A front end
// shows it and forwards the user's edits.
//
// A new calculation in the main window brings its loan; the plan's other
// inputs stay, and the window says so while they do, with a way to start
// clean. While the main window's inputs differ from the calculation shown
// here, the window says that too.

#include "form/form_events.h"
#include "loan/offers.h"
#include "loan/plan_inputs.h"
#include "loan/plan_request.h"
#include "plan/offer_comparison.h"
#include "plan/plan_pages.h"
#include "plan/plan_text.h"

#include <optional>
#include <vector>

namespace ratalia {

class PlanFormObserver {
public:
    virtual ~PlanFormObserver() = default;
    // The inputs, the plan, its figures or the window's sentences changed.
    virtual void planChanged() = 0;
};

class PlanForm : private FormWindowObserver {
public:
    // Follows the main window's calculations from the start.
    PlanForm(const NumberText& numbers, FormEvents& mainWindow);
    ~PlanForm() override;
    PlanForm(const PlanForm&) = delete;
    PlanForm& operator=(const PlanForm&) = delete;

    // Opening the window: the main window's loan where it has one worked out.
    void open();
    // Whether the window is shown: a shown window follows each new calculation.
    void setShown(bool shown) { shown_ = shown; }

    // A loan from a calculation: the loan's own inputs become its, the rest stay.
    void showLoan(const LoanTerms& terms);
    // How many loans have come from calculations: a window opens a new one at its top.
    std::size_t loansShown() const { return loansShown_; }
    // A field's text, or a choice's option (for a listed field, its value).
    void edit(PlanInput input, Text text);
    void choose(PlanInput input, std::size_t option);
    // Back to the loan alone: every other input as a new window has it.
    void startClean();

    const PlanInputs& inputs() const { return inputs_; }
    // A field's text as the window shows it: what was typed, or, in the field
    // of the figure worked out from the other three, that figure
    // ("100.000,00"), empty where there is none.
    Text shownText(PlanInput input) const;
    // Whether the field shows the figure worked out from the others, which
    // the user does not type.
    bool workedOut(PlanInput input) const;
    // The option a choice, or a listed field, shows: for the imposta, the one whose value is typed.
    std::size_t shownChoice(PlanInput input) const;
    // A field's text as read ("1.500,00 €"), empty for an empty field, nothing where it does not read.
    std::optional<Text> reading(PlanInput input) const;
    const NumberText& numbers() const { return numbers_; }
    const AmountText& amounts() const { return amounts_; }

    // The plan shown, or nothing (no loan yet, a loan that cannot be read, or
    // a plan the loan cannot have).
    const AmortizationPlan* plan() const;
    // Why there is no plan, in one sentence, shown where the table would be.
    const std::optional<Text>& refusal() const { return refusal_; }
    // The one input that cannot be used, in one sentence that names it; the
    // plan is then shown without what depends on it.
    const std::optional<Text>& error() const { return error_; }
    // What the window says above the inputs: that the settings of the loan
    // before stay, or that the main window's data changed since.
    std::optional<Text> notice() const;
    // Whether Copia, Esporta, Stampa put out the plan on screen: there is
    // one, and every input was read.
    bool canExport() const { return plan() && !error_; }

    // The figures of what is shown, each list empty without a plan.
    std::vector<Figure> loanFigures() const;
    std::vector<Figure> costFigures() const;
    std::vector<Figure> repaymentFigures() const;
    // All three lists, in that order.
    std::vector<Figure> figures() const;
    std::vector<Figure> totals() const;
    Text note() const;
    // What a printout shows: every figure, the rows, the yearly totals, the
    // totals and the note; nothing without a plan.
    std::optional<PlanReport> report() const;

    // The offers the window holds, each a whole loan with its name; the one
    // shown is the current, whose inputs are inputs(). The first is the main
    // window's loan: a new calculation brings its loan there, and shows it;
    // after offers are opened from files, it brings it as one more offer.
    std::size_t offerCount() const { return offers_.size(); }
    std::size_t currentOffer() const { return current_; }
    const Text& offerName(std::size_t offer) const { return offers_[offer].name; }
    const std::vector<Offer>& offers() const { return offers_; }
    void selectOffer(std::size_t offer);
    // A new offer, a copy of the one shown under a name of its own, shown.
    void copyOffer();
    // The offer shown goes, where there are others; the one before it is shown.
    void removeOffer();
    void renameOffer(Text name);
    // Every offer side by side.
    OfferComparison comparison() const;

    // The file the offers were opened from or saved in, and whether they
    // changed since: the title says both.
    const std::optional<Text>& filePath() const { return filePath_; }
    bool changed() const { return changed_; }
    Text title() const;
    // The bytes Salva writes, and what a write that succeeded tells.
    std::string fileBytes() const;
    void saved(Text path);
    // The offers of the files, the first shown, the file kept as theirs where
    // there is one; or the one sentence why none is opened, nothing here changed.
    std::optional<Text> openFiles(std::span<const OffersFileBytes> files);
    // The question before closing or opening over offers that were not
    // saved; nothing where there are none to lose (one offer, never kept in a file).
    std::optional<Text> unsavedQuestion() const;

    void addObserver(PlanFormObserver& observer);
    void removeObserver(PlanFormObserver& observer);

private:
    // The main window's calculations and changes.
    void textChanged(Field, const Text&) override {}
    void unitChanged(DurationUnit) override {}
    void enabledChanged(Button, bool) override {}
    void planAvailabilityChanged(bool available) override;

    void update();
    // "Offerta 3": a name no offer has.
    Text freeOfferName() const;
    // Shows offer `offer`: the current's inputs kept first.
    void show(std::size_t offer);
    // Whether the costs could be read: a wrong input that is not a cost leaves them shown.
    bool costsKnown() const;

    NumberText numbers_;
    AmountText amounts_;
    FormEvents& mainWindow_;
    PlanInputs inputs_;
    // The main window's installment, while the loan here is the one it worked out.
    std::optional<PlanInputs> calculatedLoan_;
    Text windowInstallment_;
    bool keptSettings_ = false; // other inputs stayed when the last loan came
    bool mainChanged_ = false;  // the main window's inputs changed since
    bool shown_ = false;
    std::size_t loansShown_ = 0;
    std::vector<Offer> offers_;
    std::size_t current_ = 0;
    // The offer the main window's calculations bring their loan to; none
    // after opening files, until the next calculation adds one.
    std::optional<std::size_t> mainOffer_ = 0;
    std::optional<Text> filePath_;
    bool changed_ = false;
    std::optional<PlanOutcome> outcome_;
    std::optional<Text> refusal_;
    std::optional<Text> error_;
    std::vector<PlanFormObserver*> observers_;
};

} // namespace ratalia
