#include "window/plan_table_model.h"

#include "window/qt_text.h"

namespace ratalia {

PlanTableModel::PlanTableModel(AmountText amounts, QObject* parent) : QAbstractTableModel(parent), amounts_(amounts) {}

void PlanTableModel::show(const AmortizationPlan* plan)
{
    beginResetModel();
    plan_ = plan;
    columns_ = plan ? columnsOf(*plan) : std::vector<PlanColumn>();
    endResetModel();
}

int PlanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !plan_ ? 0 : static_cast<int>(plan_->rows().size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !plan_)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const PlanRow& row = plan_->rows()[static_cast<std::size_t>(index.row())];
    return qtText(cellText(*plan_, row, columns_[static_cast<std::size_t>(index.column())], amounts_, true));
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size()))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return qtText(columnTitle(columns_[static_cast<std::size_t>(section)]));
}

YearTableModel::YearTableModel(AmountText amounts, QObject* parent) : QAbstractTableModel(parent), amounts_(amounts) {}

void YearTableModel::show(const AmortizationPlan* plan)
{
    beginResetModel();
    years_ = plan ? yearlyTotals(*plan) : std::vector<YearTotals>();
    columns_ = plan && !years_.empty() ? yearColumns(*plan) : std::vector<YearColumn>();
    endResetModel();
}

int YearTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(years_.size());
}

int YearTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant YearTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return qtText(cellText(years_[static_cast<std::size_t>(index.row())],
                           columns_[static_cast<std::size_t>(index.column())], amounts_, true));
}

QVariant YearTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size()))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return qtText(columnTitle(columns_[static_cast<std::size_t>(section)]));
}

} // namespace ratalia
