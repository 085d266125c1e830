#include "window/plan_table_model.h"

#include "window/qt_text.h"

#include <utility>

namespace ratalia {

PlanTableModel::PlanTableModel(AmortizationPlan plan, AmountText amounts, QObject* parent)
    : QAbstractTableModel(parent), plan_(std::move(plan)), amounts_(amounts)
{
}

int PlanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(plan_.rows().size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(planColumns.size());
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const PlanRow& row = plan_.rows()[static_cast<std::size_t>(index.row())];
    return qtText(cellText(row, planColumns[static_cast<std::size_t>(index.column())], amounts_, true));
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(planColumns.size()))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return qtText(columnTitle(planColumns[static_cast<std::size_t>(section)]));
}

} // namespace ratalia
