#include "loan/amortization_plan.h"

#include "loan/annual_percentage_rate.h"
#include "numbers/annuity.h"
#include "numbers/uint128.h"

#include <algorithm>
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

// The debt each installment of the rows is counted on, summed: what the
// interest is in proportion to at any one rate. Nothing past 64 bits.
std::optional<Cents> debtMonths(Cents capital, const std::vector<PlanRow>& rows)
{
    Cents sum = 0, before = capital;
    for (const PlanRow& row : rows) {
        if (row.number == 0) // the odd days' own row: no installment's debt
            continue;
        if (__builtin_add_overflow(sum, before, &sum))
            return std::nullopt;
        before = row.remainingDebt;
    }
    return sum;
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

const MonthlyRate& AmortizationPlan::rateOf(const LoanInCents& loan, std::int64_t number)
{
    const MonthlyRate* rate = &loan.rate;
    for (const RateStep& step : loan.steps)
        if (step.from <= number)
            rate = &step.rate;
    return *rate;
}

std::variant<AmortizationPlan, PlanRefusal> AmortizationPlan::make(const LoanInCents& loan)
{
    using Reason = PlanRefusal::Reason;
    const bool italian = loan.kind == PlanKind::Italian;
    // The installments that repay the capital, after the preammortamento.
    const std::int64_t repaying = loan.installments - loan.interestOnly;
    // What stays the same from row to row: the installment, or the principal
    // of what the maxi-rata leaves to the installments.
    auto constant = italian ? shareOf(loan.capital - loan.balloon, {{1, 0}, std::max<std::int64_t>(repaying, 1)})
                            : std::optional<Cents>(loan.installment);
    if (loan.installments > maximumInstallments)
        return refusal(Reason::TooManyInstallments, loan, loan.installment);
    if (loan.capital <= 0)
        return refusal(Reason::CapitalTooSmall, loan, loan.installment);
    if (loan.installments < 1 || repaying < 1 || loan.balloon < 0 || loan.balloon > loan.capital || !constant ||
        *constant < 0 || loan.rate.value.significand < 0 || loan.rate.divisor < 1 || loan.periodsPerYear < 1 ||
        12 % loan.periodsPerYear != 0)
        return refusal(Reason::AmountsTooLarge, loan, loan.installment);
    // With a shape the French installment is the annuity of its own terms:
    // over the installments after the preammortamento, of the capital less
    // what the maxi-rata leaves, from the capital carried over an odd first period.
    const bool carried = loan.firstPeriod && !loan.firstPeriod->ownRow && loan.interestOnly == 0;
    if (!italian && (loan.interestOnly > 0 || loan.balloon > 0 || carried)) {
        const auto from =
            carried ? shareOf(loan.capital, loan.firstPeriod->carried) : std::optional<Cents>(loan.capital);
        constant = from && *from >= loan.balloon && *from > 0
                       ? frenchInstallment(*from, rateOf(loan, loan.interestOnly + 1), repaying, loan.balloon)
                       : std::nullopt;
        if (!constant)
            return refusal(Reason::AmountsTooLarge, loan, loan.installment);
    }

    AmortizationPlan plan;
    plan.kind_ = loan.kind;
    plan.capital_ = loan.capital;
    plan.installment_ = *constant;
    plan.costs_ = loan.costs;
    plan.credit_ = loan.credit;
    plan.firstDue_ = loan.firstDue;
    plan.planned_ = loan.installments;
    plan.periodsPerYear_ = loan.periodsPerYear;
    plan.steps_ = loan.steps;
    plan.balloon_ = loan.balloon;
    plan.interestOnly_ = loan.interestOnly;
    plan.firstPeriod_ = loan.firstPeriod;
    plan.rows_.reserve(static_cast<std::size_t>(loan.installments) + 1);
    Cents debt = loan.capital;
    if (loan.firstPeriod && loan.firstPeriod->ownRow) {
        // The odd days' interest on its own, before the first installment.
        PlanRow odd;
        const auto interest = shareOf(loan.capital, loan.firstPeriod->rate);
        if (!interest)
            return refusal(Reason::AmountsTooLarge, loan, *constant);
        odd.interest = odd.installment = *interest;
        odd.remainingDebt = debt;
        plan.rows_.push_back(odd);
        plan.lead_ = 1;
    }
    if (auto refused = plan.appendRows(loan, *constant, loan.installments, false, debt))
        return *refused;
    // The contract as the law counts it: run to its end.
    if (!plan.sumUp())
        return refusal(Reason::AmountsTooLarge, loan, *constant);
    plan.contractInterest_ = plan.totalInterest_;
    plan.contractInstallmentCosts_ = plan.totalInstallmentCosts_;
    plan.contractLast_ = plan.rows_.back().installment;
    if (!loan.repayments.empty() || loan.extra) {
        // The contract's rows go with the repayments: their rate first.
        plan.contractRate_ = ratalia::annualPercentageRate(plan.flows());
        if (auto refused = plan.repay(loan, *constant))
            return *refused;
    }
    return plan;
}

std::optional<PlanRefusal> AmortizationPlan::rowsWith(const LoanInCents& loan, Cents constant, Events& events)
{
    rows_.resize(static_cast<std::size_t>(lead_));
    events.repaid.assign(events.repayments, 0);
    events.closed.assign(events.repayments, false);
    events.extraPaid = 0;
    Cents debt = capital_;
    if (auto refused = appendRows(loan, constant, loan.installments, false, debt, &events))
        return refused;
    if (!sumUp())
        return refusal(PlanRefusal::Reason::AmountsTooLarge, loan, constant);
    return std::nullopt;
}

std::optional<PlanRefusal> AmortizationPlan::repay(const LoanInCents& loan, Cents constant)
{
    const auto tooLarge = refusal(PlanRefusal::Reason::AmountsTooLarge, loan, constant);
    installmentAfter_ = constant;
    for (const EarlyRepayment& early : loan.repayments)
        if (early.after < 1 || early.after >= loan.installments)
            return tooLarge;
    extra_ = loan.extra;
    const auto contractDebtMonths = debtMonths(capital_, rows_);
    if (!contractDebtMonths)
        return tooLarge;
    // Each repayment saves the interest between the rows without it and the
    // rows with it, the earlier ones and the extra in both: the interest it
    // spares the borrower, which bounds its penalty.
    Events events;
    Cents interestBefore = 0;
    std::optional<Cents> debtMonthsBefore;
    std::vector<Cents> saved, debtMonthsSaved;
    for (std::size_t count = 0; count <= loan.repayments.size(); ++count) {
        events.repayments = count;
        if (auto refused = rowsWith(loan, constant, events))
            return refused;
        const auto months = debtMonths(capital_, rows_);
        if (!months)
            return tooLarge;
        if (count > 0) {
            saved.push_back(interestBefore - totalInterest_);
            debtMonthsSaved.push_back(*debtMonthsBefore - *months);
        }
        interestBefore = totalInterest_;
        debtMonthsBefore = months;
    }
    interestSaved_ = contractInterest_ - totalInterest_;
    extraPaid_ = events.extraPaid;
    // The extras alone (the first pass) save this much of the contract's interest and debt months.
    const Cents extraSaved = saved.empty() ? interestSaved_ : interestSaved_ - [&] {
        Cents sum = 0;
        for (const Cents each : saved)
            sum += each;
        return sum;
    }();
    const Cents extraDebtMonthsSaved = [&] {
        Cents sum = *contractDebtMonths - *debtMonthsBefore;
        for (const Cents each : debtMonthsSaved)
            sum -= each;
        return sum;
    }();

    for (std::size_t k = 0; k < loan.repayments.size(); ++k) {
        const EarlyRepayment& early = loan.repayments[k];
        RepaymentOutcome outcome;
        outcome.asked = early;
        outcome.repaid = events.repaid[k];
        outcome.interestSaved = saved[k];
        const auto agreed = shareOf(outcome.repaid, early.penalty);
        if (!agreed)
            return tooLarge;
        outcome.penaltyAgreed = outcome.penalty = *agreed;
        if (outcome.repaid == 0) {
            // The loan had already ended: nothing repaid, nothing charged, no row of its own.
            outcomes_.push_back(outcome);
            continue;
        }
        const bool closes = events.closed[k];
        // The penalty within the law's limits (art. 120-ter and 125-sexies TUB).
        if (credit_ == CreditKind::HomeMortgage) {
            outcome.penalty = 0;
            outcome.rule = PenaltyRule::NoneOnHomeLoans;
        } else if (credit_ == CreditKind::Consumer) {
            // 1 % of the amount; 0,5 % where a year or less of the contract is left.
            outcome.limit = (loan.installments - early.after) * (12 / loan.periodsPerYear) > 12 ? 100 : 50;
            const auto percentCap = shareOf(outcome.repaid, {{outcome.limit, 0}, 10000});
            const Cents interestCap = std::max<Cents>(outcome.interestSaved, 0);
            if (!percentCap)
                return tooLarge;
            // The whole debt still owed repaid, 10 000 € or less.
            if (closes && outcome.repaid <= smallDebt) {
                outcome.penalty = 0;
                outcome.rule = PenaltyRule::NoneOnSmallDebt;
            } else if (*agreed <= std::min(*percentCap, interestCap)) {
                outcome.rule = PenaltyRule::WithinLimits;
            } else {
                outcome.penalty = std::min(*percentCap, interestCap);
                outcome.rule = *percentCap <= interestCap ? PenaltyRule::PercentLimit : PenaltyRule::InterestLimit;
            }
            // Consumer credit gets back the costs of the life the contract no
            // longer runs (art. 125-sexies c. 1 TUB): the initial fees in
            // proportion to the interest the repayment saves (the
            // amortized-cost rule; at a zero rate, to the debt the months no
            // longer carry), and on a repayment that closes the loan, the
            // yearly cost's share of the months of its year not run.
            const bool byInterest = contractInterest_ > 0;
            const Cents share = std::max<Cents>(byInterest ? outcome.interestSaved : debtMonthsSaved[k], 0);
            const Cents whole = byInterest ? contractInterest_ : *contractDebtMonths;
            const auto fees = shareOf(costs_.initialFees, {{share, 0}, std::max<Cents>(whole, 1)});
            if (!fees)
                return tooLarge;
            outcome.refund = *fees;
            if (closes && costs_.annual > 0) {
                const std::int64_t perYear = loan.periodsPerYear;
                const std::int64_t start = (early.after - 1) / perYear * perYear + 1;
                const std::int64_t end = std::min(start + perYear - 1, loan.installments);
                const auto yearly = shareOf(costs_.annual, {{end - early.after, 0}, end - start + 1});
                if (!yearly)
                    return tooLarge;
                outcome.refund += *yearly;
            }
        }
        PlanRow& paidWith = rows_[static_cast<std::size_t>(early.after - 1 + lead_)];
        paidWith.penalty += outcome.penalty;
        paidWith.refund += outcome.refund;
        repaid_ += outcome.repaid;
        penaltyAgreed_ += outcome.penaltyAgreed;
        penalty_ += outcome.penalty;
        refund_ += outcome.refund;
        outcomes_.push_back(outcome);
    }
    if (credit_ == CreditKind::Consumer && extra_ && extraPaid_ > 0) {
        // The extras are early repayments too: the initial fees come back in
        // proportion to what they save, with the installment that ends the loan.
        const bool byInterest = contractInterest_ > 0;
        const auto fees =
            shareOf(costs_.initialFees, {{std::max<Cents>(byInterest ? extraSaved : extraDebtMonthsSaved, 0), 0},
                                         std::max<Cents>(byInterest ? contractInterest_ : *contractDebtMonths, 1)});
        if (!fees)
            return tooLarge;
        extraRefund_ = *fees;
        rows_.back().refund += extraRefund_;
        refund_ += extraRefund_;
    }
    if (!sumUp())
        return tooLarge;
    return std::nullopt;
}

std::optional<PlanRefusal> AmortizationPlan::appendRows(const LoanInCents& loan, Cents constant, std::int64_t last,
                                                        bool freeEnd, Cents& debt, Events* events)
{
    using Reason = PlanRefusal::Reason;
    const bool italian = loan.kind == PlanKind::Italian;
    const std::int64_t firstNumber = static_cast<std::int64_t>(rows_.size()) + 1 - lead_;
    std::int64_t repaidWith = 0;
    // The installment (principal) in force cannot repay the loan: it may be the one a repayment worked out.
    const auto cannotRepay = [&](Reason reason, std::int64_t row, Cents amount = 0) {
        PlanRefusal refused = refusal(reason, loan, constant, row, amount);
        refused.repaidWith = repaidWith;
        return refused;
    };
    for (std::int64_t number = firstNumber; number <= last && debt > 0; ++number) {
        PlanRow row;
        row.number = number;
        const MonthlyRate& rate = rateOf(loan, number);
        // A new rate after the first installments: the French installment
        // worked out again on the debt over the installments left.
        const bool stepHere = std::any_of(loan.steps.begin(), loan.steps.end(),
                                          [&](const RateStep& step) { return step.from == number; });
        // (The first installment after the preammortamento, or after an early
        // repayment, was worked out at its rate already.)
        if (!italian && stepHere && number > loan.interestOnly + 1) {
            const auto again = debt >= loan.balloon
                                   ? frenchInstallment(debt, rate, loan.installments - number + 1, loan.balloon)
                                   : std::nullopt;
            if (!again)
                return refusal(Reason::AmountsTooLarge, loan, constant);
            constant = *again;
            repaidWith = 0; // the rate step's installment, not the repayment's
            if (!events)
                afterSteps_.push_back(constant);
        }
        const bool oddFirst = number == 1 && loan.firstPeriod && !loan.firstPeriod->ownRow;
        const auto interest = oddFirst ? shareOf(debt, loan.firstPeriod->rate) : shareOf(debt, rate);
        if (!interest)
            return refusal(Reason::AmountsTooLarge, loan, constant);
        row.interest = *interest;
        // What the maxi-rata leaves to the installments to repay.
        const Cents toRepay = debt - std::min(debt, loan.balloon);
        if (number <= loan.interestOnly)
            row.principal = 0;
        else if (italian)
            row.principal = constant;
        else if (__builtin_sub_overflow(constant, row.interest, &row.principal))
            return refusal(Reason::AmountsTooLarge, loan, constant);
        // Only an odd first period's interest may be more than the installment:
        // the debt then grows by the rest, as the contract foresees.
        if ((row.principal < 0 && !(oddFirst && loan.interestOnly == 0)) || (row.principal == 0 && freeEnd))
            return cannotRepay(Reason::InterestNotCovered, number, row.interest);
        const bool ends = number == last || (freeEnd && row.principal >= toRepay);
        if (ends) {
            row.principal = toRepay;
            row.balloon = debt - toRepay;
        } else if (number > loan.interestOnly && row.principal >= toRepay && toRepay > 0) {
            return cannotRepay(Reason::RepaidEarly, number);
        }
        // The insurance premium on the debt the installment is paid on: it falls as the debt falls.
        const auto premium =
            shareOf(debt, {loan.costs.insurance.value, loan.costs.insurance.divisor * loan.periodsPerYear});
        if (!premium)
            return refusal(Reason::AmountsTooLarge, loan, constant);
        row.costs = loan.costs.with(number, loan.periodsPerYear) + (ends ? loan.costs.final : 0) + *premium;
        Cents payment = 0;
        if (__builtin_add_overflow(row.principal, row.interest, &row.installment) ||
            __builtin_sub_overflow(debt, row.principal + row.balloon, &debt) ||
            __builtin_add_overflow(row.installment, row.costs, &payment) ||
            __builtin_add_overflow(payment, row.balloon, &payment))
            return refusal(Reason::AmountsTooLarge, loan, constant);
        if (events && debt > 0 && !ends) {
            // What is repaid early with this installment lowers the debt at once.
            bool keepEnd = false;
            for (std::size_t k = 0; k < events->repayments; ++k) {
                const EarlyRepayment& early = loan.repayments[k];
                if (early.after != number)
                    continue;
                const Cents amount = std::min(early.amount.value_or(debt), debt);
                // It closes the loan where it repays all that is still owed: the last of any on the day that do.
                events->closed[k] = amount > 0 && amount == debt;
                events->repaid[k] += amount;
                row.prepaid += amount;
                debt -= amount;
                keepEnd = keepEnd || !early.reduceDuration;
                freeEnd = freeEnd || early.reduceDuration;
            }
            if (loan.extra && loan.extra->paidWith(number, loan.periodsPerYear)) {
                const Cents amount = std::min(loan.extra->amount, debt);
                events->extraPaid += amount;
                row.prepaid += amount;
                debt -= amount;
            }
            if (row.prepaid != 0 && debt == 0) {
                row.costs += loan.costs.final; // the loan ends here: its closing costs with it
            } else if (keepEnd) {
                // The same end: the installment (principal) worked out again on what is owed.
                const std::int64_t left = last - number;
                const auto again =
                    italian
                        ? shareOf(debt - std::min(debt, loan.balloon), {{1, 0}, left})
                        : (debt >= loan.balloon ? frenchInstallment(debt, rateOf(loan, number + 1), left, loan.balloon)
                                                : std::nullopt);
                if (!again)
                    return refusal(Reason::AmountsTooLarge, loan, constant);
                constant = installmentAfter_ = *again;
                installmentReduced_ = true;
                repaidWith = number;
                freeEnd = false;
            }
            // An extra keeps the installment: the loan ends when the debt is gone.
            freeEnd = freeEnd || (loan.extra && number >= loan.extra->from);
        }
        row.remainingDebt = debt;
        rows_.push_back(row);
    }
    finalConstant_ = constant;
    // A fixed end: within one installment (principal) of the others, more than 0, less than two.
    if (!freeEnd) {
        const PlanRow& lastRow = rows_.back();
        const Cents lastOne = italian ? lastRow.principal : lastRow.installment;
        const bool nothingToRepay = loan.balloon >= loan.capital;
        if ((lastOne <= 0 && !nothingToRepay) || lastOne - constant >= std::max<Cents>(constant, 1))
            return cannotRepay(Reason::LastInstallmentOff, loan.installments, lastOne);
    }
    return std::nullopt;
}

bool AmortizationPlan::sumUp()
{
    totalInstallments_ = totalInterest_ = totalPrincipal_ = totalInstallmentCosts_ = totalPayments_ = 0;
    for (const PlanRow& row : rows_) {
        Cents payment = 0;
        if (__builtin_add_overflow(totalInstallments_, row.installment, &totalInstallments_) ||
            __builtin_add_overflow(totalInterest_, row.interest, &totalInterest_) ||
            __builtin_add_overflow(totalPrincipal_, row.principal, &totalPrincipal_) ||
            __builtin_add_overflow(totalInstallmentCosts_, row.costs, &totalInstallmentCosts_) ||
            __builtin_add_overflow(row.installment, row.costs, &payment) ||
            __builtin_add_overflow(payment, row.prepaid, &payment) ||
            __builtin_add_overflow(payment, row.penalty, &payment) ||
            __builtin_add_overflow(payment, row.balloon, &payment) ||
            __builtin_add_overflow(totalPayments_, payment - row.refund, &totalPayments_))
            return false;
    }
    // Every figure the plan shows adds up from these: the contract's too must fit.
    Cents due = 0;
    return !__builtin_add_overflow(capital_, totalInterest_, &due) &&
           !__builtin_add_overflow(due, totalInstallmentCosts_, &due) &&
           !__builtin_add_overflow(capital_, contractInterest_, &due) &&
           !__builtin_add_overflow(due, contractInstallmentCosts_, &due);
}

CashFlows AmortizationPlan::flows() const
{
    CashFlows flows;
    flows.received = received();
    flows.periodsPerYear = periodsPerYear_;
    if (firstPeriod_)
        flows.offset = firstPeriod_->offset;
    flows.payments.reserve(rows_.size());
    for (const PlanRow& row : rows_)
        flows.payments.push_back(row.payment());
    return flows;
}

std::optional<double> AmortizationPlan::annualPercentageRate() const
{
    if (repaidEarly())
        return contractRate_;
    if (!rate_)
        rate_ = ratalia::annualPercentageRate(flows());
    return *rate_;
}

std::optional<double> AmortizationPlan::rateAsRepaid() const
{
    if (!repaidEarly())
        return std::nullopt;
    if (!rate_)
        rate_ = ratalia::annualPercentageRate(flows());
    return *rate_;
}

Cents AmortizationPlan::lastDifference() const
{
    const PlanRow& last = rows_.back();
    return (kind_ == PlanKind::Italian ? last.principal : last.installment) - finalConstant_;
}

std::optional<Cents> toCents(TextView text, const NumberText& numbers)
{
    const auto value = numbers.exactValue(numbers.patternText(text, Pattern::TwoDecimals));
    if (!value || value->exponent < -2)
        return std::nullopt;
    return scaled(value->significand, value->exponent + 2);
}

std::optional<Cents> frenchInstallment(Cents debt, const MonthlyRate& rate, std::int64_t count, Cents left)
{
    return annuityInCents(debt, rate.value.significand, rate.value.exponent, rate.divisor, count, left);
}

} // namespace ratalia
