#pragma once

// The constant-installment plan behind a calculation: how each installment
// splits into interest and principal, and what is still owed after it. Money
// is counted in whole cents, so every row adds up exactly as it is shown.

#include "core/loan_form.h"
#include "core/number_text.h"
#include "core/text.h"

#include <cstdint>
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

struct PlanRow {
    std::int64_t number = 0;
    Cents installment = 0;
    Cents interest = 0;
    Cents principal = 0;
    Cents remainingDebt = 0;
    bool operator==(const PlanRow&) const = default;
};

// i = value ÷ divisor, exactly: the annual rate typed ÷ 1200, so that each
// interest rounds as it would by hand, not as its 15-digit rendering would.
struct MonthlyRate {
    ExactDecimal value;
    std::int64_t divisor = 1;
};

class AmortizationPlan {
public:
    static constexpr std::int64_t maximumInstallments = 100'000;

    // Rows 1…N: each row's interest is the remaining debt × the monthly rate,
    // rounded half away from zero to cents; its principal is the installment
    // minus that interest, never more than the debt; the last row pays the
    // remaining debt exactly. Returns why not, for amounts beyond whole cents
    // in 64 bits or more installments than the plan shows.
    static std::variant<AmortizationPlan, Text> make(Cents capital, MonthlyRate rate, std::int64_t installments,
                                                     Cents installment);

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

// The plan of the loan a calculation worked out, or why there is none.
std::variant<AmortizationPlan, Text> amortizationPlan(const LoanTerms& terms, const NumberText& numbers);

} // namespace ratalia
