#include "loan/plan_request.h"

#include "numbers/input_normalizer.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

// The rate steps as typed, "25:6; 61:4,5", in order of the installment:
// each after the first and within the plan's `installments`.
std::variant<std::vector<RateStep>, InputError> rateSteps(const PlanInputs& inputs, const NumberText& numbers,
                                                          std::int64_t installments, int periodsPerYear)
{
    std::vector<RateStep> steps;
    const Text& typed = inputs.text(PlanInput::RateSteps);
    std::size_t start = 0;
    while (start <= typed.size()) {
        const std::size_t end = std::min(typed.find(u';', start), typed.size());
        const Text part = typed.substr(start, end - start);
        start = end + 1;
        if (blank(part))
            continue;
        const auto colon = part.find(u':');
        PlanInputs one;
        InputError bad = wrong(PlanInput::RateSteps, Reason::NotAStep, inputs);
        bad.typed = part.substr(part.find_first_not_of(u' '));
        bad.typed = bad.typed.substr(0, bad.typed.find_last_not_of(u' ') + 1);
        if (colon == Text::npos)
            return bad;
        one.setText(PlanInput::RepayAfter, part.substr(0, colon));
        one.setText(PlanInput::AnnualRate, part.substr(colon + 1));
        const auto k = count(PlanInput::RepayAfter, one, numbers);
        const auto rate = percentage(PlanInput::AnnualRate, one, numbers, false);
        if (std::holds_alternative<InputError>(k) || std::holds_alternative<InputError>(rate) ||
            !std::get<std::optional<std::int64_t>>(k) || blank(one.text(PlanInput::AnnualRate)))
            return bad;
        const std::int64_t from = *std::get<std::optional<std::int64_t>>(k);
        if (from == 1) {
            bad.reason = Reason::StepAtFirst;
            return bad;
        }
        if (from > installments) {
            bad.reason = Reason::BeyondThePlan;
            bad.installments = installments;
            bad.typed = one.text(PlanInput::RepayAfter);
            return bad;
        }
        if (std::any_of(steps.begin(), steps.end(), [&](const RateStep& step) { return step.from == from; })) {
            bad.reason = Reason::StepTwice;
            bad.installments = from;
            return bad;
        }
        steps.push_back({from, MonthlyRate{std::get<ExactDecimal>(rate), 100 * periodsPerYear}});
    }
    std::sort(steps.begin(), steps.end(), [](const RateStep& a, const RateStep& b) { return a.from < b.from; });
    return steps;
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
                                                                const NumberText& numbers, const SolveShape& shape)
{
    const std::int64_t monthsEach = 12 / shape.periodsPerYear;
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
        answer = solveCapital(installment, loan.count / monthsEach, loan.annualRate, kind, shape);
        break;
    case Unknown::Duration:
        if (loan.capital <= 0) {
            PlanRefusal refusal;
            refusal.reason = PlanRefusal::Reason::CapitalTooSmall;
            return refusal;
        }
        answer = solveDuration(loan.capital, installment, loan.annualRate, kind,
                               loan.unit == DurationUnit::Years ? shape.periodsPerYear : 1, shape);
        break;
    case Unknown::Rate:
        if (loan.capital <= 0) {
            PlanRefusal refusal;
            refusal.reason = PlanRefusal::Reason::CapitalTooSmall;
            return refusal;
        }
        answer = solveRate(loan.capital, loan.count / monthsEach, installment, kind, shape);
        break;
    case Unknown::Installment:
        break;
    }
    if (const auto* refused = std::get_if<PlanRefusal>(&answer))
        return *refused;
    const Answer& found = std::get<Answer>(answer);
    loan.capital = found.capital;
    loan.count = found.count * monthsEach; // months, as the duration is read
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
    const auto installments = static_cast<std::int64_t>(plan.rows().size()) - plan.leadRows();
    if (after >= installments) {
        InputError error =
            wrong(PlanInput::RepayAfter, after > installments ? Reason::BeyondThePlan : Reason::NothingOwed, inputs);
        error.installments = installments;
        return error;
    }
    if (after <= plan.interestOnly()) {
        InputError error = wrong(PlanInput::RepayAfter, Reason::InInterestOnly, inputs);
        error.installments = plan.interestOnly();
        return error;
    }
    if (!plan.steps().empty() && inputs.reduceDuration())
        return wrong(PlanInput::Reduce, Reason::NotWithSteps, inputs);
    EarlyRepayment early;
    early.after = after;
    const Cents owed = plan.row(after).remainingDebt;
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

