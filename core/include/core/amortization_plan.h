#pragma once

// The plan behind a calculation: how each installment splits into interest
// and principal, and what is still owed after it. Money is counted in whole
// cents, so every row adds up exactly as it is shown.
//
// 10 000 € over 24 months at 6,75 %: installment 446,59, first interest
// 56,25, first principal 390,34; the 24th installment, 446,68, pays the
// 444,18 left and its interest.

#include "core/loan_form.h"
#include "core/number_text.h"
#include "core/text.h"

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace ratalia {

using Cents = std::int64_t;

// What only a calculation knows: the figures it wrote before showing them
// rounded.
struct CalculatedFigures {
    Text monthlyRate; // with every digit the installment was computed from
    Text installment; // before any rounding to cents
};

// What a completed calculation worked with, as the texts it read and wrote.
struct LoanTerms {
    Text capital;
    Text duration; // after any rounding
    DurationUnit unit = DurationUnit::Months;
    Text annualRate;
    Text monthlyRate; // with every digit the installment was computed from
    Text installment; // before any rounding to cents
    Text installmentCount;
};

// i = value ÷ divisor, exactly: the annual rate typed ÷ 1200, so that each
// interest rounds as it would by hand, not as its 15-digit rendering would.
struct MonthlyRate {
    ExactDecimal value;
    std::int64_t divisor = 1;
};

// The loan in the units the plan counts in.
struct LoanInCents {
    Cents capital = 0;
    MonthlyRate rate;
    std::int64_t installments = 0;
    Cents installment = 0; // the installment rounded to cents, as "Arrotonda" rounds it
};

struct PlanRow {
    std::int64_t number = 0;
    Cents installment = 0;
    Cents interest = 0;
    Cents principal = 0;
    Cents remainingDebt = 0;
    bool operator==(const PlanRow&) const = default;
};

// Why a loan has no plan to show.
struct PlanRefusal {
    enum class Reason {
        TooManyInstallments, // more than the plan shows; `count` says how many
        CapitalTooSmall,     // under half a cent
        AmountsTooLarge,     // beyond whole cents in 64 bits
        // Rounded to cents, the installment cannot repay the loan in its
        // installments: it does not cover the interest of row `row`, or the
        // debt is gone with row `row`, before the last, or the last
        // installment would be `amount`, more than one installment away.
        InterestNotCovered,
        RepaidEarly,
        LastInstallmentOff,
    };
    Reason reason = Reason::AmountsTooLarge;
    double count = 0;
    std::int64_t installments = 0;
    Cents installment = 0;
    std::int64_t row = 0;
    Cents amount = 0;
};

class AmortizationPlan {
public:
    static constexpr std::int64_t maximumInstallments = 100'000;

    // Rows 1…N: each row's interest is the remaining debt × the monthly rate,
    // rounded half away from zero to cents; its principal is the installment
    // minus that interest; the last row pays the remaining debt. The plan is
    // made only where that repays the loan as a bank would: every
    // installment covers its interest, the debt lasts until the last row, and
    // the last installment lies within one installment of the others.
    static std::variant<AmortizationPlan, PlanRefusal> make(const LoanInCents& loan);

    const std::vector<PlanRow>& rows() const { return rows_; }
    Cents capital() const { return capital_; }
    Cents installment() const { return installment_; }
    Cents totalPaid() const { return totalPaid_; }
    Cents totalInterest() const { return totalInterest_; }
    Cents totalPrincipal() const { return totalPrincipal_; }
    // The last installment minus the others: what rounding to cents left over.
    Cents lastInstallmentDifference() const { return rows_.back().installment - installment_; }

private:
    AmortizationPlan() = default;

    Cents capital_ = 0;
    Cents installment_ = 0;
    Cents totalPaid_ = 0;
    Cents totalInterest_ = 0;
    Cents totalPrincipal_ = 0;
    std::vector<PlanRow> rows_;
};

// A number text rounded half away from zero to whole cents, as "Arrotonda"
// rounds it; nothing when it is not a number or beyond 64-bit cents.
std::optional<Cents> toCents(TextView text, const NumberText& numbers);

// The loan a calculation worked out, in cents, or why it has no plan.
std::variant<LoanInCents, PlanRefusal> loanInCents(const LoanTerms& terms, const NumberText& numbers);

// The plan of the loan a calculation worked out, or why there is none.
std::variant<AmortizationPlan, PlanRefusal> amortizationPlan(const LoanTerms& terms, const NumberText& numbers);

} // namespace ratalia
