#pragma once

// The loan's fourth figure worked out from the other three: the capital, the
// number of installments or the annual rate from the installment a borrower
// can pay. Each in whole cents as the plan counts them, by a search over a
// range that holds the answer and halves at every step, so that it always
// ends; where there is no answer, the reason, never a figure that is not one.

#include "loan/amortization_plan.h"
#include "numbers/number_text.h"

#include <optional>
#include <variant>

namespace ratalia {

// Which of the four the plan works out; the installment unless chosen otherwise.
enum class Unknown { Installment, Capital, Duration, Rate };

// What of the plan's shape the questions know: the installments a year, the
// installments of preammortamento and the maxi-rata.
struct SolveShape {
    int periodsPerYear = 12;
    std::int64_t interestOnly = 0;
    Cents balloon = 0;
};

// The installment a plan starts repaying with, rounded to the cent as the
// plan rounds it: the French plan's installment, or the Italian plan's first
// and largest (the principal, what the installments repay ÷ their count, and
// a period's interest on the whole capital); after a preammortamento, the
// first that repays capital. Nothing past 64-bit cents, or where the
// installments cannot repay the capital less the maxi-rata.
std::optional<Cents> firstInstallment(Cents capital, std::int64_t count, const ExactDecimal& annualRate, PlanKind kind,
                                      const SolveShape& shape = {});

// The highest annual rate a question about the rate looks at, per cent: well
// above any rate the law lets a lender charge.
inline constexpr std::int64_t highestRate = 100;

// What a question found: the loan with the figure worked out, and for the
// rate, every annual rate of at most four decimals that gives the same
// installment, where there is more than one.
struct Answer {
    Cents capital = 0;
    std::int64_t count = 0;
    ExactDecimal annualRate;
    struct Range {
        ExactDecimal lowest, highest;
    };
    std::optional<Range> rates;
};

// The largest capital in whole cents whose first installment is at most
// `installment` and whose plan can be made: where the very largest would leave
// its last installment more than a plan allows (a long plan whose rounded
// installment pays a little less than its exact one every month), the
// largest with the same installment whose last stays within it.
std::variant<Answer, PlanRefusal> solveCapital(Cents installment, std::int64_t count, const ExactDecimal& annualRate,
                                               PlanKind kind, const SolveShape& shape = {});
// The fewest installments (a whole number of `step` months) with which a
// first installment of at most `installment` repays the capital: the plan
// then has the equal installment of that many months.
std::variant<Answer, PlanRefusal> solveDuration(Cents capital, Cents installment, const ExactDecimal& annualRate,
                                                PlanKind kind, std::int64_t step, const SolveShape& shape = {});
// The annual rate with the fewest decimals, at most four, whose first
// installment is `installment`.
std::variant<Answer, PlanRefusal> solveRate(Cents capital, std::int64_t count, Cents installment, PlanKind kind,
                                            const SolveShape& shape = {});

} // namespace ratalia