// The parts of an item typed as "a:b:c", each without its spaces.
std::vector<Text> itemParts(TextView item)
{
    std::vector<Text> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(item.find(u':', start), item.size());
        Text part(item.substr(start, end - start));
        const auto first = part.find_first_not_of(u' ');
        part = first == Text::npos ? Text() : part.substr(first, part.find_last_not_of(u' ') - first + 1);
        parts.push_back(std::move(part));
        if (end == item.size())
            return parts;
        start = end + 1;
    }
}

// The items of a list typed as "a; b; c", each without its spaces, empty ones skipped.
std::vector<Text> listItems(const Text& typed)
{
    std::vector<Text> items;
    std::size_t start = 0;
    while (start <= typed.size()) {
        const std::size_t end = std::min(typed.find(u';', start), typed.size());
        Text item = typed.substr(start, end - start);
        start = end + 1;
        const auto first = item.find_first_not_of(u' ');
        if (first != Text::npos)
            items.push_back(item.substr(first, item.find_last_not_of(u' ') - first + 1));
    }
    return items;
}

// The list of early repayments, each checked as the single one is, against
// the plan without any: "24:5000; 60:tutto:durata:1".
std::variant<std::vector<EarlyRepayment>, InputError>
repaymentList(const PlanInputs& inputs, const AmortizationPlan& plan, const NumberText& numbers)
{
    std::vector<EarlyRepayment> list;
    for (const Text& item : listItems(inputs.text(PlanInput::Repayments))) {
        InputError bad{PlanInput::Repayments, Reason::NotARepayment, item};
        const std::vector<Text> parts = itemParts(item);
        if (parts.size() < 2 || parts.size() > 4 || parts[0].empty() || parts[1].empty())
            return bad;
        PlanInputs one;
        one.setText(PlanInput::RepayAfter, parts[0]);
        one.setText(PlanInput::RepayAmount, parts[1]);
        if (parts.size() > 2) {
            const auto& choices = planInputSpec(PlanInput::Reduce).choices;
            const auto found = std::find_if(choices.begin(), choices.end(), [&](const InputChoice& choice) {
                return Text(choice.word.begin(), choice.word.end()) == parts[2];
            });
            if (found == choices.end())
                return bad;
            one.choose(PlanInput::Reduce, static_cast<std::size_t>(found - choices.begin()));
        }
        if (parts.size() > 3)
            one.setText(PlanInput::Penalty, parts[3]);
        auto read = earlyRepayment(one, plan, numbers);
        if (auto* error = std::get_if<InputError>(&read)) {
            if (error->input == PlanInput::RepayAfter &&
                (error->reason == Reason::NotACount || error->reason == Reason::Zero ||
                 error->reason == Reason::Negative))
                return bad;
            error->input = PlanInput::Repayments;
            return *error;
        }
        list.push_back(*std::get<std::optional<EarlyRepayment>>(read));
    }
    return list;
}

