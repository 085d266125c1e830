#pragma once

// The plan written out: for the window and the printed page (grouped
// amounts), and for files, the clipboard and the command line.

#include "core/amortization_plan.h"
#include "core/text.h"

#include <array>
#include <vector>

namespace ratalia {

// Amounts in cents under the user's regional separators.
class AmountText {
public:
    // A group separator of 0 writes no groups.
    AmountText(char16_t decimalSeparator, char16_t groupSeparator);

    char16_t decimalSeparator() const { return decimal_; }
    // "10.000,00": what a person reads.
    Text grouped(Cents amount) const;
    // "10000,00": what a spreadsheet reads back.
    Text plain(Cents amount) const;
    // "100.000": a count, grouped as amounts are.
    Text whole(std::int64_t count) const;

private:
    Text written(Cents amount, char16_t group) const;

    char16_t decimal_;
    char16_t group_;
};

enum class PlanColumn { Number, Installment, Interest, Principal, RemainingDebt };
inline constexpr std::array planColumns{PlanColumn::Number, PlanColumn::Installment, PlanColumn::Interest,
                                        PlanColumn::Principal, PlanColumn::RemainingDebt};

Text columnTitle(PlanColumn column);
Text cellText(const PlanRow& row, PlanColumn column, const AmountText& amounts, bool grouped);

// A figure of the plan by what it means, whichever list shows it.
enum class FigureId {
    Capital,
    Duration,
    AnnualRate,
    MonthlyRate,
    Installment,
    TotalPaid,
    TotalInterest,
    TotalPrincipal
};

struct Figure {
    FigureId id;
    Text label;
    Text value;
};

// An English name for each figure, for the objects that show it.
const char* objectName(FigureId id);

// Why a loan has no plan, in one sentence.
Text refusalText(const PlanRefusal& refusal, const AmountText& amounts);

// Capital, duration, annual and monthly rate, installment: the numbers, not
// the texts typed ("2,4E1" months are "24 mesi", " 5 " per cent "5 %").
std::vector<Figure> loanFigures(const LoanTerms& terms, const AmortizationPlan& plan, const AmountText& amounts,
                                const NumberText& numbers);
// Paid, interest, principal.
std::vector<Figure> planTotals(const AmortizationPlan& plan, const AmountText& amounts);
// What the last installment pays and why it differs, if it does.
Text differenceNote(const AmortizationPlan& plan, const AmountText& amounts);

// ";" where the decimal separator is ",", so that numbers need no quotes; "," elsewhere.
char16_t csvDelimiter(char16_t decimalSeparator);
// A header row, then one line per installment, amounts without groups.
Text delimitedPlan(const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter);
// The figures, the table in aligned columns, the totals and the note.
Text alignedPlan(const LoanTerms& terms, const AmortizationPlan& plan, const AmountText& amounts,
                 const NumberText& numbers);

} // namespace ratalia
