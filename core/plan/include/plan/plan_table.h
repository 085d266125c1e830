#pragma once

// A table of the plan, whichever it is: its installments, or its calendar
// years. One idea for every place that shows one: the windows' tables, the
// clipboard and the CSV, the command line's aligned text and the printout.

#include "loan/amortization_plan.h"
#include "numbers/amount_text.h"
#include "plan/plan_text.h"

#include <cstddef>
#include <variant>
#include <vector>

namespace ratalia {

class PlanTable {
public:
    enum class Kind { Installments, Years };
    // The plan must outlive the table. The years are none without due dates.
    PlanTable(Kind kind, const AmortizationPlan& plan, const AmountText& amounts);

    Kind kind() const { return kind_; }
    std::size_t rowCount() const;
    std::size_t columnCount() const { return columns_.size(); }
    Text title(std::size_t column) const;
    // The title on one line, or on two where it has a space, broken where
    // the longer line is shortest: "Rimborso" / "anticipato".
    std::vector<Text> titleLines(std::size_t column) const;
    // "10.000,00" grouped, as a person reads it; "10000,00" for a spreadsheet.
    Text cell(std::size_t row, std::size_t column, bool grouped) const;
    // The column's widest text, its largest amount: what its width must hold.
    Text widest(std::size_t column) const;
    // What the printout writes above the table: "Totali per anno" for the years.
    Text heading() const;

private:
    using Column = std::variant<PlanColumn, YearColumn>;

    Kind kind_;
    const AmortizationPlan& plan_;
    AmountText amounts_;
    std::vector<YearTotals> years_;
    std::vector<Column> columns_;
};

// A header row, then one line a row, amounts without groups.
Text delimitedTable(const PlanTable& table, char16_t delimiter);
// The table in columns as wide as their widest text, titles first, every cell right-aligned.
void appendAligned(Text& out, const PlanTable& table);

} // namespace ratalia