// The recurring extra: "100", "1200:annuale", "100:mensile:13"; from an
// installment after the preammortamento, if any, and before the last.
std::variant<std::optional<ExtraPayment>, InputError>
extraPayment(const PlanInputs& inputs, const AmortizationPlan* plan, const NumberText& numbers)
{
    const Text& typed = inputs.text(PlanInput::Extra);
    if (blank(typed))
        return std::optional<ExtraPayment>();
    InputError bad = wrong(PlanInput::Extra, Reason::NotAnExtra, inputs);
    const std::vector<Text> parts = itemParts(typed);
    if (parts.size() > 3 || parts[0].empty())
        return bad;
    PlanInputs one;
    one.setText(PlanInput::Extra, parts[0]);
    const auto cents = amount(PlanInput::Extra, one, numbers);
    if (const auto* error = std::get_if<InputError>(&cents))
        return error->reason == Reason::NotAnAmount ? bad : InputError{PlanInput::Extra, error->reason, typed};
    ExtraPayment extra;
    extra.amount = std::get<Cents>(cents);
    if (extra.amount == 0)
        return wrong(PlanInput::Extra, Reason::Zero, inputs);
    if (parts.size() > 1 && !parts[1].empty()) {
        if (parts[1] == u"annuale")
            extra.yearly = true;
        else if (parts[1] != u"mensile")
            return bad;
    }
    if (parts.size() > 2) {
        one.setText(PlanInput::RepayAfter, parts[2]);
        const auto from = count(PlanInput::RepayAfter, one, numbers);
        if (std::holds_alternative<InputError>(from) || !std::get<std::optional<std::int64_t>>(from))
            return bad;
        extra.from = *std::get<std::optional<std::int64_t>>(from);
    }
    if (plan) {
        const auto installments = static_cast<std::int64_t>(plan->rows().size()) - plan->leadRows();
        if (extra.from >= installments) {
            InputError error = wrong(PlanInput::Extra,
                                     extra.from > installments ? Reason::BeyondThePlan : Reason::NothingOwed, inputs);
            error.installments = installments;
            // From the first installment where none was typed: a loan of one has nothing left after it.
            if (parts.size() > 2)
                error.typed = parts[2];
            return error;
        }
        if (extra.from <= plan->interestOnly()) {
            InputError error = wrong(PlanInput::Extra, Reason::InInterestOnly, inputs);
            error.installments = plan->interestOnly();
            return error;
        }
    }
    return std::optional<ExtraPayment>(extra);
}

} // namespace

