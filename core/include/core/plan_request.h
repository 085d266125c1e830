#pragma once

// What the user asks of the plan besides the loan itself: the kind of plan
// and the costs of a "foglio informativo", as typed in the plan window or
// given on the command line, read with the same rules as the main window's
// numbers ("," and "." both the decimal separator, no thousands
// separators). Every input is optional: empty is nothing.

#include "core/amortization_plan.h"
#include "core/number_text.h"
#include "core/text.h"

#include <variant>

namespace ratalia {

class AmountText;

enum class PlanInput { Kind, InitialFees, SubstituteTax, InstallmentFee, AnnualFee };

struct PlanInputs {
    PlanKind kind = PlanKind::French;
    Text initialFees;    // an amount
    Text substituteTax;  // a percentage of the capital
    Text installmentFee; // an amount
    Text annualFee;      // an amount
};

// An input that cannot be used, and why.
struct InputError {
    enum class Reason { NotAnAmount, TooLarge, Negative, NotAPercentage, AboveHundred, NothingReceived };
    PlanInput input = PlanInput::InitialFees;
    Reason reason = Reason::NotAnAmount;
    Text typed;
    Cents upfront = 0; // for NothingReceived: what is paid at the start,
    Cents capital = 0; // and the capital it leaves nothing of
};

// Who names the input in a message: the window by its caption, the command line by its option.
enum class Naming { Window, CommandLine };
Text inputName(PlanInput input, Naming naming);
// One sentence that names the input: "Spese iniziali: «abc» non è un importo."
Text inputErrorText(const InputError& error, Naming naming, const AmountText& amounts);

// The costs in cents, the imposta as its share of the capital, or the first
// input that is wrong, costs that leave nothing received among them.
std::variant<LoanCosts, InputError> loanCosts(const PlanInputs& inputs, Cents capital, const NumberText& numbers);

// The plan the window and the command line show, or why there is none. An
// input error leaves the plan without its costs, so that its rows, which do
// not depend on them, can still be shown.
struct PlanOutcome {
    std::variant<AmortizationPlan, PlanRefusal> plan;
    std::optional<InputError> error;
};
PlanOutcome planFor(const LoanTerms& terms, const PlanInputs& inputs, const NumberText& numbers);

} // namespace ratalia
