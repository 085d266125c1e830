#pragma once

// A loan worked out month by month in high-precision decimals from the rules
// the README states, written apart from the program so that a test can hold
// the program to them: the installment from the annuity formula, each
// interest rounded half away from zero, the fees, an early repayment with
// its penalty within the law's limits and the costs that come back, and the
// TAEG as the rate that equates what is received with what is paid.

#include "support/decimal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ratalia::test {

enum class Credit { Other, Home, Consumer };

struct ReferenceLoan {
    std::string capital; // "200000", "718942,025"
    std::int64_t months = 0;
    std::string annualRate; // "6,75"
    bool italian = false;
    std::int64_t initialFees = 0; // cents
    std::string tax = "0";        // the imposta, per cent of the capital
    std::int64_t fee = 0;         // cents, with every installment
    std::int64_t annual = 0;      // cents, at the start of each year of the loan
    // An early repayment with installment `after` (0: none) of `amount` cents, or of all that is owed.
    std::int64_t after = 0;
    std::optional<std::int64_t> amount{};
    bool reduceDuration = false;
    std::string penalty = "0"; // per cent of the amount, as the contract states it
    Credit credit = Credit::Other;
};

struct ReferenceRow {
    std::int64_t installment = 0, interest = 0, principal = 0, costs = 0, prepaid = 0, penalty = 0, refund = 0;
    std::int64_t debt = 0; // after the row
    std::int64_t payment() const { return installment + costs + prepaid + penalty - refund; }
};

struct ReferencePlan {
    std::int64_t capital = 0, constant = 0; // the French installment or the Italian principal
    std::int64_t upfront = 0;               // initial fees and imposta
    std::vector<ReferenceRow> contract;     // the plan run to its end
    std::vector<ReferenceRow> rows;         // as repaid
    std::int64_t penaltyAgreed = 0, penalty = 0, refund = 0, interestSaved = 0, installmentAfter = 0;
    std::int64_t received() const { return capital - upfront; }
    static std::int64_t sum(const std::vector<ReferenceRow>& rows, std::int64_t ReferenceRow::*field)
    {
        std::int64_t total = 0;
        for (const ReferenceRow& row : rows)
            total += row.*field;
        return total;
    }
    std::int64_t contractInterest() const { return sum(contract, &ReferenceRow::interest); }
    std::int64_t costOfCredit() const { return contractInterest() + upfront + sum(contract, &ReferenceRow::costs); }
    std::int64_t totalDue() const { return received() + costOfCredit(); }
    std::int64_t paid() const
    {
        std::int64_t total = 0;
        for (const ReferenceRow& row : rows)
            total += row.payment();
        return total;
    }
};

// annual % ÷ 1200
inline Decimal monthlyRate(const std::string& annualRate) { return Decimal::parse(annualRate) / Decimal(1200); }

// C × i ÷ (1 − (1 + i)^−N) in cents, half away from zero; C ÷ N at a zero rate.
inline std::int64_t annuityCents(std::int64_t debt, const Decimal& rate, std::int64_t count)
{
    const Decimal c = Decimal::cents(debt);
    if (rate == Decimal(0))
        return (c / Decimal(count)).roundedTo(2);
    const Decimal grown = (Decimal(1) + rate).power(count);
    return (c * rate * grown / (grown - Decimal(1))).roundedTo(2);
}

// The yearly rate X, as a decimal fraction, at which Σ payment_k (1 + X)^(−k/12)
// equals what was received: bisection on v = (1 + X)^(−1/12), 160 halvings.
inline Decimal yearlyRate(std::int64_t received, const std::vector<ReferenceRow>& rows)
{
    const Decimal target = Decimal::cents(received);
    std::vector<Decimal> payments;
    for (const ReferenceRow& row : rows)
        payments.push_back(Decimal::cents(row.payment()));
    Decimal low(0), high(1);
    const Decimal half(5, 1);
    for (int step = 0; step < 160; ++step) {
        const Decimal v = (low + high) * half;
        Decimal sum(0);
        for (std::size_t k = payments.size(); k-- > 0;)
            sum = (sum + payments[k]) * v;
        (sum < target ? low : high) = v;
    }
    return Decimal(1) / low.power(12) - Decimal(1);
}

// The rate in hundredths of a per cent, half up, as the TAEG is stated.
inline std::int64_t basisPoints(const Decimal& rate) { return rate.roundedTo(4); }

