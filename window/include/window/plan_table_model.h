#pragma once

#include "plan/plan_table.h"

#include <QAbstractTableModel>

#include <optional>

namespace ratalia {

// A table of the plan for a table view, its installments or its years.
// Cells are written only when the view asks for them, so a plan of 100 000
// installments opens at once. Titles are on two lines where they are long.
class PlanTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PlanTableModel(PlanTable::Kind kind, const AmountText& amounts, QObject* parent = nullptr);

    // Shows this plan's table, or none; the plan must outlive the model's use of it.
    void show(const AmortizationPlan* plan);
    const std::optional<PlanTable>& table() const { return table_; }
    // Titles on two lines where they have a space: for a view too narrow for them on one.
    void setTwoLineTitles(bool twoLines);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    PlanTable::Kind kind_;
    AmountText amounts_;
    std::optional<PlanTable> table_;
    bool twoLines_ = false;
};

} // namespace ratalia
