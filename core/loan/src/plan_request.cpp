#include "loan/plan_request.h"

#include "numbers/input_normalizer.h"

#include <algorithm>
#include <cmath>

namespace ratalia {
namespace {

using Reason = InputError::Reason;

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

InputError wrong(PlanInput input, Reason reason, const PlanInputs& inputs)
{
    return InputError{input, reason, inputs.text(input)};
}

// An amount in cents; nothing typed is nothing to pay.
std::variant<Cents, InputError> amount(PlanInput input, const PlanInputs& inputs, const NumberText& numbers)
{
    const Text& typed = inputs.text(input);
    if (blank(typed))
        return Cents{0};
    const Text text = normalizedAmount(typed, numbers);
    const auto value = numbers.tryToNumber(text);
    if (!value)
        return wrong(input, Reason::NotAnAmount, inputs);
    if (*value < 0)
        return wrong(input, Reason::Negative, inputs);
    const auto cents = toCents(text, numbers);
    if (!cents)
        return wrong(input, Reason::TooLarge, inputs);
    return *cents;
}

// A percentage as written; `capped` at 100, as a share of something is.
std::variant<ExactDecimal, InputError> percentage(PlanInput input, const PlanInputs& inputs, const NumberText& numbers,
                                                  bool capped)
{
    const Text& typed = inputs.text(input);
    if (blank(typed))
        return ExactDecimal{};
    const Text text = normalizedInput(typed, numbers);
    const auto value = numbers.tryToNumber(text);
    if (!value)
        return wrong(input, Reason::NotAPercentage, inputs);
    // More digits than 18 hold: the number as the region writes it, 15 of them.
    auto exact = numbers.exactValue(text);
    if (!exact)
        exact = numbers.exactValue(numbers.localeText(*value));
    if (!exact)
        return wrong(input, Reason::NotAPercentage, inputs);
    if (*value < 0)
        return wrong(input, Reason::Negative, inputs);
    if (capped && *value > 100)
        return wrong(input, Reason::AboveHundred, inputs);
    return *exact;
}

// A whole number of at least one; nothing where nothing was typed.
std::variant<std::optional<std::int64_t>, InputError> count(PlanInput input, const PlanInputs& inputs,
                                                            const NumberText& numbers)
{
    const Text& typed = inputs.text(input);
    if (blank(typed))
        return std::optional<std::int64_t>();
    const auto value = numbers.tryToNumber(normalizedAmount(typed, numbers));
    if (!value || std::floor(*value) != *value)
        return wrong(input, Reason::NotACount, inputs);
    if (*value < 1)
        return wrong(input, *value < 0 ? Reason::Negative : Reason::Zero, inputs);
    // Beyond what any plan shows: the plan says so in its own words.
    return std::optional<std::int64_t>(*value > 1e15 ? std::int64_t{1'000'000'000'000'000}
                                                     : static_cast<std::int64_t>(*value));
}

// The loan's own three: a capital above nothing, a whole duration, a rate.
// The loan's given figures as read, the one worked out left for solveLoan.
std::variant<LoanReading, InputError> readLoan(const PlanInputs& inputs, const NumberText& numbers)
{
    LoanReading loan;
    loan.unknown = inputs.unknown();
    loan.unit = inputs.unit();
    if (loan.unknown != Unknown::Capital) {
        if (blank(inputs.text(PlanInput::Capital)))
            return wrong(PlanInput::Capital, Reason::Missing, inputs);
        const auto capital = amount(PlanInput::Capital, inputs, numbers);
        if (const auto* error = std::get_if<InputError>(&capital))
            return *error;
        loan.capital = std::get<Cents>(capital);
        if (loan.capital == 0) {
            // Under half a cent is no capital a plan can repay; the plan says so.
            const auto value = numbers.tryToNumber(normalizedAmount(inputs.text(PlanInput::Capital), numbers));
            if (!value || *value <= 0)
                return wrong(PlanInput::Capital, Reason::Zero, inputs);
        }
    }
    if (loan.unknown != Unknown::Duration) {
        if (blank(inputs.text(PlanInput::Duration)))
            return wrong(PlanInput::Duration, Reason::Missing, inputs);
        const auto duration = count(PlanInput::Duration, inputs, numbers);
        if (const auto* error = std::get_if<InputError>(&duration))
            return *error;
        const std::int64_t typed = *std::get<std::optional<std::int64_t>>(duration);
        loan.count =
            loan.unit == DurationUnit::Years ? std::min<std::int64_t>(typed, 1'000'000'000'000'000) * 12 : typed;
    }
    if (loan.unknown != Unknown::Rate) {
        if (blank(inputs.text(PlanInput::AnnualRate)))
            return wrong(PlanInput::AnnualRate, Reason::Missing, inputs);
        const auto rate = percentage(PlanInput::AnnualRate, inputs, numbers, false);
        if (const auto* error = std::get_if<InputError>(&rate))
            return *error;
        loan.annualRate = std::get<ExactDecimal>(rate);
    }
    return loan;
}

// The figure the loan's reading left out, worked out from the installment
// given; nothing where it is the installment, which the plan works out
// itself; why not, where the question has no answer.
std::variant<std::monostate, PlanRefusal, InputError> solveLoan(LoanReading& loan, const PlanInputs& inputs,
                                                                const NumberText& numbers)
{
    if (loan.unknown == Unknown::Installment)
        return std::monostate{};
    if (blank(inputs.text(PlanInput::Installment)))
        return wrong(PlanInput::Installment, Reason::Missing, inputs);
    const auto given = amount(PlanInput::Installment, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&given))
        return *error;
    const Cents installment = std::get<Cents>(given);
    if (installment <= 0)
        return wrong(PlanInput::Installment, Reason::Zero, inputs);
    // Questions about plans too long to show are no questions.
    if (loan.unknown != Unknown::Duration && loan.count > AmortizationPlan::maximumInstallments) {
        PlanRefusal refusal;
        refusal.reason = PlanRefusal::Reason::TooManyInstallments;
        refusal.count = static_cast<double>(loan.count);
        refusal.installments = loan.count;
        return refusal;
    }
    const PlanKind kind = inputs.kind();
    std::variant<Answer, PlanRefusal> answer;
    switch (loan.unknown) {
    case Unknown::Capital:
        answer = solveCapital(installment, loan.count, loan.annualRate, kind);
        break;
    case Unknown::Duration:
        if (loan.capital <= 0) {
            PlanRefusal refusal;
            refusal.reason = PlanRefusal::Reason::CapitalTooSmall;
            return refusal;
        }
        answer =
            solveDuration(loan.capital, installment, loan.annualRate, kind, loan.unit == DurationUnit::Years ? 12 : 1);
        break;
    case Unknown::Rate:
        if (loan.capital <= 0) {
            PlanRefusal refusal;
            refusal.reason = PlanRefusal::Reason::CapitalTooSmall;
            return refusal;
        }
        answer = solveRate(loan.capital, loan.count, installment, kind);
        break;
    case Unknown::Installment:
        break;
    }
    if (const auto* refused = std::get_if<PlanRefusal>(&answer))
        return *refused;
    const Answer& found = std::get<Answer>(answer);
    loan.capital = found.capital;
    loan.count = found.count;
    loan.annualRate = found.annualRate;
    loan.rates = found.rates;
    return std::monostate{};
}

// The early repayment as typed, checked against the plan without it: after an
// installment before the last, of no more than is then owed.
std::variant<std::optional<EarlyRepayment>, InputError>
earlyRepayment(const PlanInputs& inputs, const AmortizationPlan& plan, const NumberText& numbers)
{
    const bool withAfter = !blank(inputs.text(PlanInput::RepayAfter));
    const bool withAmount = !blank(inputs.text(PlanInput::RepayAmount));
    if (!withAfter && !withAmount)
        return std::optional<EarlyRepayment>();
    if (!withAfter)
        return wrong(PlanInput::RepayAfter, Reason::Missing, inputs);
    if (!withAmount)
        return wrong(PlanInput::RepayAmount, Reason::Missing, inputs);
    const auto k = count(PlanInput::RepayAfter, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&k))
        return *error;
    const std::int64_t after = *std::get<std::optional<std::int64_t>>(k);
    const auto installments = static_cast<std::int64_t>(plan.rows().size());
    if (after >= installments) {
        InputError error =
            wrong(PlanInput::RepayAfter, after > installments ? Reason::BeyondThePlan : Reason::NothingOwed, inputs);
        error.installments = installments;
        return error;
    }
    EarlyRepayment early;
    early.after = after;
    const Cents owed = plan.rows()[static_cast<std::size_t>(after - 1)].remainingDebt;
    if (!meansEverything(inputs.text(PlanInput::RepayAmount))) {
        const auto read = amount(PlanInput::RepayAmount, inputs, numbers);
        if (const auto* error = std::get_if<InputError>(&read))
            return *error;
        const Cents cents = std::get<Cents>(read);
        if (cents == 0)
            return wrong(PlanInput::RepayAmount, Reason::Zero, inputs);
        if (cents > owed) {
            InputError error = wrong(PlanInput::RepayAmount, Reason::AboveTheDebt, inputs);
            error.amount = cents;
            error.limit = owed;
            error.installments = after;
            return error;
        }
        early.amount = cents;
    }
    const auto penalty = percentage(PlanInput::Penalty, inputs, numbers, true);
    if (const auto* error = std::get_if<InputError>(&penalty))
        return *error;
    early.penalty = Ratio{std::get<ExactDecimal>(penalty), 100};
    early.reduceDuration = inputs.reduceDuration();
    return std::optional<EarlyRepayment>(early);
}

} // namespace

Text inputName(PlanInput input, Naming naming)
{
    const PlanInputSpec& spec = planInputSpec(input);
    if (naming == Naming::CommandLine && !spec.options.empty())
        return Text(spec.options.front().name.begin(), spec.options.front().name.end());
    return Text(spec.accessibleName);
}

Text inputErrorText(const InputError& error, Naming naming, const AmountText& amounts)
{
    const Text name = inputName(error.input, naming) + u": ";
    const Text quoted = u"«" + error.typed + u"»";
    const bool notAnInstallment =
        error.reason == Reason::NotACount || error.reason == Reason::Zero || error.reason == Reason::Negative;
    if (error.input == PlanInput::RepayAfter && notAnInstallment)
        return name + quoted + u" non è il numero di una rata.";
    switch (error.reason) {
    case Reason::Missing:
        if (error.input == PlanInput::RepayAmount)
            return name + u"manca: un importo, oppure «tutto».";
        if (error.input == PlanInput::RepayAfter)
            return name + u"manca il numero della rata.";
        return name + u"manca.";
    case Reason::NotAnAmount:
        return name + quoted + u" non è un importo.";
    case Reason::NotAPercentage:
        return name + quoted + u" non è una percentuale.";
    case Reason::NotACount:
        return name + quoted + u" non è un numero intero.";
    case Reason::NotAMonth:
        return name + quoted + u" non è un mese: si scrive MM/AAAA, per esempio 01/2027.";
    case Reason::TooLarge:
        return name + quoted + u" è un importo troppo grande.";
    case Reason::Negative:
        return name + u"non può essere negativo.";
    case Reason::Zero:
        return name + u"deve essere più di zero.";
    case Reason::AboveHundred:
        return name + u"una percentuale non può superare 100.";
    case Reason::NothingReceived:
        return name + u"quanto si paga all'inizio (" + amounts.grouped(error.amount) +
               u") non lascia nulla del capitale di " + amounts.grouped(error.limit) +
               u": non si riceverebbe nulla, e non c'è un TAEG.";
    case Reason::BeyondThePlan:
        return name + u"il piano ha " + amounts.whole(error.installments) + u" rate, non " + error.typed + u".";
    case Reason::NothingOwed:
        return name + u"dopo la rata " + amounts.whole(error.installments) +
               u" il debito è estinto: non resta nulla da rimborsare.";
    case Reason::AboveTheDebt:
        return name + amounts.grouped(error.amount) + u" supera il debito residuo dopo la rata " +
               amounts.whole(error.installments) + u" (" + amounts.grouped(error.limit) + u").";
    case Reason::ShortLoan:
        return name + u"non si paga sui finanziamenti di " + amounts.whole(longestUntaxedLoan) +
               u" mesi o meno, e questo ha " + amounts.whole(error.installments) +
               (error.installments == 1 ? u" rata" : u" rate") + u" (DPR 601/1973, art. 15).";
    }
    return {};
}

std::optional<Text> readingOf(PlanInput input, const PlanInputs& inputs, const NumberText& numbers,
                              const AmountText& amounts)
{
    const Text& typed = inputs.text(input);
    if (blank(typed))
        return Text();
    switch (planInputSpec(input).value) {
    case InputValue::AmountOrAll:
        if (meansEverything(typed))
            return Text(u"tutto il debito residuo");
        [[fallthrough]];
    case InputValue::Amount: {
        const auto cents = amount(input, inputs, numbers);
        if (std::holds_alternative<InputError>(cents))
            return std::nullopt;
        return amounts.grouped(std::get<Cents>(cents)) + u" €";
    }
    case InputValue::Percentage: {
        const auto value = percentage(input, inputs, numbers, input != PlanInput::AnnualRate);
        if (std::holds_alternative<InputError>(value))
            return std::nullopt;
        const ExactDecimal& exact = std::get<ExactDecimal>(value);
        return numbers.localeText(static_cast<double>(exact.significand) * std::pow(10.0, exact.exponent)) + u" %";
    }
    case InputValue::Count: {
        const auto read = count(input, inputs, numbers);
        if (std::holds_alternative<InputError>(read))
            return std::nullopt;
        return amounts.whole(*std::get<std::optional<std::int64_t>>(read));
    }
    case InputValue::Month: {
        const auto month = readMonth(typed);
        if (!month)
            return std::nullopt;
        return monthText(*month);
    }
    case InputValue::Choice:
        return Text();
    }
    return std::nullopt;
}

std::variant<LoanCosts, InputError> loanCosts(const PlanInputs& inputs, Cents capital, const NumberText& numbers)
{
    // In the order the window shows them, so that the first wrong one is named.
    const auto initial = amount(PlanInput::InitialFees, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&initial))
        return *error;
    const auto tax = percentage(PlanInput::SubstituteTax, inputs, numbers, true);
    if (const auto* error = std::get_if<InputError>(&tax))
        return *error;
    const auto perInstallment = amount(PlanInput::InstallmentFee, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&perInstallment))
        return *error;
    const auto annual = amount(PlanInput::AnnualFee, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&annual))
        return *error;

    LoanCosts costs;
    costs.initialFees = std::get<Cents>(initial);
    costs.perInstallment = std::get<Cents>(perInstallment);
    costs.annual = std::get<Cents>(annual);
    const auto share = shareOf(capital, Ratio{std::get<ExactDecimal>(tax), 100});
    if (!share)
        return wrong(PlanInput::SubstituteTax, Reason::TooLarge, inputs);
    costs.substituteTax = *share; // at most the capital: the percentage is at most 100
    const PlanInput blamed = costs.initialFees > 0 ? PlanInput::InitialFees : PlanInput::SubstituteTax;
    // The fees alone, where they are already the whole capital; with the imposta otherwise.
    const Cents upfront = costs.initialFees >= capital ? costs.initialFees : costs.upfront();
    if (upfront >= capital) {
        InputError error{blamed, Reason::NothingReceived, {}};
        error.amount = upfront;
        error.limit = capital;
        return error;
    }
    return costs;
}

