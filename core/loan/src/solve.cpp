#include "loan/solve.h"

#include <algorithm>
#include <limits>

namespace ratalia {
namespace {

constexpr Cents largest = std::numeric_limits<Cents>::max();

PlanRefusal refusal(PlanRefusal::Reason reason, PlanKind kind, Cents installment, Cents amount = 0)
{
    PlanRefusal r;
    r.reason = reason;
    r.kind = kind;
    r.installment = installment;
    r.amount = amount;
    return r;
}

// k ten-thousandths of a per cent, with the trailing zeros dropped: 60000 is 6, 98977 is 9,8977.
ExactDecimal ratePoint(std::int64_t k)
{
    ExactDecimal rate{k, -4};
    while (rate.exponent < 0 && rate.significand % 10 == 0 && rate.significand != 0) {
        rate.significand /= 10;
        ++rate.exponent;
    }
    if (rate.significand == 0)
        rate.exponent = 0;
    return rate;
}

// The smallest whole number in [low, high] for which `holds` is true, where it
// is false below some point and true from it on; high + 1 where it never is.
template <typename Holds> std::int64_t firstWhere(std::int64_t low, std::int64_t high, Holds holds)
{
    std::int64_t end = high + 1;
    while (low < end) {
        const std::int64_t middle = low + (end - low) / 2;
        if (holds(middle))
            end = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

std::optional<Cents> firstInstallment(Cents capital, std::int64_t count, const ExactDecimal& annualRate, PlanKind kind,
                                      const SolveShape& shape)
{
    const std::int64_t repaying = count - shape.interestOnly;
    if (capital < 1 || repaying < 1 || annualRate.significand < 0 || capital < shape.balloon)
        return std::nullopt;
    const MonthlyRate rate{annualRate, 100 * shape.periodsPerYear};
    if (kind == PlanKind::French)
        return frenchInstallment(capital, rate, repaying, shape.balloon);
    const auto principal = shareOf(capital - shape.balloon, {{1, 0}, repaying});
    const auto interest = shareOf(capital, rate);
    Cents first = 0;
    if (!principal || !interest || __builtin_add_overflow(*principal, *interest, &first))
        return std::nullopt;
    return first;
}

std::variant<Answer, PlanRefusal> solveCapital(Cents installment, std::int64_t count, const ExactDecimal& annualRate,
                                               PlanKind kind, const SolveShape& shape)
{
    // The first installment grows with the capital and is at least what the
    // installments repay ÷ their count: above the one given for a capital of
    // (installment + 1) × N and the maxi-rata. No capital is below the maxi-rata.
    Cents high = 0;
    if (__builtin_mul_overflow(installment + 1, count, &high) || __builtin_add_overflow(high, shape.balloon, &high))
        high = largest - 1;
    const Cents low = std::max<Cents>(1, shape.balloon);
    const auto above = [&](Cents capital) {
        const auto first = firstInstallment(capital, count, annualRate, kind, shape);
        return !first || *first > installment;
    };
    const Cents capital = firstWhere(low, high, above) - 1;
    // Never above it up to the top of the range: the top of 64-bit cents.
    if (capital == high)
        return refusal(PlanRefusal::Reason::AmountsTooLarge, kind, installment);
    if (capital < low && shape.balloon > 0) // not even the maxi-rata's interest
        return refusal(PlanRefusal::Reason::InstallmentBelowInterest, kind, installment,
                       firstInstallment(low, count, annualRate, kind, shape).value_or(0));
    if (capital < 1)
        return refusal(PlanRefusal::Reason::CapitalTooSmall, kind, installment);
    // Each row of that capital may pay up to half a cent less than its exact
    // installment, and over a long plan the last installment would gather the
    // rest beyond what a plan allows. Among the capitals with the same
    // installment, the last grows with the capital: the largest whose plan is made.
    const auto lastTooLarge = [&](Cents candidate) {
        LoanInCents loan;
        loan.capital = candidate;
        loan.rate = MonthlyRate{annualRate, 100 * shape.periodsPerYear};
        loan.installments = count;
        loan.kind = kind;
        loan.periodsPerYear = shape.periodsPerYear;
        loan.interestOnly = shape.interestOnly;
        loan.balloon = shape.balloon;
        loan.installment = frenchInstallment(candidate, loan.rate, count).value_or(-1);
        const auto made = AmortizationPlan::make(loan);
        const auto* refused = std::get_if<PlanRefusal>(&made);
        return refused && refused->reason == PlanRefusal::Reason::LastInstallmentOff &&
               refused->amount > refused->installment;
    };
    if (lastTooLarge(capital)) {
        const Cents sameInstallment = firstWhere(low, capital, [&](Cents candidate) {
            const auto first = firstInstallment(candidate, count, annualRate, kind, shape);
            return !first || *first >= *firstInstallment(capital, count, annualRate, kind, shape);
        });
        const Cents fitting = firstWhere(sameInstallment, capital, lastTooLarge) - 1;
        if (fitting >= sameInstallment)
            return Answer{fitting, count, annualRate, std::nullopt};
    }
    return Answer{capital, count, annualRate, std::nullopt};
}

std::variant<Answer, PlanRefusal> solveDuration(Cents capital, Cents installment, const ExactDecimal& annualRate,
                                                PlanKind kind, std::int64_t step, const SolveShape& shape)
{
    // An installment that does not pay more than a period's interest on the
    // whole capital never brings the debt down.
    const auto interest = shareOf(capital, MonthlyRate{annualRate, 100 * shape.periodsPerYear});
    if (!interest)
        return refusal(PlanRefusal::Reason::AmountsTooLarge, kind, installment);
    if (kind == PlanKind::French && installment <= *interest)
        return refusal(PlanRefusal::Reason::InstallmentBelowInterest, kind, installment, *interest);
    // The first installment falls as the installments grow in number.
    const std::int64_t most = AmortizationPlan::maximumInstallments / step;
    const auto within = [&](std::int64_t periods) {
        const auto first = firstInstallment(capital, periods * step, annualRate, kind, shape);
        return first && *first <= installment;
    };
    const std::int64_t periods = firstWhere(1, most, within);
    if (periods > most)
        return refusal(kind == PlanKind::Italian && installment <= *interest
                           ? PlanRefusal::Reason::InstallmentBelowInterest
                           : PlanRefusal::Reason::DurationBeyondPlan,
                       kind, installment, *interest);
    return Answer{capital, periods * step, annualRate, std::nullopt};
}

std::variant<Answer, PlanRefusal> solveRate(Cents capital, std::int64_t count, Cents installment, PlanKind kind,
                                            const SolveShape& shape)
{
    // Rates in ten-thousandths of a per cent; the first installment grows with the rate.
    constexpr std::int64_t top = highestRate * 10'000;
    const auto installmentAt = [&](std::int64_t k) {
        return firstInstallment(capital, count, ratePoint(k), kind, shape);
    };
    const auto atZero = installmentAt(0);
    if (!atZero)
        return refusal(PlanRefusal::Reason::AmountsTooLarge, kind, installment);
    if (*atZero > installment)
        return refusal(PlanRefusal::Reason::InstallmentBelowPrincipal, kind, installment, *atZero);
    const auto atTop = installmentAt(top);
    if (atTop && *atTop < installment)
        return refusal(PlanRefusal::Reason::RateAboveHighest, kind, installment, *atTop);
    // Every rate from `low` to `high` − 1 gives the installment.
    const std::int64_t low = firstWhere(0, top, [&](std::int64_t k) {
        const auto first = installmentAt(k);
        return !first || *first >= installment;
    });
    const std::int64_t high = firstWhere(low, top, [&](std::int64_t k) {
        const auto first = installmentAt(k);
        return !first || *first > installment;
    });
    if (high == low)
        return refusal(PlanRefusal::Reason::NoRateFits, kind, installment);
    // The fewest decimals: a whole per cent where one lies in the range, else one decimal, and so on.
    std::int64_t chosen = low;
    for (std::int64_t unit = 10'000; unit >= 1; unit /= 10) {
        const std::int64_t point = (low + unit - 1) / unit * unit;
        if (point < high) {
            chosen = point;
            break;
        }
    }
    Answer answer{capital, count, ratePoint(chosen), std::nullopt};
    if (high - low > 1)
        answer.rates = Answer::Range{ratePoint(low), ratePoint(high - 1)};
    return answer;
}

} // namespace ratalia
