#pragma once

// The amortization plan in a window of its own: the loan's figures with its
// TAN and TAEG, the kind of plan, its costs, due dates and an early
// repayment, the installments, the yearly totals and the chart, the totals,
// and the ways to take the plan away: the clipboard, a CSV file, the
// printer, a PDF. It shows the core's PlanForm and forwards what
// the user types to it; what it says is the core's (plan texts, the plan
// window's layout and its pages).

#include "plan/plan_form.h"
#include "plan/plan_window_layout.h"
#include "printing/print_job.h"

#include <QWidget>

#include <functional>
#include <map>

class QBoxLayout;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPageLayout;
class QPagedPaintDevice;
class QTabWidget;
class QTableView;

namespace ratalia {

class PlanChartView;
class PlanTableModel;
class YearTableModel;

class PlanWindow : public QWidget, private PlanFormObserver {
    Q_OBJECT
public:
    // Tells the user of a failure; the window and the plan stay as they were.
    using Warn = std::function<void(const Text& message, const Text& title)>;

    PlanWindow(Warn warn, const NumberText& numbers, QWidget* parent = nullptr);
    ~PlanWindow() override;

    // Shows the plan of this loan, keeping the kind and costs chosen, and
    // brings the window forward.
    void showLoan(const LoanTerms& terms);

    const PlanForm& form() const { return form_; }
    const AmortizationPlan* plan() const { return form_.plan(); }
    // The view shown: the installments, the yearly totals or the chart.
    PlanView currentView() const;
    void showView(PlanView view);
    // The table of the view shown, tab-separated, as "Copia" puts it on the
    // clipboard: the yearly totals from their view, the installments otherwise.
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

    void buildInputs(QBoxLayout* into, PlanInputGroup group, std::u16string_view title, const char* name);
    void planChanged() override;
    void showFigures(QFormLayout* layout, const std::vector<Figure>& figures);
    void run(PlanCommand command);
    void copy();
    QString chooseFile(const FileKind& kind, std::u16string_view name);
    void choosePrinter();
    bool savePdf(const QString& path, const QPageLayout& layout);
    // Paints every page, showing the progress of a long run, which the user may cancel.
    Outcome paintPages(QPagedPaintDevice& device);
    void fitIntoScreen();
    void note(std::u16string_view text);

    Warn warn_;
    PlanForm form_;
    QFormLayout* loanFigures_ = nullptr;
    QFormLayout* costFigures_ = nullptr;
    QFormLayout* repaymentFigures_ = nullptr;
    std::map<PlanInput, QLineEdit*> fields_;
    std::map<PlanInput, QComboBox*> choices_;
    QTableView* table_ = nullptr;
    PlanTableModel* model_ = nullptr;
    QTableView* years_ = nullptr;
    YearTableModel* yearsModel_ = nullptr;
    QLabel* yearsHint_ = nullptr;
    PlanChartView* chart_ = nullptr;
    QTabWidget* views_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* status_ = nullptr;
    bool placed_ = false;
};

} // namespace ratalia