Text inputName(PlanInput input, Naming naming)
{
    const PlanInputSpec& spec = planInputSpec(input);
    // On the command line the question is asked by giving the installment.
    if (naming == Naming::CommandLine && input == PlanInput::Solve)
        return inputName(PlanInput::Installment, naming);
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
    case Reason::NotADay:
        return name + quoted + u" non è una data: si scrive GG/MM/AAAA, per esempio 15/01/2027.";
    case Reason::NotAStep:
        return name + quoted + u" non è una variazione: si scrive rata:TAN, per esempio 25:6.";
    case Reason::StepAtFirst:
        return name + quoted + u": dalla prima rata vale il TAN del contratto; una variazione viene dopo.";
    case Reason::StepTwice:
        return name + u"due variazioni dalla rata " + amounts.whole(error.installments) + u".";
    case Reason::AboveCapital:
        return name + amounts.grouped(error.amount) + u" supera il capitale (" + amounts.grouped(error.limit) + u").";
    case Reason::NoneLeft:
        return name + u"il prestito ha " + amounts.whole(error.installments) +
               u" rate: il preammortamento deve lasciarne almeno una per restituire il capitale.";
    case Reason::NotWholePeriods:
        return name + quoted + u" non è un numero intero di rate: con questa frequenza una rata ogni " +
               amounts.whole(error.installments) + u" mesi.";
    case Reason::SignedAfter:
        return name + u"la stipula viene prima della prima rata.";
    case Reason::SignedTooEarly:
        return name + u"più di un periodo e un anno prima della prima rata: non è la stipula di questo piano.";
    case Reason::NeedsDay:
        return name + u"con la data della stipula serve il giorno della prima rata (GG/MM/AAAA).";
    case Reason::NotWithSteps:
        if (error.input == PlanInput::Extra)
            return name + u"con le variazioni del tasso la rata si ricalcola per la fine del contratto: un versamento "
                          u"in più ricorrente non si può aggiungere.";
        return name + u"con le variazioni del tasso, dopo un'estinzione parziale si ricalcola la rata, non la durata.";
    case Reason::KeepsEndAfterShorter:
        return name + u"dopo un rimborso che riduce la durata, anche quello con la rata " +
               amounts.whole(error.installments) + u" la riduce (:durata): la fine non torna quella del contratto.";
    case Reason::InInterestOnly:
        return name + u"le prime " + amounts.whole(error.installments) +
               u" rate sono di preammortamento: si rimborsa in anticipo dopo.";
    case Reason::NotARepayment:
        return name + quoted +
               u" non è un rimborso: si scrive rata:importo, e se si vuole :rata o :durata e la penale, per esempio "
               u"24:5000 o 60:tutto:durata:1.";
    case Reason::NotAnExtra:
        return name + quoted +
               u" non è un versamento: si scrive importo, e se si vuole :mensile o :annuale e la rata da cui "
               u"comincia, per esempio 100 o 1200:annuale:12.";
    case Reason::OnlyInstallment:
        return name + u"con la data di stipula la rata dipende dai giorni del primo periodo: si calcola la rata, e "
                      u"le altre tre cifre si danno.";
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
    case InputValue::Day:
    case InputValue::MonthOrDay: {
        if (const auto day = readDate(typed))
            return dateText(*day);
        const auto month = planInputSpec(input).value == InputValue::MonthOrDay ? readMonth(typed) : std::nullopt;
        if (!month)
            return std::nullopt;
        return monthText(*month);
    }
    case InputValue::RateSteps: {
        auto steps = rateSteps(inputs, numbers, AmortizationPlan::maximumInstallments, 12);
        if (std::holds_alternative<InputError>(steps))
            return std::nullopt;
        Text read;
        for (const RateStep& step : std::get<std::vector<RateStep>>(steps)) {
            const ExactDecimal& rate = step.rate.value;
            read += (read.empty() ? u"dalla rata " : u", dalla ") + amounts.whole(step.from) + u" " +
                    numbers.localeText(static_cast<double>(rate.significand) * std::pow(10.0, rate.exponent)) + u" %";
        }
        return read;
    }
    case InputValue::Repayments: {
        // Against no plan: what each item says, its installment checked with the plan.
        Text read;
        for (const Text& item : listItems(typed)) {
            const std::vector<Text> parts = itemParts(item);
            PlanInputs one;
            if (parts.size() < 2 || parts.size() > 4)
                return std::nullopt;
            one.setText(PlanInput::RepayAfter, parts[0]);
            one.setText(PlanInput::RepayAmount, parts[1]);
            const auto after = count(PlanInput::RepayAfter, one, numbers);
            if (std::holds_alternative<InputError>(after) || !std::get<std::optional<std::int64_t>>(after))
                return std::nullopt;
            Text what;
            if (meansEverything(parts[1])) {
                what = u"tutto";
            } else {
                const auto cents = amount(PlanInput::RepayAmount, one, numbers);
                if (std::holds_alternative<InputError>(cents))
                    return std::nullopt;
                what = amounts.grouped(std::get<Cents>(cents)) + u" €";
            }
            if (parts.size() > 2 && parts[2] != u"rata" && parts[2] != u"durata")
                return std::nullopt;
            read += (read.empty() ? u"" : u"; ") + what + u" con la rata " +
                    amounts.whole(*std::get<std::optional<std::int64_t>>(after));
            if (parts.size() > 2 && parts[2] == u"durata")
                read += u", stessa rata";
        }
        return read;
    }
    case InputValue::Extra: {
        const auto extra = extraPayment(inputs, nullptr, numbers);
        if (std::holds_alternative<InputError>(extra))
            return std::nullopt;
        const ExtraPayment& paid = *std::get<std::optional<ExtraPayment>>(extra);
        return amounts.grouped(paid.amount) + (paid.yearly ? u" € l'anno" : u" € con ogni rata") + u" dalla rata " +
               amounts.whole(paid.from);
    }
    case InputValue::Choice:
        return Text();
    }
    return std::nullopt;
}

