#include "core/amortization_plan.h"

#include <limits>

namespace ratalia {
namespace {

__extension__ using Wide = unsigned __int128;

const Text tooManyInstallments =
    u"Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha ";
const Text amountsTooLarge = u"Gli importi di questo prestito sono troppo grandi per un piano di ammortamento.";
const Text capitalTooSmall =
    u"Il capitale è inferiore a mezzo centesimo: non c'è un piano di ammortamento da mostrare.";

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

Text decimalDigits(std::int64_t value)
{
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

} // namespace

std::variant<AmortizationPlan, Text> AmortizationPlan::make(Cents capital, MonthlyRate rate, std::int64_t installments,
                                                            Cents installment)
{
    if (installments > maximumInstallments)
        return tooManyInstallments + decimalDigits(installments) + u".";
    if (capital <= 0)
        return capitalTooSmall;
    if (installments < 1 || installment < 0 || rate.value.significand < 0 || rate.divisor < 1)
        return amountsTooLarge;

    AmortizationPlan plan;
    plan.capital_ = capital;
    plan.installment_ = installment;
    plan.rows_.reserve(static_cast<std::size_t>(installments));
    Cents debt = capital;
    for (std::int64_t number = 1; number <= installments; ++number) {
        PlanRow row;
        row.number = number;
        const auto interest = interestOn(debt, rate);
        if (!interest)
            return amountsTooLarge;
        row.interest = *interest;
        if (number == installments) {
            row.principal = debt;
        } else {
            if (__builtin_sub_overflow(installment, row.interest, &row.principal))
                return amountsTooLarge;
            if (row.principal > debt)
                row.principal = debt;
        }
        if (__builtin_add_overflow(row.principal, row.interest, &row.installment) ||
            __builtin_sub_overflow(debt, row.principal, &debt) ||
            __builtin_add_overflow(plan.totalPaid_, row.installment, &plan.totalPaid_) ||
            __builtin_add_overflow(plan.totalInterest_, row.interest, &plan.totalInterest_))
            return amountsTooLarge;
        row.remainingDebt = debt;
        plan.totalPrincipal_ += row.principal;
        plan.rows_.push_back(row);
    }
    return plan;
}

std::optional<Cents> toCents(TextView text, const NumberText& numbers)
{
    const auto value = numbers.exactValue(numbers.patternText(text, Pattern::TwoDecimals));
    if (!value || value->exponent < -2)
        return std::nullopt;
    return scaled(value->significand, value->exponent + 2);
}

std::variant<AmortizationPlan, Text> amortizationPlan(const LoanTerms& terms, const NumberText& numbers)
{
    const auto count = numbers.exactValue(terms.installmentCount);
    if (count && count->exponent >= 0 && count->significand > 0) {
        const auto installments = scaled(count->significand, count->exponent);
        if (!installments || *installments > AmortizationPlan::maximumInstallments)
            return tooManyInstallments + numbers.plainText(terms.installmentCount).substr(1) + u".";
    }
    const auto capital = toCents(terms.capital, numbers);
    const auto installment = toCents(terms.installment, numbers);
    // The rate typed, when its digits are few enough to hold; otherwise the
    // monthly rate the calculation wrote.
    std::optional<MonthlyRate> rate;
    if (const auto annual = numbers.exactValue(terms.annualRate))
        rate = MonthlyRate{*annual, 1200};
    else if (const auto monthly = numbers.exactValue(terms.monthlyRate))
        rate = MonthlyRate{*monthly, 1};
    if (!count || count->exponent < 0 || !capital || !rate || !installment)
        return amountsTooLarge;
    return AmortizationPlan::make(*capital, *rate, *scaled(count->significand, count->exponent), *installment);
}

} // namespace ratalia
