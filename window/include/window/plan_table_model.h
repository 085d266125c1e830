#pragma once

#include "loan/amortization_plan.h"
#include "plan/plan_text.h"

#include <QAbstractTableModel>

#include <vector>

namespace ratalia {

// The plan's rows for a table view. Cells are written only when the view
// asks for them, so a plan of 100 000 installments opens at once.
class PlanTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PlanTableModel(AmountText amounts, QObject* parent = nullptr);

    // Shows these rows, or none; the plan must outlive the model's use of it.
    void show(const AmortizationPlan* plan);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const AmortizationPlan* plan_ = nullptr;
    AmountText amounts_;
    std::vector<PlanColumn> columns_;
};

// The plan's calendar years for a table view, one row a year.
class YearTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    YearTableModel(AmountText amounts, QObject* parent = nullptr);

    // Shows the years of this plan: none without its due dates.
    void show(const AmortizationPlan* plan);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    AmountText amounts_;
    std::vector<YearTotals> years_;
    std::vector<YearColumn> columns_;
};

} // namespace ratalia
