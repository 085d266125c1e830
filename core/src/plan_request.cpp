#include "core/plan_request.h"

#include "core/input_normalizer.h"
#include "core/plan_text.h"

namespace ratalia {
namespace {

bool blank(TextView text) { return text.find_first_not_of(u' ') == TextView::npos; }

// An amount as the main window reads one, in cents; nothing typed is nothing to pay.
std::variant<Cents, InputError> amount(PlanInput input, const Text& typed, const NumberText& numbers)
{
    if (blank(typed))
        return Cents{0};
    const Text text = normalizedInput(typed, numbers);
    const auto value = numbers.tryToNumber(text);
    if (!value)
        return InputError{input, InputError::Reason::NotAnAmount, typed};
    if (*value < 0)
        return InputError{input, InputError::Reason::Negative, typed};
    const auto cents = toCents(text, numbers);
    if (!cents)
        return InputError{input, InputError::Reason::TooLarge, typed};
    return *cents;
}

std::variant<ExactDecimal, InputError> percentage(PlanInput input, const Text& typed, const NumberText& numbers)
{
    if (blank(typed))
        return ExactDecimal{};
    const Text text = normalizedInput(typed, numbers);
    const auto value = numbers.tryToNumber(text);
    const auto exact = numbers.exactValue(text);
    if (!value || !exact)
        return InputError{input, InputError::Reason::NotAPercentage, typed};
    if (*value < 0)
        return InputError{input, InputError::Reason::Negative, typed};
    if (*value > 100)
        return InputError{input, InputError::Reason::AboveHundred, typed};
    return *exact;
}

} // namespace

Text inputName(PlanInput input, Naming naming)
{
    const bool window = naming == Naming::Window;
    switch (input) {
    case PlanInput::Kind:
        return window ? u"Ammortamento" : u"--ammortamento";
    case PlanInput::InitialFees:
        return window ? u"Spese iniziali" : u"--spese-iniziali";
    case PlanInput::SubstituteTax:
        return window ? u"Imposta sostitutiva" : u"--imposta";
    case PlanInput::InstallmentFee:
        return window ? u"Spese per rata" : u"--spese-rata";
    case PlanInput::AnnualFee:
        return window ? u"Spese annue" : u"--spese-annue";
    }
    return {};
}

Text inputErrorText(const InputError& error, Naming naming, const AmountText& amounts)
{
    using Reason = InputError::Reason;
    const Text name = inputName(error.input, naming) + u": ";
    switch (error.reason) {
    case Reason::NotAnAmount:
        return name + u"«" + error.typed + u"» non è un importo.";
    case Reason::TooLarge:
        return name + u"«" + error.typed + u"» è un importo troppo grande.";
    case Reason::Negative:
        return name + u"non può essere negativo.";
    case Reason::NotAPercentage:
        return name + u"«" + error.typed + u"» non è una percentuale.";
    case Reason::AboveHundred:
        return name + u"una percentuale non può superare 100.";
    case Reason::NothingReceived:
        return name + u"quanto si paga all'inizio (" + amounts.grouped(error.upfront) +
               u") non lascia nulla del capitale di " + amounts.grouped(error.capital) +
               u": non si riceverebbe nulla, e non c'è un TAEG.";
    }
    return {};
}

std::variant<LoanCosts, InputError> loanCosts(const PlanInputs& inputs, Cents capital, const NumberText& numbers)
{
    // In the order the window shows them, so that the first wrong one is named.
    const auto initial = amount(PlanInput::InitialFees, inputs.initialFees, numbers);
    if (const auto* error = std::get_if<InputError>(&initial))
        return *error;
    const auto tax = percentage(PlanInput::SubstituteTax, inputs.substituteTax, numbers);
    if (const auto* error = std::get_if<InputError>(&tax))
        return *error;
    const auto perInstallment = amount(PlanInput::InstallmentFee, inputs.installmentFee, numbers);
    if (const auto* error = std::get_if<InputError>(&perInstallment))
        return *error;
    const auto annual = amount(PlanInput::AnnualFee, inputs.annualFee, numbers);
    if (const auto* error = std::get_if<InputError>(&annual))
        return *error;

    LoanCosts costs;
    costs.initialFees = std::get<Cents>(initial);
    costs.perInstallment = std::get<Cents>(perInstallment);
    costs.annual = std::get<Cents>(annual);
    const auto share = shareOf(capital, Ratio{std::get<ExactDecimal>(tax), 100});
    if (!share)
        return InputError{PlanInput::SubstituteTax, InputError::Reason::TooLarge, inputs.substituteTax};
    costs.substituteTax = *share; // at most the capital: the percentage is at most 100
    const PlanInput blamed = costs.initialFees > 0 ? PlanInput::InitialFees : PlanInput::SubstituteTax;
    if (costs.initialFees >= capital)
        return InputError{blamed, InputError::Reason::NothingReceived, {}, costs.initialFees, capital};
    if (costs.initialFees + costs.substituteTax >= capital)
        return InputError{
            blamed, InputError::Reason::NothingReceived, {}, costs.initialFees + costs.substituteTax, capital};
    return costs;
}

PlanOutcome planFor(const LoanTerms& terms, const PlanInputs& inputs, const NumberText& numbers)
{
    auto loan = loanInCents(terms, numbers);
    if (auto* refusal = std::get_if<PlanRefusal>(&loan))
        return {*refusal, std::nullopt};
    LoanInCents& inCents = std::get<LoanInCents>(loan);
    inCents.kind = inputs.kind;
    std::optional<InputError> error;
    auto costs = loanCosts(inputs, inCents.capital, numbers);
    if (auto* wrong = std::get_if<InputError>(&costs))
        error = *wrong;
    else
        inCents.costs = std::get<LoanCosts>(costs);
    return {AmortizationPlan::make(inCents), error};
}

} // namespace ratalia
