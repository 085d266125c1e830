#pragma once

// The amortization plan in a window of its own: the loan's figures, the
// table of installments, the totals, and the ways to take the plan away:
// the clipboard, a CSV file, the printer, a PDF.

#include "core/amortization_plan.h"
#include "core/plan_text.h"

#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTableView;

namespace ratalia {

class PlanTableModel;

class PlanWindow : public QWidget {
    Q_OBJECT
public:
    // Tells the user of a failure; the window and the plan stay as they were.
    using Warn = std::function<void(const Text& message, const Text& title)>;

    explicit PlanWindow(Warn warn, QWidget* parent = nullptr);

    // Shows this plan, replacing any other, and brings the window forward.
    void showPlan(const LoanTerms& terms, AmortizationPlan plan, AmountText amounts, const NumberText& numbers);

    const AmortizationPlan* plan() const;
    // The whole table, tab-separated, as "Copia" puts it on the clipboard.
    Text tabSeparated() const;
    // Write the file whole or not at all; on failure warn and return false.
    bool exportCsv(const QString& path);
    bool savePdf(const QString& path);

private:
    void copy();
    void chooseCsvFile();
    void print();
    void choosePdfFile();
    bool paint(QPagedPaintDevice& device) const;

    Warn warn_;
    std::vector<std::pair<QLabel*, QLabel*>> figures_;
    QTableView* table_ = nullptr;
    PlanTableModel* model_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* note_ = nullptr;
    std::vector<Figure> loanFigures_;
    AmountText amounts_{u',', u'.'};
};

} // namespace ratalia
