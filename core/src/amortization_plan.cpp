#include "core/amortization_plan.h"

#include <cmath>
#include <limits>

namespace ratalia {
namespace {

__extension__ using Wide = unsigned __int128;

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

// debt × rate, rounded half away from zero to whole cents. The product of
// two 64-bit numbers fits in 128 bits, so the rounding is exact.
std::optional<Cents> interestOn(Cents debt, const MonthlyRate& rate)
{
    constexpr Wide limit = ~Wide{0} / 10;
    Wide product = static_cast<Wide>(debt) * static_cast<Wide>(rate.value.significand);
    Wide divisor = static_cast<Wide>(rate.divisor);
    for (std::int64_t i = 0; i < rate.value.exponent; ++i) {
        if (product > limit)
            return std::nullopt;
        product *= 10;
    }
    for (std::int64_t i = 0; i < -rate.value.exponent; ++i) {
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
    return static_cast<Cents>(quotient);
}

PlanRefusal refusal(PlanRefusal::Reason reason, const LoanInCents& loan, std::int64_t row = 0, Cents amount = 0)
{
    PlanRefusal r;
    r.reason = reason;
    r.count = static_cast<double>(loan.installments);
    r.installments = loan.installments;
    r.installment = loan.installment;
    r.row = row;
    r.amount = amount;
    return r;
}

} // namespace

std::variant<AmortizationPlan, PlanRefusal> AmortizationPlan::make(const LoanInCents& loan)
{
    using Reason = PlanRefusal::Reason;
    if (loan.installments > maximumInstallments)
        return refusal(Reason::TooManyInstallments, loan);
    if (loan.capital <= 0)
        return refusal(Reason::CapitalTooSmall, loan);
    if (loan.installments < 1 || loan.installment < 0 || loan.rate.value.significand < 0 || loan.rate.divisor < 1)
        return refusal(Reason::AmountsTooLarge, loan);

    AmortizationPlan plan;
    plan.capital_ = loan.capital;
    plan.installment_ = loan.installment;
    plan.rows_.reserve(static_cast<std::size_t>(loan.installments));
    Cents debt = loan.capital;
    for (std::int64_t number = 1; number <= loan.installments; ++number) {
        PlanRow row;
        row.number = number;
        const auto interest = interestOn(debt, loan.rate);
        if (!interest)
            return refusal(Reason::AmountsTooLarge, loan);
        row.interest = *interest;
        if (number == loan.installments) {
            row.principal = debt;
        } else {
            if (__builtin_sub_overflow(loan.installment, row.interest, &row.principal))
                return refusal(Reason::AmountsTooLarge, loan);
            if (row.principal < 0)
                return refusal(Reason::InterestNotCovered, loan, number, row.interest);
            if (row.principal >= debt)
                return refusal(Reason::RepaidEarly, loan, number);
        }
        if (__builtin_add_overflow(row.principal, row.interest, &row.installment) ||
            __builtin_sub_overflow(debt, row.principal, &debt) ||
            __builtin_add_overflow(plan.totalPaid_, row.installment, &plan.totalPaid_) ||
            __builtin_add_overflow(plan.totalInterest_, row.interest, &plan.totalInterest_))
            return refusal(Reason::AmountsTooLarge, loan);
        row.remainingDebt = debt;
        plan.totalPrincipal_ += row.principal;
        plan.rows_.push_back(row);
    }
    // Within one installment of the others: more than 0, less than two.
    const Cents last = plan.rows_.back().installment;
    if (last <= 0 || last - loan.installment >= loan.installment)
        return refusal(Reason::LastInstallmentOff, loan, loan.installments, last);
    return plan;
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
