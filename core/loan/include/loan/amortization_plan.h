#pragma once

// The plan behind a calculation: how each installment splits into interest
// and principal, what is still owed after it, what the borrower pays with it
// besides, and what the whole loan costs. Money is counted in whole cents,
// so every row adds up exactly as it is shown.
//
// 10 000 € over 24 months at 6,75 %, the constant installment ("alla
// francese"): installment 446,59, first interest 56,25, first principal
// 390,34; the 24th installment, 446,68, pays the 444,18 left and its
// interest. The constant principal ("all'italiana"): 416,67 of principal a
// month, a first installment of 472,92 and a last of 418,93.

#include "loan/annual_percentage_rate.h"
#include "loan/calendar.h"
#include "loan/loan_terms.h"
#include "numbers/amount_text.h"
#include "numbers/number_text.h"
#include "numbers/text.h"

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace ratalia {

// value ÷ divisor, exactly: the monthly rate is the annual rate typed ÷ 1200,
// so that each interest rounds as it would by hand, not as its 15-digit
// rendering would; a percentage is its number ÷ 100.
struct Ratio {
    ExactDecimal value;
    std::int64_t divisor = 1;
};
using MonthlyRate = Ratio;

// amount × ratio, rounded half away from zero to whole cents, exactly;
// nothing where it lies beyond 64-bit cents.
std::optional<std::int64_t> shareOf(std::int64_t amount, const Ratio& ratio);

enum class PlanKind {
    French,  // the same installment every month: "Rata costante (alla francese)"
    Italian, // the same principal every month: "Quota capitale costante (all'italiana)"
};

// What the borrower pays besides principal and interest.
struct LoanCosts {
    Cents initialFees = 0;    // spese iniziali: at the start, out of what is received
    Cents substituteTax = 0;  // imposta sostitutiva: a share of the capital, at the start
    Cents perInstallment = 0; // spese per rata: with every installment
    Cents annual = 0; // spese annue: due at the start of each year of the loan, with the 1st, 13th, … installment
    Cents final = 0;  // spese finali: with the installment that ends the loan
    // Insurance on the debt: a single premium at the signing, or a premium
    // with each installment, a yearly share of the debt it is paid on.
    Cents singlePremium = 0;
    Ratio insurance{{0, 0}, 100}; // of the debt a year: per cent ÷ 100
    bool any() const
    {
        return initialFees != 0 || substituteTax != 0 || perInstallment != 0 || annual != 0 || final != 0 ||
               singlePremium != 0 || insurance.value.significand != 0;
    }
    // Whether anything is paid with the installments.
    bool withInstallments() const
    {
        return perInstallment != 0 || annual != 0 || final != 0 || insurance.value.significand != 0;
    }
    // Paid at the signing, out of what is received.
    Cents upfront() const { return initialFees + substituteTax + singlePremium; }
    // Paid with installment `number` of a loan with `perYear` installments a
    // year: its fee, and the yearly one where a year of the loan begins.
    Cents with(std::int64_t number, int perYear = 12) const
    {
        return perInstallment + ((number - 1) % perYear == 0 ? annual : 0);
    }
};

// From installment `from` on, the rate of a period is `rate` (tasso variabile
// o misto, as the borrower expects it to move).
struct RateStep {
    std::int64_t from = 0;
    MonthlyRate rate;
};

// The first period where the signing is not a whole number of periods before
// the first installment: `wholePeriods` periods and `oddDays` days. Its
// interest is simple interest on the capital at `rate` (the period's rate
// times the whole periods and the annual rate times the odd days ÷ the
// year's days), and in the TAEG the k-th installment falls `offset` periods
// later than k (the odd days as a fraction of a 365- or 366-day year, less
// the one period they stand in for).
struct FirstPeriod {
    std::int64_t wholePeriods = 1;
    std::int64_t oddDays = 0;
    Ratio rate;
    // The capital carried to one period before the first installment,
    // C × (1 + rate) ÷ (1 + the period's rate): the constant installment is
    // its annuity, so that every installment is the same, the first included.
    Ratio carried;
    double offset = 0;
    // The odd days' interest as a row of its own (preammortamento tecnico),
    // number 0, at the first due date, the installments a period apart after
    // it: all the days from the signing are odd days, and the installment is
    // the annuity of the capital itself.
    bool ownRow = false;
};

// Which law sets the limits of an early repayment's penalty and what comes
// back of the costs.
enum class CreditKind {
    Other,        // neither below: the penalty the contract states, nothing comes back
    HomeMortgage, // a person's mortgage for a home or business premises: no penalty (art. 120-ter TUB)
    Consumer,     // consumer credit: the penalty's limits and a share of the costs back (art. 125-sexies TUB)
};

// How the penalty charged came from the one the contract states.
enum class PenaltyRule {
    AsAgreed,        // CreditKind::Other: as the contract states it
    NoneOnHomeLoans, // a home mortgage: none at all
    NoneOnSmallDebt, // consumer credit, the whole debt repaid and at most 10 000 €: none
    WithinLimits,    // consumer credit: as stated, which lies within both limits
    PercentLimit,    // consumer credit: cut to 1 % of the amount (0,5 % with a year or less left)
    InterestLimit,   // consumer credit: cut to the interest the repayment saves
};

// A payment of principal before it is due ("estinzione anticipata"), with
// installment `after`: all that is then owed, or an amount, after which the
// installment is worked out again for the same end (the French plan's, by
// the annuity on what is owed at the loan's rate; the Italian plan's
// principal as what is owed ÷ the installments left), or stays and the loan
// ends sooner, the last installment paying what is left.
struct EarlyRepayment {
    std::int64_t after = 0;
    std::optional<Cents> amount; // nothing: all that is owed
    bool reduceDuration = false;
    Ratio penalty; // of the amount repaid early, as the contract states it, paid with it
};

// An amount repaid with every installment, or once a year, from installment
// `from` on: it lowers the debt right after its installment, the installment
// stays and the loan ends sooner. The contract allows it as it stands: no
// penalty; of consumer credit, the initial fees come back in proportion to
// the interest the extras save, with the installment that ends the loan.
struct ExtraPayment {
    Cents amount = 0;
    bool yearly = false; // with installment `from` and every periodsPerYear-th after it
    std::int64_t from = 1;
    bool paidWith(std::int64_t number, int perYear) const
    {
        return number >= from && (!yearly || (number - from) % perYear == 0);
    }
};

// What one early repayment came to in the plan: the principal it repaid
// (less than asked where earlier ones left less owed; nothing where the loan
// had already ended), its penalty as agreed and as charged within the law's
// limits, what came back of the costs, and the interest it saved.
struct RepaymentOutcome {
    EarlyRepayment asked;
    Cents repaid = 0;
    Cents penaltyAgreed = 0;
    Cents penalty = 0;
    PenaltyRule rule = PenaltyRule::AsAgreed;
    std::int64_t limit = 0; // the penalty's limit in hundredths of a per cent: 100 or 50
    Cents refund = 0;
    Cents interestSaved = 0;
};

// The loan in the units the plan counts in.
struct LoanInCents {
    Cents capital = 0;
    MonthlyRate rate; // of a period: the annual rate ÷ (100 × periods a year)
    std::int64_t installments = 0;
    Cents installment = 0; // the French installment on the capital in cents, exactly rounded to the cent
    PlanKind kind = PlanKind::French;
    LoanCosts costs;
    CreditKind credit = CreditKind::Other;
    std::optional<Month> firstDue;
    std::vector<EarlyRepayment> repayments; // in order of `after`
    std::optional<ExtraPayment> extra;
    int periodsPerYear = 12;                // mensile 12, bimestrale 6, trimestrale 4, semestrale 2, annuale 1
    std::vector<RateStep> steps;            // in order of `from`, each after the first installment
    Cents balloon = 0;                      // maxi-rata: owed after the last installment, paid with it
    std::int64_t interestOnly = 0;          // preammortamento: the first installments pay interest only
    std::optional<FirstPeriod> firstPeriod; // from the signing date, where it is not a whole period
};

struct PlanRow {
    std::int64_t number = 0;
    Cents installment = 0;
    Cents interest = 0;
    Cents principal = 0;
    Cents remainingDebt = 0;
    Cents costs = 0;   // paid with this installment: its fee, and the yearly one where a year begins
    Cents prepaid = 0; // principal repaid early with this installment
    Cents penalty = 0; // the early repayment's penalty
    Cents refund = 0;  // what comes back of the costs with an early repayment
    Cents balloon = 0; // the maxi-rata, paid with the last installment besides it
    // Everything the borrower pays on the day, less what comes back.
    Cents payment() const { return installment + costs + prepaid + penalty - refund + balloon; }
    bool operator==(const PlanRow&) const = default;
};

// Why a loan has no plan to show.
struct PlanRefusal {
    enum class Reason {
        TooManyInstallments, // more than the plan shows; `count` says how many
        CapitalTooSmall,     // under half a cent
        AmountsTooLarge,     // beyond whole cents in 64 bits
        // Rounded to cents, the installment (or, in the Italian plan, the
        // principal) cannot repay the loan in its installments: it does not
        // cover the interest of row `row`, or the debt is gone with row
        // `row`, before the last, or the last would be `amount`, more than
        // one installment (one principal) away from the others.
        InterestNotCovered,
        RepaidEarly,
        LastInstallmentOff,
        // A question with no answer: the installment given (`installment`)
        // pays no more than the first month's interest (`amount`), so the
        // debt never falls; or not even at a zero rate does it repay the
        // capital (its installment then, `amount`); or it would take more
        // installments than the plan shows; or a rate above highestRate (its
        // installment, `amount`); or no rate of four decimals gives it exactly.
        InstallmentBelowInterest,
        InstallmentBelowPrincipal,
        DurationBeyondPlan,
        RateAboveHighest,
        NoRateFits,
    };
    Reason reason = Reason::AmountsTooLarge;
    PlanKind kind = PlanKind::French;
    double count = 0;
    std::int64_t installments = 0;
    Cents installment = 0; // or the principal, in the Italian plan
    std::int64_t row = 0;
    Cents amount = 0;
    // Where the installment (principal) was worked out again after an early
    // repayment with installment `repaidWith`: it is that one that cannot
    // repay the debt left in the installments left.
    std::int64_t repaidWith = 0;
};

class AmortizationPlan {
public:
    static constexpr std::int64_t maximumInstallments = 100'000;
    // The whole debt an early repayment of consumer credit may close without a penalty.
    static constexpr Cents smallDebt = 1'000'000;

    // Rows 1…N: each row's interest is the remaining debt × the monthly rate,
    // rounded half away from zero to cents. In the French plan the principal
    // is the installment minus that interest; in the Italian plan the
    // principal is the capital ÷ N, rounded as the installment is, and the
    // installment their sum. The last row pays the remaining debt. The plan
    // is made only where that repays the loan as a bank would: every
    // installment covers its interest, the debt lasts until the last row,
    // and the last installment (principal) lies within one installment
    // (principal) of the others. An early repayment must come with an
    // installment before the last and repay no more than is then owed
    // (planFor checks that first and names the input).
    static std::variant<AmortizationPlan, PlanRefusal> make(const LoanInCents& loan);

    // The rows as the loan is repaid: with an early repayment, up to the end it then has.
    const std::vector<PlanRow>& rows() const { return rows_; }
    PlanKind kind() const { return kind_; }
    Cents capital() const { return capital_; }
    // The French installment, or the Italian plan's constant principal.
    Cents installment() const { return installment_; }
    const LoanCosts& costs() const { return costs_; }
    CreditKind credit() const { return credit_; }
    // The month the first installment falls due, where it was given.
    const std::optional<Month>& firstDue() const { return firstDue_; }
    std::optional<Month> dueDate(const PlanRow& row) const { return dueDate(row.number); }
    std::optional<Month> dueDate(std::int64_t number) const
    {
        return firstDue_ ? std::optional<Month>(firstDue_->plus((number - 1 + lead_) * (12 / periodsPerYear_)))
                         : std::nullopt;
    }
    // The loan's shape: installments a year, the rate steps, the maxi-rata,
    // the installments of preammortamento, the first period from the signing.
    int periodsPerYear() const { return periodsPerYear_; }
    const std::vector<RateStep>& steps() const { return steps_; }
    Cents balloon() const { return balloon_; }
    std::int64_t interestOnly() const { return interestOnly_; }
    const std::optional<FirstPeriod>& firstPeriod() const { return firstPeriod_; }
    // Whether it is other than monthly from the first installment at one rate, all repaid by the installments.
    bool shaped() const
    {
        return periodsPerYear_ != 12 || !steps_.empty() || balloon_ != 0 || interestOnly_ != 0 || firstPeriod_;
    }
    // Installment `number` (from 1): after the odd days' row where there is one.
    const PlanRow& row(std::int64_t number) const { return rows_[static_cast<std::size_t>(number - 1 + lead_)]; }
    // The rows before the first installment: 1 with the odd days' own row, else 0.
    std::int64_t leadRows() const { return lead_; }
    // The installment (principal) after each rate step, in the order of the steps.
    const std::vector<Cents>& installmentsAfterSteps() const { return afterSteps_; }

    // What the borrower receives and pays, as repaid: the schedule the
    // rates are worked out from.
    CashFlows flows() const;
    // The contract's figures, which the law defines for the loan run to its
    // end (2008/48/EC art. 3 and 19(3)): an early repayment changes none of
    // them. The TAEG as a fraction (0,0643), where there is one; +infinity
    // where it lies beyond any double. Worked out when first asked for.
    std::optional<double> annualPercentageRate() const;
    Cents contractInterest() const { return contractInterest_; }
    Cents contractInstallmentCosts() const { return contractInstallmentCosts_; }
    // The contract's last installment, which an early repayment or an extra may change or bring forward.
    Cents contractLastInstallment() const { return contractLast_; }
    // What the borrower actually receives: the capital less what is paid at the start.
    Cents received() const { return capital_ - costs_.upfront(); }
    // The contract's interest and every cost: the total cost of the credit.
    Cents costOfCredit() const { return contractInterest_ + costs_.upfront() + contractInstallmentCosts_; }
    // What is received and the cost of the credit: everything paid after the signing.
    Cents totalDue() const { return received() + costOfCredit(); }

    // The early repayments and the recurring extra, where any are planned:
    // each repayment's outcome, in order; the principal they repay, their
    // penalties (as the contract states them, and as charged within the
    // law's limits), what comes back of the costs, the interest all of them
    // save against the contract, and the installment (principal) worked out
    // again after the last that kept the end, or the same one where the
    // loan ends sooner.
    bool repaidEarly() const { return !outcomes_.empty() || extra_.has_value(); }
    const std::vector<RepaymentOutcome>& repayments() const { return outcomes_; }
    const std::optional<ExtraPayment>& extra() const { return extra_; }
    Cents repaid() const { return repaid_; }
    Cents extraPaid() const { return extraPaid_; }
    Cents penaltyAgreed() const { return penaltyAgreed_; }
    Cents penalty() const { return penalty_; }
    Cents refund() const { return refund_; }
    // Of it, what the extras bring back (consumer credit), with the installment that ends the loan.
    Cents extraRefund() const { return extraRefund_; }
    Cents interestSaved() const { return interestSaved_; }
    // Whether a repayment worked the installment out again for the same end, and the last one it gave.
    bool installmentReduced() const { return installmentReduced_; }
    Cents installmentAfterRepayment() const { return installmentAfter_; }
    // The installments the loan was to have, without the repayment.
    std::int64_t plannedInstallments() const { return planned_; }
    // The yearly rate at which what was received equals what is actually
    // paid, the repayment included: no TAEG, which assumes the contract runs
    // to its end; nothing without a repayment.
    std::optional<double> rateAsRepaid() const;

    // The rows' columns summed: the installments, their interest and
    // principal, the principal repaid early, the fees paid with the
    // installments, the penalty, what came back, and everything paid.
    // The principal is the installments' own: the maxi-rata is apart.
    Cents totalInstallments() const { return totalInstallments_; }
    Cents totalInterest() const { return totalInterest_; }
    Cents totalPrincipal() const { return totalPrincipal_; }
    Cents totalInstallmentCosts() const { return totalInstallmentCosts_; }
    Cents totalPayments() const { return totalPayments_; }
    // What the repayments change in all: what is due under the contract less what is paid.
    Cents saving() const { return totalDue() - totalPayments_; }

    // The installment (principal) the last one is measured against: the
    // one in force at the end, after any rate step or early repayment.
    Cents lastConstant() const { return finalConstant_; }
    // The last installment (principal) minus the others: what rounding to cents left over.
    Cents lastDifference() const;

private:
    AmortizationPlan() = default;

    // What the rows apply besides the contract: the first `repayments` early
    // repayments and the recurring extra. A pass records what each repayment
    // actually repaid.
    struct Events {
        std::size_t repayments = 0;
        std::vector<Cents> repaid;
        std::vector<bool> closed; // it repaid all that was still owed
        Cents extraPaid = 0;
    };
    // Appends rows up to `last`, or, with a free end, until the debt is gone;
    // with events, each lowers the debt right after its installment.
    std::optional<PlanRefusal> appendRows(const LoanInCents& loan, Cents constant, std::int64_t last, bool freeEnd,
                                          Cents& debt, Events* events = nullptr);
    // The rows again from the first installment with the events.
    std::optional<PlanRefusal> rowsWith(const LoanInCents& loan, Cents constant, Events& events);
    // The rows with every repayment and the extra: each repayment's penalty
    // within the law's limits and what comes back of the costs, from the
    // interest it saves against the rows without it. Nothing, or why the
    // amounts are too large.
    std::optional<PlanRefusal> repay(const LoanInCents& loan, Cents constant);
    // The totals, or false where they lie beyond 64-bit cents.
    bool sumUp();

    // The rate of row `number`: the last step from it or before, or the loan's.
    static const MonthlyRate& rateOf(const LoanInCents& loan, std::int64_t number);

    PlanKind kind_ = PlanKind::French;
    Cents capital_ = 0;
    Cents installment_ = 0;
    int periodsPerYear_ = 12;
    std::vector<RateStep> steps_;
    std::vector<Cents> afterSteps_;
    Cents finalConstant_ = 0;
    std::int64_t lead_ = 0;
    Cents balloon_ = 0;
    std::int64_t interestOnly_ = 0;
    std::optional<FirstPeriod> firstPeriod_;
    LoanCosts costs_;
    CreditKind credit_ = CreditKind::Other;
    std::optional<Month> firstDue_;
    // Worked out once, when first asked for: the rows' flows cost a pass or two.
    mutable std::optional<std::optional<double>> rate_;
    // The contract's TAEG, worked out before an early repayment takes its rows.
    std::optional<double> contractRate_;
    Cents contractInterest_ = 0;
    Cents contractInstallmentCosts_ = 0;
    Cents contractLast_ = 0;
    std::vector<RepaymentOutcome> outcomes_;
    std::optional<ExtraPayment> extra_;
    Cents repaid_ = 0;
    Cents extraPaid_ = 0;
    Cents extraRefund_ = 0;
    Cents penaltyAgreed_ = 0;
    Cents penalty_ = 0;
    Cents refund_ = 0;
    Cents interestSaved_ = 0;
    bool installmentReduced_ = false;
    Cents installmentAfter_ = 0;
    std::int64_t planned_ = 0;
    Cents totalInstallments_ = 0;
    Cents totalInterest_ = 0;
    Cents totalPrincipal_ = 0;
    Cents totalInstallmentCosts_ = 0;
    Cents totalPayments_ = 0;
    std::vector<PlanRow> rows_;
};

// A number text rounded half away from zero to whole cents, as "Arrotonda"
// rounds it; nothing when it is not a number or beyond 64-bit cents.
std::optional<Cents> toCents(TextView text, const NumberText& numbers);

// The French installment on `debt` over `count` months at the rate, exactly
// rounded to the cent (annuityInCents), with `left` still owed after the
// last (a maxi-rata); nothing past 64-bit cents.
std::optional<Cents> frenchInstallment(Cents debt, const MonthlyRate& rate, std::int64_t count, Cents left = 0);

} // namespace ratalia