namespace {

Text portableCents(Cents cents)
{
    std::string text = std::to_string(cents / 100);
    if (cents % 100 != 0)
        text += "," + std::to_string(100 + cents % 100).substr(1);
    return fromUtf8(text);
}

Text portableDecimal(const ExactDecimal& value)
{
    std::string digits = std::to_string(value.significand < 0 ? -value.significand : value.significand);
    if (value.exponent >= 0) {
        digits.append(static_cast<std::size_t>(value.exponent), '0');
    } else {
        const auto decimals = static_cast<std::size_t>(-value.exponent);
        if (digits.size() <= decimals)
            digits.insert(0, decimals + 1 - digits.size(), '0');
        digits.insert(digits.size() - decimals, ",");
        digits.erase(digits.find_last_not_of('0') + 1);
        if (digits.back() == ',')
            digits.pop_back();
    }
    return fromUtf8((value.significand < 0 ? "-" : "") + digits);
}

// One item of a field, read as the field reads it; nothing where it does not.
std::optional<Text> portableItem(InputValue kind, const Text& item, const NumberText& numbers)
{
    PlanInputs one;
    const auto amountOf = [&](const Text& typed) -> std::optional<Text> {
        if (meansEverything(typed))
            return Text(everything);
        one.setText(PlanInput::Capital, typed);
        const auto cents = amount(PlanInput::Capital, one, numbers);
        return std::holds_alternative<Cents>(cents) && !blank(typed)
                   ? std::optional<Text>(portableCents(std::get<Cents>(cents)))
                   : std::nullopt;
    };
    const auto percentOf = [&](const Text& typed) -> std::optional<Text> {
        one.setText(PlanInput::AnnualRate, typed);
        const auto value = percentage(PlanInput::AnnualRate, one, numbers, false);
        return std::holds_alternative<ExactDecimal>(value) && !blank(typed)
                   ? std::optional<Text>(portableDecimal(std::get<ExactDecimal>(value)))
                   : std::nullopt;
    };
    const auto countOf = [&](const Text& typed) -> std::optional<Text> {
        one.setText(PlanInput::Duration, typed);
        const auto value = count(PlanInput::Duration, one, numbers);
        const auto* read = std::get_if<std::optional<std::int64_t>>(&value);
        return read && *read ? std::optional<Text>(fromUtf8(std::to_string(**read))) : std::nullopt;
    };
    switch (kind) {
    case InputValue::Amount:
    case InputValue::AmountOrAll:
        return amountOf(item);
    case InputValue::Percentage:
        return percentOf(item);
    case InputValue::Count:
        return countOf(item);
    case InputValue::RateSteps: {
        const std::vector<Text> parts = itemParts(item);
        const auto from = parts.size() == 2 ? countOf(parts[0]) : std::nullopt;
        const auto rate = parts.size() == 2 ? percentOf(parts[1]) : std::nullopt;
        return from && rate ? std::optional<Text>(*from + u":" + *rate) : std::nullopt;
    }
    case InputValue::Repayments: {
        const std::vector<Text> parts = itemParts(item);
        if (parts.size() < 2 || parts.size() > 4)
            return std::nullopt;
        auto out = countOf(parts[0]);
        const auto what = amountOf(parts[1]);
        if (!out || !what)
            return std::nullopt;
        *out += u":" + *what;
        if (parts.size() > 2) {
            if (parts[2] != u"rata" && parts[2] != u"durata")
                return std::nullopt;
            *out += u":" + parts[2];
        }
        if (parts.size() > 3) {
            const auto penalty = percentOf(parts[3]);
            if (!penalty)
                return std::nullopt;
            *out += u":" + *penalty;
        }
        return out;
    }
    case InputValue::Extra: {
        const std::vector<Text> parts = itemParts(item);
        if (parts.empty() || parts.size() > 3)
            return std::nullopt;
        auto out = amountOf(parts[0]);
        if (!out || *out == everything)
            return std::nullopt;
        if (parts.size() > 1)
            *out += u":" + parts[1];
        if (parts.size() > 2) {
            const auto from = countOf(parts[2]);
            if (!from)
                return std::nullopt;
            *out += u":" + *from;
        }
        return out;
    }
    case InputValue::Month:
    case InputValue::Day:
    case InputValue::MonthOrDay:
    case InputValue::Choice:
        break;
    }
    return item;
}

bool listed(InputValue kind) { return kind == InputValue::RateSteps || kind == InputValue::Repayments; }

bool numeric(InputValue kind)
{
    return kind != InputValue::Month && kind != InputValue::Day && kind != InputValue::MonthOrDay &&
           kind != InputValue::Choice;
}

} // namespace

std::vector<Text> portableItems(PlanInput input, const PlanInputs& inputs, const NumberText& numbers)
{
    const InputValue kind = planInputSpec(input).value;
    const Text& typed = inputs.text(input);
    std::vector<Text> items;
    if (blank(typed))
        return items;
    const std::vector<Text> typedItems = listed(kind) ? listItems(typed) : std::vector<Text>{typed};
    for (const Text& item : typedItems) {
        const auto first = item.find_first_not_of(u' ');
        const Text trimmed = item.substr(first, item.find_last_not_of(u' ') - first + 1);
        items.push_back(portableItem(kind, trimmed, numbers).value_or(trimmed));
    }
    return items;
}

