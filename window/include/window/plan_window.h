#pragma once

// The amortization plan in a window of its own, as the core's PlanForm
// describes it. On the left, in a column that scrolls on its own, the
// inputs in their sections (the loan itself, its costs, its dates, an early
// repayment), each field with what it read under it, and "Ricomincia"; on
// the right the key figures, always in view, and the views that keep their
// room: every figure, the installments with their totals, the yearly totals,
// the chart; where the loan has no plan, the sentence that says why, in the
// table's place. At the foot, the one input that cannot be used, and the
// ways to take the plan away: the clipboard, a CSV file, the printer, a PDF,
// enabled only while they would put out the plan on screen.

#include "form/form_events.h"
#include "plan/plan_form.h"
#include "plan/plan_window_layout.h"
#include "printing/print_job.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPageLayout;
class QPagedPaintDevice;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace ratalia {

class ComparisonChartView;
class PlanChartView;
class PlanTableModel;

class PlanWindow : public QWidget, private PlanFormObserver {
    Q_OBJECT
public:
    // Tells the user of a failure; the window and the plan stay as they were.
    using Warn = std::function<void(const Text& message, const Text& title)>;

    PlanWindow(Warn warn, FormEvents& mainWindow, QWidget* parent = nullptr);
    ~PlanWindow() override;

    // Opens on the main window's loan where it has one worked out (or, not
    // `withCalculation`, as it stands), keeping the other inputs, beside the
    // main window, and brings the window forward.
    void open(bool withCalculation = true);

    const PlanForm& form() const { return form_; }
    PlanForm& form() { return form_; }
    const AmortizationPlan* plan() const { return form_.plan(); }
    // The view shown: every figure, the installments, the yearly totals or the chart.
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
    // The offers in the files, side by side; or the one message of the
    // first that cannot be read, told through Warn, and nothing here changed.
    bool openFiles(const QStringList& paths);
    // Writes every offer to the file whole, or tells why not and keeps the file as it was.
    bool saveFile(const QString& path);
    // Whether what is not saved may go: saved, or let go, not cancelled.
    bool settleUnsaved();

protected:
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void hideEvent(QHideEvent* event) override;
    // Offers not saved are asked about first.
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Outcome { Done, Cancelled, Failed };

    QWidget* buildOffers(QWidget* parent);
    QWidget* buildComparison(QWidget* parent);
    void showOffers();
    void showComparison();
    // Save, Salva con nome: the file's own name where it has one and `choose` is false.
    bool saveOffers(bool choose);
    void chooseOffersFile();
    // Whether the commands put out the comparison rather than the plan.
    bool comparing() const;
    bool canExport() const;
    QWidget* buildInputs();
    QWidget* buildViews();
    void planChanged() override;
    void showInputs();
    void showFigures();
    void fitColumns(QTableView* table) const;
    void run(PlanCommand command);
    void copy();
    QString chooseFile(const FileKind& kind, std::u16string_view name);
    void choosePrinter();
    bool savePdf(const QString& path, const QPageLayout& layout);
    // Paints every page, showing the progress of a long run, which the user may cancel.
    Outcome paintPages(QPagedPaintDevice& device, std::u16string_view title);
    void place();
    void note(std::u16string_view text);
    // The sentence at the foot, shown only while there is one.
    void showStatus(const QString& text);
    bool eventFilter(QObject* watched, QEvent* event) override;

    Warn warn_;
    PlanForm form_;
    std::map<PlanInput, QLineEdit*> fields_;
    std::map<PlanInput, QComboBox*> choices_;
    std::map<PlanInput, QLabel*> readings_;
    QScrollArea* inputs_ = nullptr;
    QLabel* notice_ = nullptr;
    QLabel* keyFigures_ = nullptr;
    QWidget* summary_ = nullptr;
    QGridLayout* summaryGrid_ = nullptr;
    QStackedWidget* body_ = nullptr; // the views, or why there are none
    QLabel* absence_ = nullptr;
    QTabWidget* views_ = nullptr;
    QTableView* table_ = nullptr;
    PlanTableModel* model_ = nullptr;
    QTableView* years_ = nullptr;
    PlanTableModel* yearsModel_ = nullptr;
    QLabel* yearsHint_ = nullptr;
    PlanChartView* chart_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* status_ = nullptr;
    QComboBox* offers_ = nullptr;
    QLineEdit* offerName_ = nullptr;
    QTableWidget* comparisonTable_ = nullptr;
    QLabel* verdict_ = nullptr;
    ComparisonChartView* comparisonChart_ = nullptr;
    std::map<PlanCommand, QPushButton*> buttons_;
    std::vector<QWidget*> tabOrder_;
    std::size_t loansShown_ = 0;
    bool placed_ = false;
};

} // namespace ratalia