inline std::vector<ReferenceRow> referenceRows(std::int64_t capital, const Decimal& rate, std::int64_t months,
                                               bool italian, std::int64_t constant, const ReferenceLoan& loan,
                                               bool repaid, ReferencePlan& plan)
{
    std::vector<ReferenceRow> rows;
    std::int64_t debt = capital;
    for (std::int64_t number = 1; debt > 0 && number <= months; ++number) {
        ReferenceRow row;
        // The product first and the division last: a half cent stays exactly a half cent.
        row.interest = (Decimal::cents(debt) * Decimal::parse(loan.annualRate) / Decimal(1200)).roundedTo(2);
        row.principal = italian ? constant : constant - row.interest;
        const bool freeEnd = repaid && loan.reduceDuration && number > loan.after;
        if (number == months || (freeEnd && row.principal >= debt))
            row.principal = debt;
        row.installment = row.interest + row.principal;
        row.costs = loan.fee + (number % 12 == 1 ? loan.annual : 0);
        debt -= row.principal;
        if (repaid && number == loan.after) {
            row.prepaid = loan.amount.value_or(debt);
            plan.penaltyAgreed =
                (Decimal::cents(row.prepaid) * Decimal::parse(loan.penalty) / Decimal(100)).roundedTo(2);
            debt -= row.prepaid;
            if (debt > 0 && !loan.reduceDuration)
                constant = italian ? (Decimal::cents(debt) / Decimal(months - number)).roundedTo(2)
                                   : annuityCents(debt, rate, months - number);
            plan.installmentAfter = constant;
        }
        row.debt = debt;
        rows.push_back(row);
    }
    return rows;
}

inline ReferencePlan referencePlan(const ReferenceLoan& loan)
{
    ReferencePlan plan;
    const Decimal capital = Decimal::parse(loan.capital);
    plan.capital = capital.roundedTo(2);
    const Decimal rate = monthlyRate(loan.annualRate);
    plan.constant = loan.italian ? (Decimal::cents(plan.capital) / Decimal(loan.months)).roundedTo(2)
                                 : annuityCents(plan.capital, rate, loan.months);
    plan.upfront =
        loan.initialFees + (Decimal::cents(plan.capital) * Decimal::parse(loan.tax) / Decimal(100)).roundedTo(2);
    plan.contract = referenceRows(plan.capital, rate, loan.months, loan.italian, plan.constant, loan, false, plan);
    if (loan.after == 0) {
        plan.rows = plan.contract;
        return plan;
    }
    plan.rows = referenceRows(plan.capital, rate, loan.months, loan.italian, plan.constant, loan, true, plan);
    plan.interestSaved = plan.contractInterest() - ReferencePlan::sum(plan.rows, &ReferenceRow::interest);
    ReferenceRow& with = plan.rows[static_cast<std::size_t>(loan.after - 1)];
    const std::int64_t owed = with.debt + with.prepaid;
    plan.penalty = plan.penaltyAgreed;
    if (loan.credit == Credit::Home) {
        plan.penalty = 0;
    } else if (loan.credit == Credit::Consumer) {
        // 1 % with more than a year of the contract left, 0,5 % otherwise; never
        // above the interest saved; none on a whole debt of 10 000 € or less.
        const Decimal share = Decimal(loan.months - loan.after > 12 ? 100 : 50, 4);
        const std::int64_t cap = (Decimal::cents(with.prepaid) * share).roundedTo(2);
        plan.penalty = std::min({plan.penaltyAgreed, cap, std::max<std::int64_t>(plan.interestSaved, 0)});
        if (with.prepaid == owed && owed <= 1'000'000)
            plan.penalty = 0;
        // The initial fees in proportion to the interest saved (at a zero
        // rate, to the debt the months no longer carry); a closing
        // repayment also gets the months of its year not run of the yearly cost.
        const auto debtMonths = [&](const std::vector<ReferenceRow>& rows) {
            std::int64_t sum = plan.capital;
            for (std::size_t k = 0; k + 1 < rows.size(); ++k)
                sum += rows[k].debt;
            return sum;
        };
        const bool byInterest = plan.contractInterest() > 0;
        const std::int64_t whole = byInterest ? plan.contractInterest() : debtMonths(plan.contract);
        const std::int64_t saved = byInterest ? plan.interestSaved : whole - debtMonths(plan.rows);
        plan.refund = (Decimal::cents(loan.initialFees) * Decimal(saved) / Decimal(whole)).roundedTo(2);
        if (with.debt == 0 && loan.annual > 0) {
            const std::int64_t start = (loan.after - 1) / 12 * 12 + 1;
            const std::int64_t end = std::min(start + 11, loan.months);
            plan.refund +=
                (Decimal::cents(loan.annual) * Decimal(end - loan.after) / Decimal(end - start + 1)).roundedTo(2);
        }
    }
    with.penalty = plan.penalty;
    with.refund = plan.refund;
    return plan;
}

} // namespace ratalia::test
