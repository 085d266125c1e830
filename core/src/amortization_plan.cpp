#include "core/amortization_plan.h"

#include "core/annual_percentage_rate.h"
#include "core/annuity.h"
#include "core/failures.h"
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

// The French installment on `debt` over `count` months at the rate, in
// cents: debt × i ÷ (1 − (1 + i)^−count), the power worked out exactly (the
// same on every platform), rounded half away from zero.
std::optional<Cents> annuityInCents(Cents debt, const MonthlyRate& rate, std::int64_t count)
{
    if (rate.value.significand == 0)
        return shareOf(debt, {{1, 0}, count});
    // i as the double nearest value ÷ divisor: powers of ten up to 10^22 are exact doubles.
    double scale = 1;
    for (std::int64_t k = 0; k < (rate.value.exponent < 0 ? -rate.value.exponent : rate.value.exponent); ++k)
        scale *= 10;
    if (scale > 1e22)
        return std::nullopt;
    const double value = static_cast<double>(rate.value.significand);
    const double i = rate.value.exponent < 0 ? value / (scale * static_cast<double>(rate.divisor))
                                             : value * scale / static_cast<double>(rate.divisor);
    try {
        const double power = exactPower(1 + i, static_cast<double>(count));
        const double cents = static_cast<double>(debt) * i * power / (power - 1);
        if (!std::isfinite(cents) || cents > 9.2e18)
            return std::nullopt;
        return static_cast<Cents>(std::floor(cents + 0.5));
    } catch (const ArithmeticFailure&) {
        return std::nullopt;
    }
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
    plan.firstDue_ = loan.firstDue;
    plan.planned_ = loan.installments;
    plan.rows_.reserve(static_cast<std::size_t>(loan.installments));
    Cents debt = loan.capital;
    if (auto refused = plan.appendRows(loan, *constant, loan.installments, false, debt))
        return *refused;

    if (loan.repayment) {
        const EarlyRepayment& early = *loan.repayment;
        if (early.after < 1 || early.after >= loan.installments)
            return refusal(Reason::AmountsTooLarge, loan, *constant);
        Cents interestBefore = 0;
        for (const PlanRow& row : plan.rows_)
            if (__builtin_add_overflow(interestBefore, row.interest, &interestBefore))
                return refusal(Reason::AmountsTooLarge, loan, *constant);
        plan.rows_.resize(static_cast<std::size_t>(early.after));
        PlanRow& with = plan.rows_.back();
        debt = with.remainingDebt;
        const Cents amount = early.amount.value_or(debt);
        const auto penalty = shareOf(amount, early.penalty);
        if (amount <= 0 || amount > debt || !penalty)
            return refusal(Reason::AmountsTooLarge, loan, *constant);
        with.prepaid = amount;
        debt -= amount;
        with.remainingDebt = debt;
        plan.repayment_ = early;
        plan.repaid_ = amount;
        plan.penalty_ = *penalty;
        plan.installmentAfter_ = *constant;
        if (debt > 0) {
            LoanInCents rest = loan;
            rest.installments = loan.installments - early.after;
            if (!early.reduceDuration) {
                // The same end: the installment (principal) worked out again on what is owed.
                const auto again = italian ? shareOf(debt, {{1, 0}, rest.installments})
                                           : annuityInCents(debt, loan.rate, rest.installments);
                if (!again)
                    return refusal(Reason::AmountsTooLarge, loan, *constant);
                plan.installmentAfter_ = *again;
            }
            rest.installment = plan.installmentAfter_;
            if (auto refused =
                    plan.appendRows(rest, plan.installmentAfter_, loan.installments, early.reduceDuration, debt))
                return *refused;
        }
        plan.rows_[static_cast<std::size_t>(early.after - 1)].costs += plan.penalty_;
        if (!plan.sumUp())
            return refusal(Reason::AmountsTooLarge, loan, *constant);
        plan.interestSaved_ = interestBefore - plan.totalInterest_;
    } else if (!plan.sumUp()) {
        return refusal(Reason::AmountsTooLarge, loan, *constant);
    }

    std::vector<Cents> payments;
    payments.reserve(plan.rows_.size());
    for (const PlanRow& row : plan.rows_)
        payments.push_back(row.payment());
    plan.annualPercentageRate_ = ratalia::annualPercentageRate(plan.received(), payments);
    return plan;
}

std::optional<PlanRefusal> AmortizationPlan::appendRows(const LoanInCents& loan, Cents constant, std::int64_t last,
                                                        bool freeEnd, Cents& debt)
{
    using Reason = PlanRefusal::Reason;
    const bool italian = loan.kind == PlanKind::Italian;
    for (std::int64_t number = static_cast<std::int64_t>(rows_.size()) + 1; number <= last && debt > 0; ++number) {
        PlanRow row;
        row.number = number;
        const auto interest = shareOf(debt, loan.rate);
        if (!interest)
            return refusal(Reason::AmountsTooLarge, loan, constant);
        row.interest = *interest;
        if (italian)
            row.principal = constant;
        else if (__builtin_sub_overflow(constant, row.interest, &row.principal))
            return refusal(Reason::AmountsTooLarge, loan, constant);
        if (row.principal < 0 || (row.principal == 0 && freeEnd))
            return refusal(Reason::InterestNotCovered, loan, constant, number, row.interest);
        if (number == last || (freeEnd && row.principal >= debt))
            row.principal = debt;
        else if (row.principal >= debt)
            return refusal(Reason::RepaidEarly, loan, constant, number);
        row.costs = costsWith(number, loan.costs);
        Cents payment = 0;
        if (__builtin_add_overflow(row.principal, row.interest, &row.installment) ||
            __builtin_sub_overflow(debt, row.principal, &debt) ||
            __builtin_add_overflow(row.installment, row.costs, &payment))
            return refusal(Reason::AmountsTooLarge, loan, constant);
        row.remainingDebt = debt;
        rows_.push_back(row);
    }
    // A fixed end: within one installment (principal) of the others, more than 0, less than two.
    if (!freeEnd) {
        const PlanRow& lastRow = rows_.back();
        const Cents lastOne = italian ? lastRow.principal : lastRow.installment;
        if (lastOne <= 0 || lastOne - constant >= constant)
            return refusal(Reason::LastInstallmentOff, loan, constant, loan.installments, lastOne);
    }
    return std::nullopt;
}

bool AmortizationPlan::sumUp()
{
    totalPaid_ = totalInterest_ = totalPrincipal_ = totalInstallmentCosts_ = 0;
    for (const PlanRow& row : rows_) {
        Cents payment = 0;
        if (__builtin_add_overflow(totalPaid_, row.installment, &totalPaid_) ||
            __builtin_add_overflow(totalInterest_, row.interest, &totalInterest_) ||
            __builtin_add_overflow(totalPrincipal_, row.principal, &totalPrincipal_) ||
            __builtin_add_overflow(totalInstallmentCosts_, row.costs, &totalInstallmentCosts_) ||
            __builtin_add_overflow(row.installment, row.costs, &payment) ||
            __builtin_add_overflow(payment, row.prepaid, &payment))
            return false;
    }
    // Every figure the plan shows adds up from these: they too must fit.
    Cents due = 0;
    return !__builtin_add_overflow(capital_, totalInterest_, &due) && !__builtin_add_overflow(due, totalCosts(), &due);
}

Cents AmortizationPlan::lastDifference() const
{
    const PlanRow& last = rows_.back();
    const Cents constant = repayment_ ? installmentAfter_ : installment_;
    return (kind_ == PlanKind::Italian ? last.principal : last.installment) - constant;
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
