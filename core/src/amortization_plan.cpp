#include "core/amortization_plan.h"

#include "core/annual_percentage_rate.h"
#include "core/uint128.h"

#include <cmath>
#include <limits>

namespace ratalia {
namespace {

using Wide = UInt128;

constexpr Cents largest = std::numeric_limits<Cents>::max();

// 10^exponent × value, or nothing past 64-bit cents.
std::optional<Cents> scaled(std::int64_t value, std::int64_t exponent)
{
    Cents result = value;
    for (std::int64_t i = 0; i < exponent; ++i)
        if (__builtin_mul_overflow(result, 10, &result))
            return std::nullopt;
    return result;
}

PlanRefusal refusal(PlanRefusal::Reason reason, const LoanInCents& loan, Cents installment, std::int64_t row = 0,
                    Cents amount = 0)
{
    PlanRefusal r;
    r.reason = reason;
    r.kind = loan.kind;
    r.count = static_cast<double>(loan.installments);
    r.installments = loan.installments;
    r.installment = installment;
    r.row = row;
    r.amount = amount;
    return r;
}

Cents costsWith(std::int64_t number, const LoanCosts& costs)
{
    return costs.perInstallment + (number % 12 == 0 ? costs.annual : 0);
}

} // namespace

// amount × ratio: the product of two 64-bit numbers fits in 128 bits, so the
// rounding is exact.
std::optional<std::int64_t> shareOf(std::int64_t amount, const Ratio& ratio)
{
    if (amount < 0 || ratio.value.significand < 0 || ratio.divisor < 1)
        return std::nullopt;
    constexpr Wide limit = ~Wide{0} / 10;
    Wide product = static_cast<Wide>(amount) * static_cast<Wide>(ratio.value.significand);
    Wide divisor = static_cast<Wide>(ratio.divisor);
    for (std::int64_t i = 0; i < ratio.value.exponent; ++i) {
        if (product > limit)
            return std::nullopt;
        product *= 10;
    }
    for (std::int64_t i = 0; i < -ratio.value.exponent; ++i) {
        // The product is below 2^127 and so below half of the divisor: nothing is left.
        if (divisor > limit)
            return 0;
        divisor *= 10;
    }
    Wide quotient = product / divisor;
    if (product % divisor >= divisor - product % divisor)
        ++quotient;
    if (quotient > static_cast<Wide>(largest))
        return std::nullopt;
    return static_cast<std::int64_t>(quotient);
}

std::variant<AmortizationPlan, PlanRefusal> AmortizationPlan::make(const LoanInCents& loan)
{
    using Reason = PlanRefusal::Reason;
    const bool italian = loan.kind == PlanKind::Italian;
    // What stays the same from row to row: the installment, or the principal.
    const auto constant = italian ? shareOf(loan.capital, {{1, 0}, std::max<std::int64_t>(loan.installments, 1)})
                                  : std::optional<Cents>(loan.installment);
    if (loan.installments > maximumInstallments)
        return refusal(Reason::TooManyInstallments, loan, loan.installment);
    if (loan.capital <= 0)
        return refusal(Reason::CapitalTooSmall, loan, loan.installment);
    if (loan.installments < 1 || !constant || *constant < 0 || loan.rate.value.significand < 0 || loan.rate.divisor < 1)
        return refusal(Reason::AmountsTooLarge, loan, loan.installment);

    AmortizationPlan plan;
    plan.kind_ = loan.kind;
    plan.capital_ = loan.capital;
    plan.installment_ = *constant;
    plan.costs_ = loan.costs;
    plan.rows_.reserve(static_cast<std::size_t>(loan.installments));
    Cents debt = loan.capital;
    for (std::int64_t number = 1; number <= loan.installments; ++number) {
        PlanRow row;
        row.number = number;
        const auto interest = shareOf(debt, loan.rate);
        if (!interest)
            return refusal(Reason::AmountsTooLarge, loan, *constant);
        row.interest = *interest;
        if (number == loan.installments) {
            row.principal = debt;
        } else {
            if (italian)
                row.principal = *constant;
            else if (__builtin_sub_overflow(*constant, row.interest, &row.principal))
                return refusal(Reason::AmountsTooLarge, loan, *constant);
            if (row.principal < 0)
                return refusal(Reason::InterestNotCovered, loan, *constant, number, row.interest);
            if (row.principal >= debt)
                return refusal(Reason::RepaidEarly, loan, *constant, number);
        }
        row.costs = costsWith(number, loan.costs);
        Cents payment = 0;
        if (__builtin_add_overflow(row.principal, row.interest, &row.installment) ||
            __builtin_sub_overflow(debt, row.principal, &debt) ||
            __builtin_add_overflow(plan.totalPaid_, row.installment, &plan.totalPaid_) ||
            __builtin_add_overflow(plan.totalInterest_, row.interest, &plan.totalInterest_) ||
            __builtin_add_overflow(plan.totalInstallmentCosts_, row.costs, &plan.totalInstallmentCosts_) ||
            __builtin_add_overflow(row.installment, row.costs, &payment))
            return refusal(Reason::AmountsTooLarge, loan, *constant);
        row.remainingDebt = debt;
        plan.totalPrincipal_ += row.principal;
        plan.rows_.push_back(row);
    }
    // Within one installment (principal) of the others: more than 0, less than two.
    const PlanRow& lastRow = plan.rows_.back();
    const Cents last = italian ? lastRow.principal : lastRow.installment;
    if (last <= 0 || last - *constant >= *constant)
        return refusal(Reason::LastInstallmentOff, loan, *constant, loan.installments, last);

    std::vector<Cents> payments;
    payments.reserve(plan.rows_.size());
    for (const PlanRow& row : plan.rows_)
        payments.push_back(row.payment());
    plan.annualPercentageRate_ = ratalia::annualPercentageRate(plan.received(), payments);
    return plan;
}

Cents AmortizationPlan::lastDifference() const
{
    const PlanRow& last = rows_.back();
    return (kind_ == PlanKind::Italian ? last.principal : last.installment) - installment_;
}

std::optional<Cents> toCents(TextView text, const NumberText& numbers)
{
    const auto value = numbers.exactValue(numbers.patternText(text, Pattern::TwoDecimals));
    if (!value || value->exponent < -2)
        return std::nullopt;
    return scaled(value->significand, value->exponent + 2);
}

std::variant<LoanInCents, PlanRefusal> loanInCents(const LoanTerms& terms, const NumberText& numbers)
{
    PlanRefusal refusal;
    // The count as the calculation read it: "24,0000000000000000001" months are 24.
    const auto count = numbers.tryToNumber(terms.installmentCount);
    if (!count || *count < 1 || std::floor(*count) != *count)
        return refusal;
    if (*count > static_cast<double>(AmortizationPlan::maximumInstallments)) {
        refusal.reason = PlanRefusal::Reason::TooManyInstallments;
        refusal.count = *count;
        return refusal;
    }
    LoanInCents loan;
    loan.installments = static_cast<std::int64_t>(*count);
    const auto capital = toCents(terms.capital, numbers);
    const auto installment = toCents(terms.installment, numbers);
    // The rate typed, when its digits are few enough to hold; otherwise the
    // monthly rate the calculation wrote.
    std::optional<MonthlyRate> rate;
    if (const auto annual = numbers.exactValue(terms.annualRate))
        rate = MonthlyRate{*annual, 1200};
    else if (const auto monthly = numbers.exactValue(terms.monthlyRate))
        rate = MonthlyRate{*monthly, 1};
    if (!capital || !rate || !installment)
        return refusal;
    loan.capital = *capital;
    loan.rate = *rate;
    loan.installment = *installment;
    return loan;
}

std::variant<AmortizationPlan, PlanRefusal> amortizationPlan(const LoanTerms& terms, const NumberText& numbers)
{
    auto loan = loanInCents(terms, numbers);
    if (const auto* refused = std::get_if<PlanRefusal>(&loan))
        return *refused;
    return AmortizationPlan::make(std::get<LoanInCents>(loan));
}

} // namespace ratalia
