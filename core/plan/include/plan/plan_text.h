#pragma once

// The plan written out: for the window and the printed page (grouped
// amounts), and for files, the clipboard and the command line.

#include "loan/amortization_plan.h"
#include "loan/plan_request.h"
#include "numbers/amount_text.h"
#include "numbers/text.h"

#include <vector>

namespace ratalia {

enum class PlanColumn {
    Number,
    DueDate,
    Installment,
    Interest,
    Principal,
    Balloon,
    Prepaid,
    Penalty,
    Costs,
    Refund,
    Payment,
    RemainingDebt,
};

// The plan's columns: the due month where the first was given, the
// principal repaid early where a repayment is planned, its penalty where
// one is charged, the fees paid with the installments where there are any,
// what comes back of the costs where something does, and then everything
// paid on the day.
std::vector<PlanColumn> columnsOf(const AmortizationPlan& plan);
Text columnTitle(PlanColumn column);
Text cellText(const AmortizationPlan& plan, const PlanRow& row, PlanColumn column, const AmountText& amounts,
              bool grouped);

// One calendar year of a plan with due dates: the installments that fall in
// it, what is paid in it, and what is still owed at its end. The charges
// that share the interest's deduction (TUIR art. 15 c. 1 b: the initial
// fees and the imposta, in the year of the signing, a month before the
// first installment, and an early repayment's penalty) are apart from the
// fees paid with the installments.
struct YearTotals {
    std::int64_t year = 0;
    std::int64_t installments = 0;
    Cents interest = 0;
    Cents principal = 0;
    Cents balloon = 0; // the maxi-rata
    Cents prepaid = 0; // principal repaid early
    Cents charges = 0; // oneri accessori: initial fees, imposta, penalty
    Cents fees = 0;    // paid with the installments
    Cents refund = 0;  // what came back of the costs
    Cents debtAtEnd = 0;
};
enum class YearColumn { Year, Installments, Interest, Principal, Balloon, Prepaid, Charges, Fees, Refund, DebtAtEnd };
inline constexpr std::u16string_view yearsTitle = u"Totali per anno";
// The years in order, from the signing's where something is paid in it; none without a first due date.
std::vector<YearTotals> yearlyTotals(const AmortizationPlan& plan);
// As the plan's: each money column where the plan has something in it.
std::vector<YearColumn> yearColumns(const AmortizationPlan& plan);
Text columnTitle(YearColumn column);
Text cellText(const YearTotals& year, YearColumn column, const AmountText& amounts, bool grouped);

// A figure of the plan by what it means, whichever list shows it.
enum class FigureId {
    Kind,
    Capital,
    Duration,
    AnnualRate,
    Taeg,
    MonthlyRate,
    Installment,      // the French plan's
    Principal,        // the Italian plan's constant principal,
    FirstInstallment, // its first installment
    LastInstallment,  // and its last
    Frequency,        // the shape: installments a year,
    InterestOnly,     // the preammortamento,
    RateSteps,        // the rate steps and the installment after each,
    Balloon,          // the maxi-rata,
    FirstPeriod,      // the odd first period from the signing
    Received,
    InitialFees,
    SubstituteTax,
    SinglePremium,
    ContractInterest,
    InstallmentCosts,
    CostOfCredit,
    TotalDue,
    RepaidAfter,      // the early repayment: with which installment,
    Repaid,           // what it repays,
    ExtraPaid,        // the recurring extra, and what it repays in all,
    Penalty,          // its penalty,
    PenaltyRule,      // the law's limit it was held to,
    Refund,           // what comes back of the costs,
    InterestSaved,    // the interest it saves,
    InstallmentAfter, // the installment (principal) after it,
    LoanEnd,          // the installment the loan now ends with,
    Saving,           // what it saves against the total due,
    RateAsRepaid,     // and the rate of what is actually paid
    TotalInstallments,
    TotalInterest,
    TotalPrincipal,
    TotalBalloon,
    TotalPrepaid,
    TotalPenalty,
    TotalFees,
    TotalRefund,
    TotalPayments,
};
inline constexpr int figureIdCount = static_cast<int>(FigureId::TotalPayments) + 1;

struct Figure {
    FigureId id;
    Text label;
    Text value;
    bool workedOut = false; // the loan's figure worked out from the installment given
};

// The figures whose values are sentences, which a window shows on two lines
// where need be: where the loan now ends, and the penalty's limit.
constexpr bool wrapsOnTwoLines(FigureId id) { return id == FigureId::LoanEnd || id == FigureId::PenaltyRule; }

// An English name for each figure, for the objects that show it; none is
// the name of a plan window's input ("InitialFees" is the field,
// "InitialFeesPaid" the figure).
const char* objectName(FigureId id);

// Why a loan has no plan, in one sentence.
Text refusalText(const PlanRefusal& refusal, const AmountText& amounts);

// "Rata costante (alla francese)", "Quota capitale costante (all'italiana)".
Text kindName(PlanKind kind);
// A yearly rate with two decimals, rounded half up, and " %": "6,43 %";
// "oltre 1.000.000 %" from there on, "—" where there is none.
Text rateText(std::optional<double> rate, const AmountText& amounts);
// The contract's TAEG so written.
Text taegText(const AmortizationPlan& plan, const AmountText& amounts);
// "Altro", "Mutuo per la casa", "Credito ai consumatori".
Text creditName(CreditKind kind);

// The kind of plan, capital, duration, annual rate and TAEG, monthly rate,
// and the installment (the French plan) or the principal with the first and
// last installments (the Italian plan): the numbers, not the texts typed
// ("2,4E1" months are "24 mesi", " 5 " per cent "5 %"). Where the costs
// could not be read, the TAEG is "—".
std::vector<Figure> loanFigures(const LoanReading& loan, const AmortizationPlan& plan, const AmountText& amounts,
                                const NumberText& numbers, bool costsKnown = true);
// The monthly rate, the annual one ÷ 1200, with ten decimals, exactly: 6,75 % is "0,0056250000".
Text monthlyRateText(const ExactDecimal& annualRate, const NumberText& numbers, int periodsPerYear = 12);
// What a figure worked out from the other three says of itself, beside its
// value: "calcolato", "calcolata", and for a rate every rate that gives the
// same installment ("calcolato; ogni TAN da 9,8978 % a 9,9049 % dà questa rata"),
// briefly under a field ("calcolato (stessa rata da 9,8978 a 9,9049 %)").
Text workedOutNote(const LoanReading& loan, const NumberText& numbers, bool brief = false);
// The contract's: what is received, each cost given, the interest, the
// total cost of the credit and the total due, which add up as shown; "—"
// for what depends on the costs where they could not be read.
std::vector<Figure> costFigures(const AmortizationPlan& plan, const AmountText& amounts, bool costsKnown = true);
// The early repayment's figures; none where no repayment is planned.
std::vector<Figure> repaymentFigures(const AmortizationPlan& plan, const AmountText& amounts);
// The total of each money column, named for what it sums.
std::vector<Figure> planTotals(const AmortizationPlan& plan, const AmountText& amounts);
// What the last installment (principal) pays and why it differs, if it
// does; after an early repayment, that the legal figures stay the contract's.
Text differenceNote(const AmortizationPlan& plan, const AmountText& amounts);
// Where the main window's installment, rounded to the cent, is not the
// plan's, worked out exactly on the capital in cents: a sentence that says so.
std::optional<Text> installmentNote(const Text& windowInstallment, const AmortizationPlan& plan,
                                    const AmountText& amounts, const NumberText& numbers);
// Both, one after the other: what the plan says under its table.
Text planNote(const Text& windowInstallment, const AmortizationPlan& plan, const AmountText& amounts,
              const NumberText& numbers);

// ";" where the decimal separator is ",", so that numbers need no quotes; "," elsewhere.
char16_t csvDelimiter(char16_t decimalSeparator);
// A header row, then one line per installment, amounts without groups.
Text delimitedPlan(const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter);
// A header row, then one line per calendar year.
Text delimitedYears(const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter);
// The figures, the costs and the early repayment, the table in aligned
// columns, the totals, the note, and the yearly totals where there are due dates.
// `windowInstallment`: the main window's, where it worked this loan out too.
Text alignedPlan(const LoanReading& loan, const AmortizationPlan& plan, const AmountText& amounts,
                 const NumberText& numbers, const Text& windowInstallment = {});

} // namespace ratalia
