#pragma once

// The plan's inputs, each described once, in one table: how its text is
// read, the section a window shows it in, its names there (object,
// caption, accessible name, tooltip, unit, placeholder) and on the command
// line (option, value, help line). Both windows build their controls from
// it, the command line its options and --help, and a wrong input is named
// from it. Adding an input is its row here and its rule where the loan reads
// it (planFor).

#include "loan/amortization_plan.h"
#include "loan/loan_terms.h"
#include "loan/solve.h"
#include "numbers/text.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace ratalia {

enum class PlanInput {
    Solve,
    Capital,
    Duration,
    Unit,
    AnnualRate,
    Installment,
    Kind,
    Frequency,
    InterestOnly,
    Balloon,
    RateSteps,
    InitialFees,
    SubstituteTax,
    InstallmentFee,
    AnnualFee,
    FinalFees,
    Insurance,
    SinglePremium,
    Signing,
    FirstDue,
    DayCount,
    OddDays,
    RepayAfter,
    RepayAmount,
    Reduce,
    Penalty,
    Repayments,
    Extra,
    Credit,
};
inline constexpr std::size_t planInputCount = static_cast<std::size_t>(PlanInput::Credit) + 1;

// How an input's text is read.
enum class InputValue {
    Amount,      // in euros, to the cent: "1.500,00", "1500"
    Percentage,  // "0,25"
    Count,       // a whole number: "240"
    Month,       // "MM/AAAA"
    Day,         // "GG/MM/AAAA"
    MonthOrDay,  // either
    AmountOrAll, // an amount, or "tutto": all that is owed
    RateSteps,   // "from installment k, TAN x", any number: "25:6; 61:4,5"
    Repayments,  // "after installment k, an amount or all, reducing what, a penalty", any number: "24:5000; 60:tutto"
    Extra,       // "an amount, with every installment or once a year, from installment k": "100:mensile:13"
    Choice,      // one of its options
};

// The groups a window shows the inputs in, in order.
enum class PlanSection { Loan, Shape, Costs, Dates, EarlyRepayment };

// One of a choice's options: its caption, its word on the command line, and
// for a choice among values (the imposta's), the value, with "," standing
// for the region's decimal separator.
struct InputChoice {
    std::u16string_view caption;
    std::string_view word;
    std::u16string_view value;
};

// An option of the command line that sets the input.
struct InputOption {
    std::string_view name;      // "--spese-iniziali"
    std::string_view valueName; // "IMPORTO"
    std::string_view help;      // what --help says of it
    bool repeatable = false;    // given again, it adds to the field's text: "25:6; 61:4,5"
};

struct PlanInputSpec {
    PlanInput id;
    InputValue value;
    PlanSection section;
    const char* objectName;
    std::u16string_view caption; // "&" marks the access key
    std::u16string_view accessibleName;
    std::u16string_view toolTip;
    std::u16string_view unit;        // after a field: "€" or "%"; empty for none
    std::u16string_view placeholder; // shown in an empty field
    // A choice's options, the default first: the only choice of a Choice, a
    // window's shortcut to some values of a field (the imposta's).
    std::span<const InputChoice> choices;
    std::span<const InputOption> options;
    // Whether a window offers it as a list of options.
    bool listed() const { return !choices.empty(); }
};

std::span<const PlanInputSpec> planInputSpecs();
// The field of the figure worked out: Rata, Capitale, Durata or Tasso annuo.
PlanInput fieldOf(Unknown unknown);
const PlanInputSpec& planInputSpec(PlanInput id);
// The section's title: "Prestito", "Costi", "Date", "Estinzione anticipata".
std::u16string_view sectionTitle(PlanSection section);

// What the user has typed and chosen for the plan: a text for each field,
// an option for each choice (the first at start), all empty.
class PlanInputs {
public:
    PlanInputs() = default;
    // The loan a calculation worked with, and nothing else.
    explicit PlanInputs(const LoanTerms& terms);

    const Text& text(PlanInput input) const { return texts_[index(input)]; }
    void setText(PlanInput input, Text text) { texts_[index(input)] = std::move(text); }
    std::size_t choice(PlanInput input) const { return choices_[index(input)]; }
    void choose(PlanInput input, std::size_t option) { choices_[index(input)] = option; }

    // The choices by what they mean, in the order their options are listed.
    Unknown unknown() const { return static_cast<Unknown>(choice(PlanInput::Solve)); }
    DurationUnit unit() const { return static_cast<DurationUnit>(choice(PlanInput::Unit)); }
    PlanKind kind() const { return static_cast<PlanKind>(choice(PlanInput::Kind)); }
    bool reduceDuration() const { return choice(PlanInput::Reduce) == 1; }
    // Installments a year: 12, 6, 4, 2 or 1.
    int periodsPerYear() const;
    // Whether the odd days' interest counts a year of 360 days rather than 365 or 366.
    bool commercialYear() const { return choice(PlanInput::DayCount) == 1; }
    // Whether the odd days' interest is a row of its own rather than within the first installment.
    bool oddDaysOwnRow() const { return choice(PlanInput::OddDays) == 1; }
    CreditKind credit() const { return static_cast<CreditKind>(choice(PlanInput::Credit)); }

    // Whether anything but the loan itself differs from a new window's.
    bool hasMoreThanTheLoan() const;
    // The same inputs with the loan's (which figure is worked out, the
    // capital, the duration and its unit, the rate, the installment) from `loan`.
    PlanInputs withLoanOf(const PlanInputs& loan) const;
    bool sameLoan(const PlanInputs& other) const;

    bool operator==(const PlanInputs&) const = default;

private:
    static std::size_t index(PlanInput input) { return static_cast<std::size_t>(input); }

    std::array<Text, planInputCount> texts_{};
    std::array<std::size_t, planInputCount> choices_{};
};

// The word for all that is owed, in the amount repaid early, in any case: "tutto", "Tutto", "TUTTO".
inline constexpr std::u16string_view everything = u"tutto";

// The longest loan that pays no imposta sostitutiva, in months (DPR 601/1973, art. 15).
inline constexpr std::int64_t longestUntaxedLoan = 18;

} // namespace ratalia
