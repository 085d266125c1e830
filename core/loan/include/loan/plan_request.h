#pragma once

// What the user asks of the plan besides the loan itself: the kind of plan,
// the costs of a "foglio informativo", the month of the first installment
// and an early repayment, as typed in the plan window or given on the
// command line, read with the same rules as the main window's numbers (","
// and "." both the decimal separator, no thousands separators). Every input
// is optional: empty is nothing.

#include "loan/amortization_plan.h"
#include "numbers/number_text.h"
#include "numbers/text.h"

#include <variant>

namespace ratalia {

class AmountText;

enum class PlanInput {
    Kind,
    InitialFees,
    SubstituteTax,
    InstallmentFee,
    AnnualFee,
    FirstDue,
    RepayAfter,
    RepayAmount,
    Reduce,
    Penalty,
    Credit,
};

struct PlanInputs {
    PlanKind kind = PlanKind::French;
    Text initialFees{};                    // an amount
    Text substituteTax{};                  // a percentage of the capital
    Text installmentFee{};                 // an amount
    Text annualFee{};                      // an amount
    Text firstDue{};                       // "MM/AAAA"
    Text repayAfter{};                     // the installment the early repayment comes with
    Text repayAmount{};                    // an amount, or "tutto": all that is then owed
    bool reduceDuration = false;           // after a partial repayment: the same installment, fewer of them
    Text penalty{};                        // a percentage of the amount repaid early, as the contract states it
    CreditKind credit = CreditKind::Other; // whose law limits the penalty
};

// The longest loan that pays no imposta sostitutiva, in months (DPR 601/1973, art. 15).
inline constexpr std::int64_t longestUntaxedLoan = 18;

// The word for all that is owed, in the amount repaid early, in any case: "tutto", "Tutto", "TUTTO".
inline constexpr std::u16string_view everything = u"tutto";

// An input that cannot be used, and why.
struct InputError {
    enum class Reason {
        NotAnAmount,
        TooLarge,
        Negative,
        NotAPercentage,
        AboveHundred,
        NothingReceived, // costs at the start as large as the capital
        NotAMonth,
        NotAnInstallment, // the early repayment's installment is no whole number from 1 on
        BeyondThePlan,    // it is after the last
        NothingOwed,      // it is the last: after it nothing is owed
        AboveTheDebt,     // the amount is more than is owed then
        Zero,             // the amount repaid early is nothing
        Missing,          // the early repayment lacks its installment or its amount
        ShortLoan,        // an imposta sostitutiva on a loan of 18 months or less
    };
    PlanInput input = PlanInput::InitialFees;
    Reason reason = Reason::NotAnAmount;
    Text typed;
    Cents amount = 0;              // for NothingReceived, what is paid at the start; for AboveTheDebt, the amount
    Cents limit = 0;               // and the capital it leaves nothing of, or the debt it is above
    std::int64_t installments = 0; // the plan's, or the installment the debt is owed after
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