Text regionalText(PlanInput input, TextView portable, const NumberText& numbers)
{
    Text text(portable);
    if (numeric(planInputSpec(input).value))
        std::replace(text.begin(), text.end(), u',', numbers.decimalSeparator());
    return text;
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
    const auto final = amount(PlanInput::FinalFees, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&final))
        return *error;
    const auto insurance = percentage(PlanInput::Insurance, inputs, numbers, true);
    if (const auto* error = std::get_if<InputError>(&insurance))
        return *error;
    const auto premium = amount(PlanInput::SinglePremium, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&premium))
        return *error;

    LoanCosts costs;
    costs.initialFees = std::get<Cents>(initial);
    costs.perInstallment = std::get<Cents>(perInstallment);
    costs.annual = std::get<Cents>(annual);
    costs.final = std::get<Cents>(final);
    costs.insurance = Ratio{std::get<ExactDecimal>(insurance), 100};
    costs.singlePremium = std::get<Cents>(premium);
    const auto share = shareOf(capital, Ratio{std::get<ExactDecimal>(tax), 100});
    if (!share)
        return wrong(PlanInput::SubstituteTax, Reason::TooLarge, inputs);
    costs.substituteTax = *share; // at most the capital: the percentage is at most 100
    const PlanInput blamed = costs.initialFees > 0     ? PlanInput::InitialFees
                             : costs.substituteTax > 0 ? PlanInput::SubstituteTax
                                                       : PlanInput::SinglePremium;
    // Everything paid at the signing, as the message states it; a sum beyond
    // 64-bit cents is an amount too large to be paid.
    Cents upfront = 0;
    if (__builtin_add_overflow(costs.initialFees, costs.substituteTax, &upfront) ||
        __builtin_add_overflow(upfront, costs.singlePremium, &upfront))
        return wrong(blamed, Reason::TooLarge, inputs);
    if (upfront >= capital) {
        InputError error{blamed, Reason::NothingReceived, {}};
        error.amount = upfront;
        error.limit = capital;
        return error;
    }
    return costs;
}

