#include "loan/plan_request.h"

#include "numbers/amount_text.h"
#include "numbers/input_normalizer.h"

#include <algorithm>
#include <cmath>

namespace ratalia {
namespace {

bool blank(TextView text) { return text.find_first_not_of(u' ') == TextView::npos; }

// "tutto" in any case, with spaces around it.
bool meansEverything(TextView typed)
{
    const auto first = typed.find_first_not_of(u' ');
    if (first == TextView::npos)
        return false;
    const TextView word = typed.substr(first, typed.find_last_not_of(u' ') - first + 1);
    return std::equal(word.begin(), word.end(), everything.begin(), everything.end(), [](char16_t a, char16_t b) {
        return (a >= u'A' && a <= u'Z' ? static_cast<char16_t>(a - u'A' + u'a') : a) == b;
    });
}

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
    case PlanInput::FirstDue:
        return window ? u"Prima rata" : u"--prima-rata";
    case PlanInput::RepayAfter:
        return window ? u"Estinzione dopo la rata" : u"--estinzione-dopo";
    case PlanInput::RepayAmount:
        return window ? u"Importo rimborsato" : u"--estinzione-importo";
    case PlanInput::Reduce:
        return window ? u"Riduci" : u"--riduci";
    case PlanInput::Penalty:
        return window ? u"Penale" : u"--penale";
    case PlanInput::Credit:
        return window ? u"Tipo di finanziamento" : u"--tipo-credito";
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
        return name + u"quanto si paga all'inizio (" + amounts.grouped(error.amount) +
               u") non lascia nulla del capitale di " + amounts.grouped(error.limit) +
               u": non si riceverebbe nulla, e non c'è un TAEG.";
    case Reason::NotAMonth:
        return name + u"«" + error.typed + u"» non è un mese: si scrive MM/AAAA, per esempio 01/2027.";
    case Reason::NotAnInstallment:
        return name + u"«" + error.typed + u"» non è il numero di una rata.";
    case Reason::BeyondThePlan:
        return name + u"il piano ha " + amounts.whole(error.installments) + u" rate, non " + error.typed + u".";
    case Reason::NothingOwed:
        return name + u"dopo la rata " + amounts.whole(error.installments) +
               u" il debito è estinto: non resta nulla da rimborsare.";
    case Reason::AboveTheDebt:
        return name + amounts.grouped(error.amount) + u" supera il debito residuo dopo la rata " +
               amounts.whole(error.installments) + u" (" + amounts.grouped(error.limit) + u").";
    case Reason::Zero:
        return name + u"deve essere più di zero.";
    case Reason::Missing:
        return name + (error.input == PlanInput::RepayAmount ? u"manca: un importo, oppure «tutto»."
                                                             : u"manca il numero della rata.");
    case Reason::ShortLoan:
        return name + u"non si paga sui finanziamenti di " + amounts.whole(longestUntaxedLoan) +
               u" mesi o meno, e questo ha " + amounts.whole(error.installments) +
               (error.installments == 1 ? u" rata" : u" rate") + u" (DPR 601/1973, art. 15).";
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

namespace {

// The early repayment as typed, checked against the plan without it: after an
// installment before the last, of no more than is then owed.
std::variant<std::optional<EarlyRepayment>, InputError>
earlyRepayment(const PlanInputs& inputs, const AmortizationPlan& plan, const NumberText& numbers)
{
    using Reason = InputError::Reason;
    const bool withAfter = !blank(inputs.repayAfter), withAmount = !blank(inputs.repayAmount);
    if (!withAfter && !withAmount)
        return std::optional<EarlyRepayment>();
    if (!withAfter)
        return InputError{PlanInput::RepayAfter, Reason::Missing, {}};
    if (!withAmount)
        return InputError{PlanInput::RepayAmount, Reason::Missing, {}};
    const Text afterText = normalizedInput(inputs.repayAfter, numbers);
    const auto k = numbers.tryToNumber(afterText);
    if (!k || *k < 1 || std::floor(*k) != *k)
        return InputError{PlanInput::RepayAfter, Reason::NotAnInstallment, inputs.repayAfter};
    const auto count = static_cast<std::int64_t>(plan.rows().size());
    if (*k > static_cast<double>(count)) {
        InputError error{PlanInput::RepayAfter, Reason::BeyondThePlan, inputs.repayAfter};
        error.installments = count;
        return error;
    }
    EarlyRepayment early;
    early.after = static_cast<std::int64_t>(*k);
    if (early.after == count) {
        InputError error{PlanInput::RepayAfter, Reason::NothingOwed, inputs.repayAfter};
        error.installments = count;
        return error;
    }
    const Cents owed = plan.rows()[static_cast<std::size_t>(early.after - 1)].remainingDebt;
    if (!meansEverything(inputs.repayAmount)) {
        const auto read = amount(PlanInput::RepayAmount, inputs.repayAmount, numbers);
        if (const auto* error = std::get_if<InputError>(&read))
            return *error;
        const Cents cents = std::get<Cents>(read);
        if (cents == 0)
            return InputError{PlanInput::RepayAmount, Reason::Zero, inputs.repayAmount};
        if (cents > owed) {
            InputError error{PlanInput::RepayAmount, Reason::AboveTheDebt, inputs.repayAmount, cents, owed};
            error.installments = early.after;
            return error;
        }
        early.amount = cents;
    }
    const auto penalty = percentage(PlanInput::Penalty, inputs.penalty, numbers);
    if (const auto* error = std::get_if<InputError>(&penalty))
        return *error;
    early.penalty = Ratio{std::get<ExactDecimal>(penalty), 100};
    early.reduceDuration = inputs.reduceDuration;
    return std::optional<EarlyRepayment>(early);
}

} // namespace

PlanOutcome planFor(const LoanTerms& terms, const PlanInputs& inputs, const NumberText& numbers)
{
    auto loan = loanInCents(terms, numbers);
    if (auto* refusal = std::get_if<PlanRefusal>(&loan))
        return {*refusal, std::nullopt};
    LoanInCents& inCents = std::get<LoanInCents>(loan);
    inCents.kind = inputs.kind;
    inCents.credit = inputs.credit;
    std::optional<InputError> error;
    auto costs = loanCosts(inputs, inCents.capital, numbers);
    if (auto* wrong = std::get_if<InputError>(&costs)) {
        error = *wrong;
    } else if (std::get<LoanCosts>(costs).substituteTax > 0 && inCents.installments <= longestUntaxedLoan) {
        error = InputError{PlanInput::SubstituteTax, InputError::Reason::ShortLoan, inputs.substituteTax};
        error->installments = inCents.installments;
    } else {
        inCents.costs = std::get<LoanCosts>(costs);
    }
    if (!blank(inputs.firstDue)) {
        inCents.firstDue = readMonth(inputs.firstDue);
        if (!inCents.firstDue && !error)
            error = InputError{PlanInput::FirstDue, InputError::Reason::NotAMonth, inputs.firstDue};
    }
    auto plan = AmortizationPlan::make(inCents);
    const auto* made = std::get_if<AmortizationPlan>(&plan);
    if (!made || error)
        return {std::move(plan), error};
    // The early repayment is checked against the plan without it, then the plan is made again with it.
    auto early = earlyRepayment(inputs, *made, numbers);
    if (auto* wrong = std::get_if<InputError>(&early))
        return {std::move(plan), *wrong};
    inCents.repayment = std::get<std::optional<EarlyRepayment>>(early);
    if (!inCents.repayment)
        return {std::move(plan), std::nullopt};
    return {AmortizationPlan::make(inCents), std::nullopt};
}

} // namespace ratalia
