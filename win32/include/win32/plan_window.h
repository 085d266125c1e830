#pragma once

// The amortization plan in a window of its own, with Win32 controls: the
// loan's figures with its TAN and TAEG, the kind of plan, its costs, due
// dates and an early repayment, and in tabs the table of installments as a
// virtual list view (rows are written only when shown, so 100 000 open at
// once), the yearly totals and the chart; the totals, and the ways to take
// the plan away: the clipboard, a CSV file, the printer. Like the Linux window it
// shows the core's PlanForm, built from the core's layouts, and forwards what
// the user types; it holds no rule of its own.

#include "plan/plan_form.h"
#include "plan/plan_window_layout.h"
#include "win32/chart_view.h"
#include "win32/gdi.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ratalia {

class PlanWindow : private PlanFormObserver {
public:
    // Tells the user of a failure; the window and the plan stay as they were.
    using Warn = std::function<void(const Text& message, const Text& title)>;

    PlanWindow(HINSTANCE instance, HWND owner, const NumberText& numbers, Warn warn);
    ~PlanWindow() override;
    PlanWindow(const PlanWindow&) = delete;
    PlanWindow& operator=(const PlanWindow&) = delete;

    HWND handle() const { return window_; }
    // Shows the plan of this loan, keeping the kind and costs chosen, and
    // brings the window forward with the focus in the table.
    void showLoan(const LoanTerms& terms);
    // The dialog keyboard for one message: Tab, access keys, Esc closes.
    // Returns whether the message was used.
    bool translate(MSG& message);

    const PlanForm& form() const { return form_; }
    // A control by the object name the core's layouts give it ("Copy",
    // "InitialFees", "Taeg", "Installments", "Status").
    HWND control(std::string_view objectName) const;
    // The view shown: the installments, the yearly totals or the chart.
    PlanView currentView() const { return view_; }
    void showView(PlanView view);
    // The table of the view shown, tab-separated, as "Copia" puts it on the
    // clipboard: the yearly totals from their view, the installments otherwise.
    Text tabSeparated() const;
    // Writes the CSV whole or not at all; a failure is told through Warn.
    bool exportCsv(const std::wstring& path);
    // Prints on a printer's device context (to `output`, a file, where one
    // is named): a failure is told, a cancelled run noted, neither taken
    // for success.
    bool print(HDC printer, const wchar_t* output);

private:
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void build();
    HWND make(const wchar_t* windowClass, const Text& text, DWORD style, int id, std::string_view objectName,
              DWORD extended = 0);
    void setFonts();
    void layout();
    void planChanged() override;
    void showFigures();
    void fitIntoWorkArea();
    void command(int id, int notification);
    void run(PlanCommand command);
    void chooseCsvFile();
    void choosePrinter();
    void note(std::u16string_view text);
    int scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }
    int textWidth(const Text& text) const;

    HWND owner_;
    Warn warn_;
    PlanForm form_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    Font font_;
    std::map<std::string, HWND, std::less<>> named_;
    // A figure's caption and value, in the loan's list or the costs', in a
    // row of its own or beside the one before it (the TAEG beside the TAN).
    struct FigureControls {
        HWND label, value;
        bool right; // the costs and the early repayment, or the loan
        int row;
        bool beside;
        int rows; // lines it is given
    };
    std::vector<FigureControls> figures_;          // made again at every change of the figures
    std::vector<std::pair<HWND, HWND>> inputRows_; // the inputs' captions and controls, with units in units_
    std::vector<HWND> units_;
    std::vector<HWND> groups_; // one for each PlanInputGroup, in order
    HWND penaltyNote_ = nullptr;
    HWND views_ = nullptr;
    HWND list_ = nullptr;
    HWND yearsHint_ = nullptr;
    HWND years_ = nullptr;
    std::unique_ptr<ChartView> chart_;
    PlanView view_ = PlanView::Installments;
    HWND status_ = nullptr;
    HWND totals_ = nullptr;
    HWND note_ = nullptr;
    std::vector<HWND> buttons_;
    std::vector<PlanColumn> columns_;
    std::vector<Text> listTitles_, yearTitles_; // the list views' column titles, as now shown
    std::vector<YearTotals> yearRows_;
    std::vector<YearColumn> yearColumns_;
    std::wstring cell_; // the text a list-view cell was last given, until it asks again
    bool placed_ = false;
};

} // namespace ratalia