// The shape of the plan: the installments a year, the preammortamento, the
// maxi-rata, the rate steps and an odd first period from the signing, set in
// `loan`, or the first input that cannot be used.
std::optional<InputError> readShape(const PlanInputs& inputs, const LoanReading& reading, const NumberText& numbers,
                                    LoanInCents& loan)
{
    const int perYear = inputs.periodsPerYear();
    const std::int64_t monthsEach = 12 / perYear;
    const auto interestOnly = count(PlanInput::InterestOnly, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&interestOnly))
        return *error;
    loan.interestOnly = std::get<std::optional<std::int64_t>>(interestOnly).value_or(0);
    if (loan.interestOnly >= loan.installments) {
        InputError error = wrong(PlanInput::InterestOnly, Reason::NoneLeft, inputs);
        error.installments = loan.installments;
        return error;
    }
    const auto balloon = amount(PlanInput::Balloon, inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&balloon))
        return *error;
    loan.balloon = std::get<Cents>(balloon);
    if (loan.balloon > loan.capital) {
        InputError error = wrong(PlanInput::Balloon, Reason::AboveCapital, inputs);
        error.amount = loan.balloon;
        error.limit = loan.capital;
        return error;
    }
    auto steps = rateSteps(inputs, numbers, loan.installments, perYear);
    if (const auto* error = std::get_if<InputError>(&steps))
        return *error;
    loan.steps = std::move(std::get<std::vector<RateStep>>(steps));

    if (blank(inputs.text(PlanInput::Signing)))
        return std::nullopt;
    const auto signing = readDate(inputs.text(PlanInput::Signing));
    if (!signing)
        return wrong(PlanInput::Signing, Reason::NotADay, inputs);
    // The first installment with its day: the odd days count from it.
    const auto firstDay = readDate(inputs.text(PlanInput::FirstDue));
    if (!firstDay)
        return wrong(PlanInput::FirstDue, Reason::NeedsDay, inputs);
    if (*signing >= *firstDay)
        return wrong(PlanInput::Signing, Reason::SignedAfter, inputs);
    if (*signing < firstDay->plusMonths(-monthsEach - 12))
        return wrong(PlanInput::Signing, Reason::SignedTooEarly, inputs);
    const bool ownRow = inputs.oddDaysOwnRow();
    // With a row of its own every day up to the first due date is odd; the installments follow it.
    const FirstPeriodDays days = ownRow ? FirstPeriodDays{0, firstDay->dayNumber() - signing->dayNumber(),
                                                          firstDay->dayNumber() - firstDay->plusMonths(-12).dayNumber()}
                                        : firstPeriodDays(*signing, *firstDay, static_cast<int>(monthsEach));
    if (days.oddDays == 0 && days.wholePeriods == 1)
        return std::nullopt; // a whole period: nothing odd about it
    // The first period's rate, TAN × (w ÷ periods a year + d ÷ days of the year),
    // and (1 + it) ÷ (1 + the period's rate), both as ratios of whole numbers.
    const std::int64_t yearDays = inputs.commercialYear() ? 360 : days.yearDays;
    ExactDecimal rate = reading.annualRate;
    while (rate.exponent > 0) {
        if (__builtin_mul_overflow(rate.significand, 10, &rate.significand))
            return wrong(PlanInput::AnnualRate, Reason::TooLarge, inputs);
        --rate.exponent;
    }
    // Every product checked: a rate typed with too many digits for them is too large here.
    bool overflow = false;
    const auto times = [&](std::int64_t a, std::int64_t b) {
        std::int64_t out = 0;
        overflow = overflow || __builtin_mul_overflow(a, b, &out);
        return out;
    };
    const auto plus = [&](std::int64_t a, std::int64_t b) {
        std::int64_t out = 0;
        overflow = overflow || __builtin_add_overflow(a, b, &out);
        return out;
    };
    std::int64_t scale = 1;
    for (std::int64_t k = 0; k < -rate.exponent && !overflow; ++k)
        scale = times(scale, 10);
    const std::int64_t dayUnits = plus(times(days.wholePeriods, yearDays), times(perYear, days.oddDays));
    const std::int64_t firstRate = times(rate.significand, dayUnits);
    const std::int64_t divisor = times(100 * perYear, yearDays);
    const std::int64_t carriedTop = plus(times(divisor, scale), firstRate);
    const std::int64_t carriedBottom = times(yearDays, plus(times(100 * perYear, scale), rate.significand));
    if (overflow)
        return wrong(PlanInput::AnnualRate, Reason::TooLarge, inputs);
    FirstPeriod first;
    first.wholePeriods = days.wholePeriods;
    first.oddDays = days.oddDays;
    first.rate = Ratio{ExactDecimal{firstRate, rate.exponent}, divisor};
    first.carried = Ratio{ExactDecimal{carriedTop, 0}, carriedBottom};
    // In the TAEG the odd days count a year of 365 or 366, whatever the contract's interest counts.
    first.offset = static_cast<double>(days.oddDays) / static_cast<double>(days.yearDays) * perYear +
                   static_cast<double>(days.wholePeriods - 1);
    first.ownRow = ownRow;
    loan.firstPeriod = first;
    return std::nullopt;
}

