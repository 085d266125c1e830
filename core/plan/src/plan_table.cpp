#include "plan/plan_table.h"

#include <algorithm>
#include <cstdlib>

namespace ratalia {
namespace {

Text padded(const Text& text, std::size_t width)
{
    return Text(width > text.size() ? width - text.size() : 0, u' ') + text;
}

Cents magnitude(Cents value) { return value < 0 ? -value : value; }

} // namespace

PlanTable::PlanTable(Kind kind, const AmortizationPlan& plan, const AmountText& amounts)
    : kind_(kind), plan_(plan), amounts_(amounts)
{
    if (kind == Kind::Installments) {
        for (const PlanColumn column : columnsOf(plan))
            columns_.push_back(column);
        return;
    }
    years_ = yearlyTotals(plan);
    if (!years_.empty())
        for (const YearColumn column : yearColumns(plan))
            columns_.push_back(column);
}

std::size_t PlanTable::rowCount() const { return kind_ == Kind::Installments ? plan_.rows().size() : years_.size(); }

Text PlanTable::title(std::size_t column) const
{
    return std::visit([](auto id) { return columnTitle(id); }, columns_[column]);
}

std::vector<Text> PlanTable::titleLines(std::size_t column) const
{
    const Text whole = title(column);
    std::size_t best = Text::npos, longest = whole.size();
    for (std::size_t space = whole.find(u' '); space != Text::npos; space = whole.find(u' ', space + 1)) {
        const std::size_t longer = std::max(space, whole.size() - space - 1);
        if (longer < longest) {
            longest = longer;
            best = space;
        }
    }
    if (best == Text::npos)
        return {whole};
    return {whole.substr(0, best), whole.substr(best + 1)};
}

Text PlanTable::cell(std::size_t row, std::size_t column, bool grouped) const
{
    if (kind_ == Kind::Installments)
        return cellText(plan_, plan_.rows()[row], std::get<PlanColumn>(columns_[column]), amounts_, grouped);
    return cellText(years_[row], std::get<YearColumn>(columns_[column]), amounts_, grouped);
}

Text PlanTable::widest(std::size_t column) const
{
    if (rowCount() == 0)
        return title(column);
    // Amounts are as wide as their digits: the largest in magnitude, with a sign if any is negative.
    const auto widestOf = [&](auto valueOf) {
        Cents largest = 0;
        bool negative = false;
        for (std::size_t r = 0; r < rowCount(); ++r) {
            const Cents value = valueOf(r);
            largest = std::max(largest, magnitude(value));
            negative = negative || value < 0;
        }
        return amounts_.grouped(negative ? -largest : largest);
    };
    if (kind_ == Kind::Installments) {
        const auto& rows = plan_.rows();
        switch (std::get<PlanColumn>(columns_[column])) {
        case PlanColumn::Number:
        case PlanColumn::DueDate:
            return cellText(plan_, rows.back(), std::get<PlanColumn>(columns_[column]), amounts_, true);
        case PlanColumn::Installment:
            return widestOf([&](std::size_t r) { return rows[r].installment; });
        case PlanColumn::Interest:
            return widestOf([&](std::size_t r) { return rows[r].interest; });
        case PlanColumn::Principal:
            return widestOf([&](std::size_t r) { return rows[r].principal; });
        case PlanColumn::Balloon:
            return widestOf([&](std::size_t r) { return rows[r].balloon; });
        case PlanColumn::Prepaid:
            return widestOf([&](std::size_t r) { return rows[r].prepaid; });
        case PlanColumn::Penalty:
            return widestOf([&](std::size_t r) { return rows[r].penalty; });
        case PlanColumn::Costs:
            return widestOf([&](std::size_t r) { return rows[r].costs; });
        case PlanColumn::Refund:
            return widestOf([&](std::size_t r) { return rows[r].refund; });
        case PlanColumn::Payment:
            return widestOf([&](std::size_t r) { return rows[r].payment(); });
        case PlanColumn::RemainingDebt:
            // Above the capital only where an odd first period's interest was more than the installment.
            return widestOf([&](std::size_t r) { return std::max(rows[r].remainingDebt, plan_.capital()); });
        }
        return {};
    }
    switch (std::get<YearColumn>(columns_[column])) {
    case YearColumn::Year:
    case YearColumn::Installments:
        return cell(rowCount() - 1, column, true);
    case YearColumn::Interest:
        return widestOf([&](std::size_t r) { return years_[r].interest; });
    case YearColumn::Principal:
        return widestOf([&](std::size_t r) { return years_[r].principal; });
    case YearColumn::Balloon:
        return widestOf([&](std::size_t r) { return years_[r].balloon; });
    case YearColumn::Prepaid:
        return widestOf([&](std::size_t r) { return years_[r].prepaid; });
    case YearColumn::Charges:
        return widestOf([&](std::size_t r) { return years_[r].charges; });
    case YearColumn::Fees:
        return widestOf([&](std::size_t r) { return years_[r].fees; });
    case YearColumn::Refund:
        return widestOf([&](std::size_t r) { return years_[r].refund; });
    case YearColumn::DebtAtEnd:
        return amounts_.grouped(plan_.capital());
    }
    return {};
}

Text PlanTable::heading() const { return kind_ == Kind::Years ? Text(yearsTitle) : Text(); }

Text delimitedTable(const PlanTable& table, char16_t delimiter)
{
    Text out;
    out.reserve((table.rowCount() + 1) * 10 * table.columnCount());
    for (std::size_t c = 0; c < table.columnCount(); ++c) {
        if (c > 0)
            out += delimiter;
        out += table.title(c);
    }
    out += u'\n';
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        for (std::size_t c = 0; c < table.columnCount(); ++c) {
            if (c > 0)
                out += delimiter;
            out += table.cell(r, c, false);
        }
        out += u'\n';
    }
    return out;
}

void appendAligned(Text& out, const PlanTable& table)
{
    std::vector<std::size_t> widths;
    for (std::size_t c = 0; c < table.columnCount(); ++c)
        widths.push_back(std::max(table.title(c).size(), table.widest(c).size()));
    out.reserve(out.size() + (table.rowCount() + 1) * 14 * table.columnCount());
    for (std::size_t c = 0; c < table.columnCount(); ++c)
        out += (c > 0 ? u"  " : u"") + padded(table.title(c), widths[c]);
    out += u'\n';
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        for (std::size_t c = 0; c < table.columnCount(); ++c)
            out += (c > 0 ? u"  " : u"") + padded(table.cell(r, c, true), widths[c]);
        out += u'\n';
    }
}

} // namespace ratalia
