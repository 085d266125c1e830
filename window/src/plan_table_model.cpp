#include "window/plan_table_model.h"

#include "window/qt_text.h"

namespace ratalia {

PlanTableModel::PlanTableModel(PlanTable::Kind kind, const AmountText& amounts, QObject* parent)
    : QAbstractTableModel(parent), kind_(kind), amounts_(amounts)
{
}

void PlanTableModel::show(const AmortizationPlan* plan)
{
    beginResetModel();
    table_.reset();
    if (plan)
        table_.emplace(kind_, *plan, amounts_);
    endResetModel();
}

void PlanTableModel::setTwoLineTitles(bool twoLines)
{
    if (twoLines_ == twoLines)
        return;
    twoLines_ = twoLines;
    if (table_ && table_->columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(table_->columnCount()) - 1);
}

int PlanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->rowCount());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->columnCount());
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !table_)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return qtText(table_->cell(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column()), true));
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !table_ || section < 0 || section >= static_cast<int>(table_->columnCount()))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    const auto column = static_cast<std::size_t>(section);
    // The whole title for a screen reader; on two lines where it is long for the eye.
    if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return qtText(table_->title(column));
    if (role != Qt::DisplayRole)
        return {};
    if (!twoLines_)
        return qtText(table_->title(column));
    QStringList lines;
    for (const Text& line : table_->titleLines(column))
        lines << qtText(line);
    return lines.join(QLatin1Char('\n'));
}

} // namespace ratalia
