#pragma once

// The amortization plan in a window of its own: the loan's figures, the
// table of installments, the totals, and the ways to take the plan away:
// the clipboard, a CSV file, the printer, a PDF. What it shows and says is
// the core's (plan texts, the plan window's layout and its pages).

#include "core/amortization_plan.h"
#include "core/plan_text.h"
#include "core/plan_window_layout.h"
#include "printing/print_job.h"

#include <QWidget>

#include <functional>
#include <vector>

class QFormLayout;
class QLabel;
class QPageLayout;
class QPagedPaintDevice;
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
    // Each writes the file whole or not at all, and returns whether it did;
    // a failure is told through Warn, a cancelled save in the window.
    bool exportCsv(const QString& path);
    bool savePdf(const QString& path);
    // Prints the run the print dialog chose: to a PDF file that is saving
    // one; otherwise a failure is told and never taken for success.
    bool print(PrintJob& job);

private:
    enum class Outcome { Done, Cancelled, Failed };

    void run(PlanCommand command);
    void copy();
    QString chooseFile(const FileKind& kind);
    void choosePrinter();
    bool savePdf(const QString& path, const QPageLayout& layout);
    // Paints every page, showing the progress of a long run, which the user may cancel.
    Outcome paintPages(QPagedPaintDevice& device);
    void fitIntoScreen();
    void note(std::u16string_view text);

    Warn warn_;
    QFormLayout* figures_ = nullptr;
    QTableView* table_ = nullptr;
    PlanTableModel* model_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<Figure> loanFigures_;
    AmountText amounts_{u',', u'.'};
    bool placed_ = false;
};

} // namespace ratalia
