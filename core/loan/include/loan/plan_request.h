#pragma once

// The plan the inputs ask for: each input read by the rule of its kind
// (amounts and counts with the region's thousands separators or none, "."
// and "," otherwise both the decimal separator), then the loan in cents
// they describe and its plan, or the first input that cannot be used.
// Every input but the loan's own three is optional: empty is nothing.

#include "loan/amortization_plan.h"
#include "loan/plan_inputs.h"
#include "loan/solve.h"
#include "numbers/amount_text.h"
#include "numbers/number_text.h"
#include "numbers/text.h"

#include <optional>
#include <variant>
#include <vector>

namespace ratalia {

// An input that cannot be used, and why.
struct InputError {
    enum class Reason {
        Missing,     // the loan's own, or an early repayment's installment or amount, left empty
        NotAnAmount, // nor a number of the kind asked for
        NotAPercentage,
        NotACount, // a count with decimals, or no number
        NotAMonth,
        TooLarge,
        Negative,
        Zero, // an amount, count or capital that must be more than nothing
        AboveHundred,
        NothingReceived, // costs at the start as large as the capital
        BeyondThePlan,   // the early repayment's installment is after the last
        NothingOwed,     // it is the last: after it nothing is owed
        AboveTheDebt,    // the amount is more than is owed then
        ShortLoan,       // an imposta sostitutiva on a loan of 18 months or less
        NotADay,         // a date that is no GG/MM/AAAA (or MM/AAAA where a month will do)
        NotAStep,        // a rate step that is no "k:TAN"
        StepAtFirst,     // a step from the first installment: that is the loan's own rate
        StepTwice,       // two steps from the same installment (`installments`)
        AboveCapital,    // a maxi-rata (`amount`) above the capital (`limit`)
        NoneLeft,        // a preammortamento that leaves no installment to repay the capital
        NotWholePeriods, // a duration that is not whole installments of the frequency (`installments` months each)
        SignedAfter,     // the signing after the first installment
        SignedTooEarly,  // more than a period and a year before it
        NeedsDay,        // a signing date with a first installment without its day
        NotWithSteps,    // a shorter loan after an early repayment, with rate steps
        InInterestOnly,  // an early repayment during the preammortamento (`installments` installments)
        OnlyInstallment, // a figure worked out from the installment, with a signing date that asks for the installment
        NotARepayment,   // a repayment that is no "k:importo[:rata|durata[:penale]]"
        NotAnExtra,      // an extra that is no "importo[:mensile|annuale][:k]"
        KeepsEndAfterShorter, // a repayment keeping the end after one that shortened the loan (`installments`)
    };
    PlanInput input = PlanInput::InitialFees;
    Reason reason = Reason::NotAnAmount;
    Text typed;
    Cents amount = 0;              // for NothingReceived, what is paid at the start; for AboveTheDebt, the amount
    Cents limit = 0;               // and the capital it leaves nothing of, or the debt it is above
    std::int64_t installments = 0; // the plan's, or the installment the debt is owed after
};

// Who names the input in a message: the window by its name, the command line by its option.
enum class Naming { Window, CommandLine };
Text inputName(PlanInput input, Naming naming);
// One sentence that names the input: "Spese iniziali: «abc» non è un importo."
Text inputErrorText(const InputError& error, Naming naming, const AmountText& amounts);

// A field's text as its kind reads it, or nothing where it does not. What a
// window shows beside the field ("1.500,00 €"); empty for an empty field.
std::optional<Text> readingOf(PlanInput input, const PlanInputs& inputs, const NumberText& numbers,
                              const AmountText& amounts);

// A field's value as a file keeps it, in any region's form: "," before the
// decimals and no thousands separators ("1.500,5" is "1500,50"); a list
// item by item ("25:6", "61:4,5"); where it does not read, as typed, so that
// nothing typed is lost. Nothing for an empty field.
std::vector<Text> portableItems(PlanInput input, const PlanInputs& inputs, const NumberText& numbers);
// A kept value back in the region's form: its "," the region's decimal separator.
Text regionalText(PlanInput input, TextView portable, const NumberText& numbers);

// The costs in cents, the imposta as its share of the capital, or the first
// input that is wrong, costs that leave nothing received among them.
std::variant<LoanCosts, InputError> loanCosts(const PlanInputs& inputs, Cents capital, const NumberText& numbers);

// The loan as read: what the figures show of it.
struct LoanReading {
    Cents capital = 0;
    std::int64_t count = 0; // of installments
    DurationUnit unit = DurationUnit::Months;
    ExactDecimal annualRate; // per cent
    // The figure worked out from the other three, and for a rate worked out
    // every rate that gives the same installment, where there is more than one.
    Unknown unknown = Unknown::Installment;
    std::optional<Answer::Range> rates;
};

// The plan the window and the command line show, or why there is none. An
// input error in the costs, the dates or the early repayment leaves the plan
// without them, so that its rows, which do not depend on them, can still be
// shown; an error in the loan itself leaves no plan.
struct PlanOutcome {
    std::optional<LoanReading> loan;
    std::variant<AmortizationPlan, PlanRefusal> plan;
    std::optional<InputError> error;
};
PlanOutcome planFor(const PlanInputs& inputs, const NumberText& numbers);
// The plan of the loan a calculation worked out, with the other inputs.
PlanOutcome planFor(const LoanTerms& terms, const PlanInputs& inputs, const NumberText& numbers);
// Its constant-installment plan, without costs, or why there is none.
std::variant<AmortizationPlan, PlanRefusal> amortizationPlan(const LoanTerms& terms, const NumberText& numbers);

} // namespace ratalia
