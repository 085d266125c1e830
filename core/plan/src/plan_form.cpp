#include "plan/plan_form.h"

#include <algorithm>
#include <utility>

namespace ratalia {

PlanForm::PlanForm(const NumberText& numbers)
    : numbers_(numbers), amounts_(numbers.decimalSeparator(), numbers.groupSeparator())
{
}

std::optional<Text> PlanForm::refusalOf(const LoanTerms& terms, const NumberText& numbers)
{
    const auto plan = amortizationPlan(terms, numbers);
    if (const auto* refusal = std::get_if<PlanRefusal>(&plan))
        return refusalText(*refusal, AmountText(numbers.decimalSeparator(), numbers.groupSeparator()));
    return std::nullopt;
}

void PlanForm::showLoan(LoanTerms terms)
{
    terms_ = std::move(terms);
    update();
}

void PlanForm::edit(PlanInput input, Text text)
{
    Text* field = nullptr;
    switch (input) {
    case PlanInput::Kind:
        return;
    case PlanInput::InitialFees:
        field = &inputs_.initialFees;
        break;
    case PlanInput::SubstituteTax:
        field = &inputs_.substituteTax;
        break;
    case PlanInput::InstallmentFee:
        field = &inputs_.installmentFee;
        break;
    case PlanInput::AnnualFee:
        field = &inputs_.annualFee;
        break;
    case PlanInput::FirstDue:
        field = &inputs_.firstDue;
        break;
    case PlanInput::RepayAfter:
        field = &inputs_.repayAfter;
        break;
    case PlanInput::RepayAmount:
        field = &inputs_.repayAmount;
        break;
    case PlanInput::Penalty:
        field = &inputs_.penalty;
        break;
    case PlanInput::Reduce:
    case PlanInput::Credit:
        return;
    }
    if (*field == text)
        return;
    *field = std::move(text);
    update();
}

void PlanForm::choose(PlanKind kind)
{
    if (inputs_.kind == kind)
        return;
    inputs_.kind = kind;
    update();
}

void PlanForm::chooseReduceDuration(bool reduceDuration)
{
    if (inputs_.reduceDuration == reduceDuration)
        return;
    inputs_.reduceDuration = reduceDuration;
    update();
}

void PlanForm::chooseCredit(CreditKind credit)
{
    if (inputs_.credit == credit)
        return;
    inputs_.credit = credit;
    update();
}

void PlanForm::choose(PlanInput input, const PlanChoice& option)
{
    if (input == PlanInput::Kind)
        choose(option.kind);
    else if (input == PlanInput::Reduce)
        chooseReduceDuration(option.reduceDuration);
    else if (input == PlanInput::Credit)
        chooseCredit(option.credit);
    else
        edit(input, option.value);
}

const Text& PlanForm::text(PlanInput input) const
{
    static const Text none;
    switch (input) {
    case PlanInput::Kind:
        return none;
    case PlanInput::InitialFees:
        return inputs_.initialFees;
    case PlanInput::SubstituteTax:
        return inputs_.substituteTax;
    case PlanInput::InstallmentFee:
        return inputs_.installmentFee;
    case PlanInput::AnnualFee:
        return inputs_.annualFee;
    case PlanInput::FirstDue:
        return inputs_.firstDue;
    case PlanInput::RepayAfter:
        return inputs_.repayAfter;
    case PlanInput::RepayAmount:
        return inputs_.repayAmount;
    case PlanInput::Penalty:
        return inputs_.penalty;
    case PlanInput::Reduce:
    case PlanInput::Credit:
        return none;
    }
    return none;
}

const AmortizationPlan* PlanForm::plan() const
{
    return outcome_ ? std::get_if<AmortizationPlan>(&outcome_->plan) : nullptr;
}

bool PlanForm::costsKnown() const
{
    if (!outcome_ || !outcome_->error)
        return true;
    switch (outcome_->error->input) {
    case PlanInput::InitialFees:
    case PlanInput::SubstituteTax:
    case PlanInput::InstallmentFee:
    case PlanInput::AnnualFee:
        return false;
    default:
        return true;
    }
}

std::vector<Figure> PlanForm::loanFigures() const
{
    const AmortizationPlan* shown = plan();
    return shown ? ratalia::loanFigures(*terms_, *shown, amounts_, numbers_, costsKnown()) : std::vector<Figure>();
}

std::vector<Figure> PlanForm::costFigures() const
{
    const AmortizationPlan* shown = plan();
    return shown ? ratalia::costFigures(*shown, amounts_, costsKnown()) : std::vector<Figure>();
}

std::vector<Figure> PlanForm::repaymentFigures() const
{
    const AmortizationPlan* shown = plan();
    return shown ? ratalia::repaymentFigures(*shown, amounts_) : std::vector<Figure>();
}

std::vector<Figure> PlanForm::totals() const
{
    const AmortizationPlan* shown = plan();
    return shown ? planTotals(*shown, amounts_) : std::vector<Figure>();
}

Text PlanForm::note() const
{
    const AmortizationPlan* shown = plan();
    return shown ? planNote(*terms_, *shown, amounts_, numbers_) : Text();
}

std::optional<PlanReport> PlanForm::report() const
{
    const AmortizationPlan* shown = plan();
    if (!shown)
        return std::nullopt;
    std::vector<Figure> figures = loanFigures();
    for (const auto& more : {costFigures(), repaymentFigures()})
        figures.insert(figures.end(), more.begin(), more.end());
    return PlanReport{*shown, amounts_, figures, yearlyTotals(*shown), totals(), note()};
}

void PlanForm::addObserver(PlanFormObserver& observer) { observers_.push_back(&observer); }

void PlanForm::removeObserver(PlanFormObserver& observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void PlanForm::update()
{
    if (!terms_)
        return;
    outcome_ = planFor(*terms_, inputs_, numbers_);
    message_.reset();
    if (outcome_->error)
        message_ = inputErrorText(*outcome_->error, Naming::Window, amounts_);
    else if (const auto* refusal = std::get_if<PlanRefusal>(&outcome_->plan))
        message_ = refusalText(*refusal, amounts_);
    for (PlanFormObserver* observer : observers_)
        observer->planChanged();
}

} // namespace ratalia
