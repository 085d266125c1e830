#pragma once

// The amortization plan in a window of its own, with Win32 controls, as the
// core's PlanForm describes it and as the Linux window shows it: on the left,
// in a column that scrolls on its own, the inputs in their sections (the
// loan itself, its costs, its dates, an early repayment), each field with
// what it read under it, and "Ricomincia"; on the right the key figures,
// always in view, and the views that keep their room: every figure, the
// installments with their totals, the yearly totals, the chart; where the
// loan has no plan, the sentence that says why, in the table's place. At
// the foot, the one input that cannot be used, and the ways to take the
// plan away: the clipboard, a CSV file, the printer, enabled only while
// they would put out the plan on screen. It holds no rule of its own.

#include "form/form_events.h"
#include "plan/plan_form.h"
#include "plan/plan_window_layout.h"
#include "win32/accessible.h"
#include "win32/chart_view.h"
#include "win32/gdi.h"
#include "win32/plan_list_view.h"
#include "win32/scroll_panel.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ratalia {

class PlanWindow : private PlanFormObserver {
public:
    // Tells the user of a failure; the window and the plan stay as they were.
    using Warn = std::function<void(const Text& message, const Text& title)>;

    // A window of its own beside `mainWindow`, not owned by it: either comes
    // to the front with a click, and neither hides the other for good.
    PlanWindow(HINSTANCE instance, HWND mainWindow, FormEvents& events, Warn warn);
    ~PlanWindow() override;
    PlanWindow(const PlanWindow&) = delete;
    PlanWindow& operator=(const PlanWindow&) = delete;

    HWND handle() const { return window_; }
    // Opens on the main window's loan where it has one worked out (or, not
    // `withCalculation`, as it stands), keeping the other inputs, beside the
    // main window, and brings the window forward with the focus in the table
    // (in the first input, where there is no plan).
    void open(bool withCalculation = true);
    // The dialog keyboard for one message: Tab, access keys, Esc closes.
    // Returns whether the message was used.
    bool translate(MSG& message);

    const PlanForm& form() const { return form_; }
    PlanForm& form() { return form_; }
    // A control by the object name the core's tables give it ("Copy",
    // "InitialFees", "InitialFeesReading", "Taeg", "Installments", "Status").
    HWND control(std::string_view objectName) const;
    // The view shown: every figure, the installments, the yearly totals or the chart.
    PlanView currentView() const { return view_; }
    void showView(PlanView view);
    // The table of the view shown, tab-separated, as "Copia" puts it on the
    // clipboard: the yearly totals from their view, the installments otherwise.
    Text tabSeparated() const;
    // Writes the CSV whole or not at all; a failure is told through Warn.
    bool exportCsv(const std::wstring& path);
    // Prints on a printer's device context (to `output`, a file, where one
    // is named): a long run shows its progress and may be cancelled; a
    // failure is told, a cancelled run noted, neither taken for success.
    bool print(HDC printer, const wchar_t* output);
    // The offers in the files, side by side; or the one message of the first
    // that cannot be read, told through Warn, and nothing here changed.
    bool openFiles(const std::vector<std::wstring>& paths);
    // Writes every offer to the file whole, or tells why not and keeps the file as it was.
    bool saveFile(const std::wstring& path);
    // Whether what is not saved may go: saved, or let go, not cancelled.
    bool settleUnsaved();

private:
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void build();
    void buildInputs();
    HWND makeCommand(HWND parent, PlanCommand id, DWORD style);
    void showOffers();
    void showComparison();
    // Whether the commands put out the comparison rather than the plan.
    bool comparing() const { return view_ == PlanView::Comparison; }
    bool canExport() const;
    void chooseOffersFile();
    // Salva, Salva con nome: the file's own name where it has one and `choose` is false.
    bool saveOffers(bool choose);
    // The name a save dialog chose, with the kind's extension; nothing where it was cancelled.
    std::optional<std::wstring> chooseSaveFile(const FileKind& kind, std::u16string_view name);
    // The cheapest's figures in bold: the comparison's list draws them so.
    LRESULT drawComparisonItem(NMLVCUSTOMDRAW& draw) const;
    void buildViews();
    HWND make(HWND parent, const wchar_t* windowClass, const Text& text, DWORD style, int id,
              std::string_view objectName, DWORD extended = 0);
    void setFonts();
    void layout();
    int layoutInputs(int width);
    int layoutSummary(int width);
    void planChanged() override;
    void showInputs();
    void showFigures();
    void place();
    void enableExports();
    void addToolTip(HWND control, std::u16string_view tip);
    void command(int id, int notification);
    void run(PlanCommand command);
    void chooseCsvFile();
    void choosePrinter();
    void note(std::u16string_view text);
    int scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }
    int textWidth(const Text& text, HFONT font) const;
    int textHeight(const Text& text, HFONT font, int width) const;

    HWND mainWindow_;
    Warn warn_;
    PlanForm form_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    Font font_, bold_, small_;
    // The screen's own, for measuring texts without asking a window for its device context each time.
    OwnedDc measure_{CreateCompatibleDC(nullptr)};
    AccessibleTexts accessible_;
    std::map<std::string, HWND, std::less<>> named_;
    HWND toolTips_ = nullptr;

    // The inputs' column: its sections, each input's caption, control, unit and reading.
    std::unique_ptr<ScrollPanel> inputs_;
    struct InputControls {
        PlanInput id;
        HWND caption = nullptr, control = nullptr, unit = nullptr, reading = nullptr;
    };
    std::vector<InputControls> inputRows_;
    HWND offersCaption_ = nullptr;
    HWND offers_ = nullptr;
    HWND offerNameCaption_ = nullptr;
    HWND offerName_ = nullptr;
    std::vector<PlanSection> sections_;
    HWND penaltyNote_ = nullptr;
    HWND startClean_ = nullptr;
    HWND notice_ = nullptr;

    HWND keyFigures_ = nullptr;
    HWND views_ = nullptr;
    // Every figure, under its group's heading: captions, values, headings.
    std::unique_ptr<ScrollPanel> summary_;
    struct FigureControls {
        HWND label, value;
        bool heading;
    };
    std::vector<FigureControls> figures_;
    std::unique_ptr<PlanListView> installments_;
    HWND totals_ = nullptr;
    HWND note_ = nullptr;
    HWND yearsHint_ = nullptr;
    std::unique_ptr<PlanListView> years_;
    std::unique_ptr<ChartView> chart_;
    HWND comparison_ = nullptr;
    HWND verdict_ = nullptr;
    std::unique_ptr<ChartView> comparisonChart_;
    // Per row and offer of the comparison's list: whether it marks the cheapest.
    std::vector<std::vector<bool>> cheapest_;
    HWND absence_ = nullptr;
    HWND status_ = nullptr;
    std::vector<std::pair<PlanCommand, HWND>> buttons_;

    PlanView view_ = PlanView::Installments;
    std::size_t loansShown_ = 0;
    bool placed_ = false;
    bool printing_ = false;
};

} // namespace ratalia
