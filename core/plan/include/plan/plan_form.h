#pragma once

// The plan window's model, without a screen: the loan a calculation worked
// out, what the user chose and typed for the plan (its kind and costs), and
// the plan that follows, worked out again at every change. A front end shows
// it and forwards the user's edits; the one message a wrong input or a
// refused plan gets is the model's too.

#include "loan/plan_request.h"
#include "plan/plan_pages.h"
#include "plan/plan_text.h"
#include "plan/plan_window_layout.h"

#include <optional>
#include <vector>

namespace ratalia {

class PlanFormObserver {
public:
    virtual ~PlanFormObserver() = default;
    // The plan, its figures or its message changed.
    virtual void planChanged() = 0;
};

class PlanForm {
public:
    explicit PlanForm(const NumberText& numbers);

    // Why the loan has no plan as it first opens (the French plan, without
    // costs): the one sentence the main window says instead of opening it.
    static std::optional<Text> refusalOf(const LoanTerms& terms, const NumberText& numbers);
    PlanForm(const PlanForm&) = delete;
    PlanForm& operator=(const PlanForm&) = delete;

    // A new loan from a calculation; what the user typed for the plan stays.
    void showLoan(LoanTerms terms);
    // The text of an amount or percentage input, or the kind of plan.
    void edit(PlanInput input, Text text);
    void choose(PlanKind kind);
    // After a partial early repayment: the same installment, fewer of them (or a smaller one).
    void chooseReduceDuration(bool reduceDuration);
    // Whose law limits an early repayment's penalty.
    void chooseCredit(CreditKind credit);
    // One of a choice's options (PlanWindowLayout::choices), whichever choice it is.
    void choose(PlanInput input, const PlanChoice& option);

    const PlanInputs& inputs() const { return inputs_; }
    const Text& text(PlanInput input) const;
    const NumberText& numbers() const { return numbers_; }
    const AmountText& amounts() const { return amounts_; }

    // The plan shown, or nothing (no loan yet, or a plan the loan cannot have).
    const AmortizationPlan* plan() const;
    // The one message the window shows: a wrong input (the plan is then
    // shown without its costs) or why there is no plan.
    const std::optional<Text>& message() const { return message_; }
    // The figures of what is shown, each list empty without a plan.
    std::vector<Figure> loanFigures() const;
    std::vector<Figure> costFigures() const;
    std::vector<Figure> repaymentFigures() const;
    std::vector<Figure> totals() const;
    Text note() const;
    // What a printout shows: every figure, the rows, the yearly totals, the
    // totals and the note; nothing without a plan.
    std::optional<PlanReport> report() const;

    void addObserver(PlanFormObserver& observer);
    void removeObserver(PlanFormObserver& observer);

private:
    void update();
    // Whether the costs could be read: a wrong input that is not a cost leaves them shown.
    bool costsKnown() const;

    NumberText numbers_;
    AmountText amounts_;
    std::optional<LoanTerms> terms_;
    PlanInputs inputs_;
    std::optional<PlanOutcome> outcome_;
    std::optional<Text> message_;
    std::vector<PlanFormObserver*> observers_;
};

} // namespace ratalia