PlanOutcome planFor(const PlanInputs& inputs, const NumberText& numbers)
{
    auto read = readLoan(inputs, numbers);
    if (const auto* error = std::get_if<InputError>(&read))
        return {std::nullopt, PlanRefusal{}, *error};
    LoanReading& loan = std::get<LoanReading>(read);
    // The questions from the installment know the installments a year, the
    // preammortamento and the maxi-rata; with an odd first period the
    // installment depends on its days, and is worked out.
    if (loan.unknown != Unknown::Installment && !blank(inputs.text(PlanInput::Signing)))
        return {std::nullopt, PlanRefusal{}, wrong(PlanInput::Solve, Reason::OnlyInstallment, inputs)};
    const std::int64_t monthsEach = 12 / inputs.periodsPerYear();
    if (loan.unknown != Unknown::Duration && loan.count % monthsEach != 0) {
        InputError error = wrong(PlanInput::Duration, Reason::NotWholePeriods, inputs);
        error.installments = monthsEach;
        return {std::nullopt, PlanRefusal{}, error};
    }
    SolveShape shape{inputs.periodsPerYear(), 0, 0};
    if (loan.unknown != Unknown::Installment) {
        const auto interestOnly = count(PlanInput::InterestOnly, inputs, numbers);
        if (const auto* error = std::get_if<InputError>(&interestOnly))
            return {std::nullopt, PlanRefusal{}, *error};
        shape.interestOnly = std::get<std::optional<std::int64_t>>(interestOnly).value_or(0);
        const auto balloon = amount(PlanInput::Balloon, inputs, numbers);
        if (const auto* error = std::get_if<InputError>(&balloon))
            return {std::nullopt, PlanRefusal{}, *error};
        shape.balloon = std::get<Cents>(balloon);
    }
    const auto solved = solveLoan(loan, inputs, numbers, shape);
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
    inCents.installments = loan.count / monthsEach;
    inCents.periodsPerYear = inputs.periodsPerYear();
    inCents.rate = MonthlyRate{loan.annualRate, 100 * inCents.periodsPerYear};
    if (const auto wrongShape = readShape(inputs, loan, numbers, inCents))
        return {std::nullopt, PlanRefusal{}, *wrongShape};
    // The plan's own installment, on the capital in cents; where it passes
    // 64-bit cents only the Italian plan, which does not need it, is made.
    inCents.installment = frenchInstallment(inCents.capital, inCents.rate, inCents.installments).value_or(-1);
    inCents.kind = inputs.kind();
    inCents.credit = inputs.credit();
    std::optional<InputError> error;
    auto costs = loanCosts(inputs, inCents.capital, numbers);
    if (auto* wrongCost = std::get_if<InputError>(&costs)) {
        error = *wrongCost;
    } else if (std::get<LoanCosts>(costs).substituteTax > 0 && loan.count <= longestUntaxedLoan) {
        error = wrong(PlanInput::SubstituteTax, Reason::ShortLoan, inputs);
        error->installments = inCents.installments;
    } else {
        inCents.costs = std::get<LoanCosts>(costs);
    }
    if (!blank(inputs.text(PlanInput::FirstDue))) {
        // Its month; a day, where given, moves only the odd days of the first period.
        const auto day = readDate(inputs.text(PlanInput::FirstDue));
        inCents.firstDue = day ? std::optional<Month>(day->inMonth()) : readMonth(inputs.text(PlanInput::FirstDue));
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
    if (const auto& single = std::get<std::optional<EarlyRepayment>>(early))
        inCents.repayments.push_back(*single);
    auto list = repaymentList(inputs, *made, numbers);
    if (auto* wrongList = std::get_if<InputError>(&list))
        return {loan, std::move(plan), *wrongList};
    for (const EarlyRepayment& each : std::get<std::vector<EarlyRepayment>>(list)) {
        if (each.reduceDuration && !made->steps().empty())
            return {loan, std::move(plan), wrong(PlanInput::Repayments, Reason::NotWithSteps, inputs)};
        inCents.repayments.push_back(each);
    }
    std::stable_sort(inCents.repayments.begin(), inCents.repayments.end(),
                     [](const EarlyRepayment& a, const EarlyRepayment& b) { return a.after < b.after; });
    // Once a repayment has shortened the loan, one that keeps "the end" would
    // stretch it back to the contract's: the later ones shorten it too.
    for (std::size_t k = 1; k < inCents.repayments.size(); ++k)
        if (!inCents.repayments[k].reduceDuration &&
            std::any_of(
                inCents.repayments.begin(), inCents.repayments.begin() + static_cast<std::ptrdiff_t>(k),
                [&](const EarlyRepayment& e) { return e.reduceDuration && e.after < inCents.repayments[k].after; })) {
            InputError error = wrong(PlanInput::Repayments, Reason::KeepsEndAfterShorter, inputs);
            error.installments = inCents.repayments[k].after;
            return {loan, std::move(plan), error};
        }
    auto extra = extraPayment(inputs, &*made, numbers);
    if (auto* wrongExtra = std::get_if<InputError>(&extra))
        return {loan, std::move(plan), *wrongExtra};
    inCents.extra = std::get<std::optional<ExtraPayment>>(extra);
    // A rate step works the installment out again for the contract's end, which an extra would undo.
    if (inCents.extra && !made->steps().empty())
        return {loan, std::move(plan), wrong(PlanInput::Extra, Reason::NotWithSteps, inputs)};
    if (inCents.repayments.empty() && !inCents.extra)
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