PlanOutcome planFor(const PlanInputs& inputs, const NumberText& numbers)
{
    auto read = readLoan(inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&read))
        return {std::nullopt, PlanRefusal{}, *error};
    LoanReading& loan = std::get<LoanReading>(read);
    const auto solved = solveLoan(loan, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&solved))
        return {std::nullopt, PlanRefusal{}, *error};
    if (const auto* refused = std::get_if<PlanRefusal>(&solved)) {
        PlanRefusal why = *refused;
        why.kind = inputs.kind();
        return {loan, why, std::nullopt};
    }
    PlanRefusal refusal;
    refusal.installments = loan.count;
    refusal.count = static_cast<double>(loan.count);
    if (loan.count > AmortizationPlan::maximumInstallments) {
        refusal.reason = PlanRefusal::Reason::TooManyInstallments;
        return {loan, refusal, std::nullopt};
    }
    if (loan.capital <= 0) {
        refusal.reason = PlanRefusal::Reason::CapitalTooSmall;
        return {loan, refusal, std::nullopt};
    }
    LoanInCents inCents;
    inCents.capital = loan.capital;
    inCents.installments = loan.count;
    inCents.rate = MonthlyRate{loan.annualRate, 1200};
    // The plan's own installment, on the capital in cents; where it passes
    // 64-bit cents only the Italian plan, which does not need it, is made.
    inCents.installment = frenchInstallment(inCents.capital, inCents.rate, inCents.installments).value_or(-1);
    inCents.kind = inputs.kind();
    inCents.credit = inputs.credit();
    std::optional<InputError> error;
    auto costs = loanCosts(inputs, inCents.capital, numbers);
    if (auto* wrongCost = std::get_if<InputError>(&costs)) {
        error = *wrongCost;
    } else if (std::get<LoanCosts>(costs).substituteTax > 0 && inCents.installments <= longestUntaxedLoan) {
        error = wrong(PlanInput::SubstituteTax, Reason::ShortLoan, inputs);
        error->installments = inCents.installments;
    } else {
        inCents.costs = std::get<LoanCosts>(costs);
    }
    if (!blank(inputs.text(PlanInput::FirstDue))) {
        inCents.firstDue = readMonth(inputs.text(PlanInput::FirstDue));
        if (!inCents.firstDue && !error)
            error = wrong(PlanInput::FirstDue, Reason::NotAMonth, inputs);
    }
    auto plan = AmortizationPlan::make(inCents);
    const auto* made = std::get_if<AmortizationPlan>(&plan);
    if (!made || error)
        return {loan, std::move(plan), error};
    // The early repayment is checked against the plan without it, then the plan is made again with it.
    auto early = earlyRepayment(inputs, *made, numbers);
    if (auto* wrongRepayment = std::get_if<InputError>(&early))
        return {loan, std::move(plan), *wrongRepayment};
    inCents.repayment = std::get<std::optional<EarlyRepayment>>(early);
    if (!inCents.repayment)
        return {loan, std::move(plan), std::nullopt};
    return {loan, AmortizationPlan::make(inCents), std::nullopt};
}

PlanOutcome planFor(const LoanTerms& terms, const PlanInputs& inputs, const NumberText& numbers)
{
    return planFor(inputs.withLoanOf(PlanInputs(terms)), numbers);
}

std::variant<AmortizationPlan, PlanRefusal> amortizationPlan(const LoanTerms& terms, const NumberText& numbers)
{
    return planFor(terms, PlanInputs(), numbers).plan;
}

} // namespace ratalia
