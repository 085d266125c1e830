#pragma once

// The Windows window: a dialog built from the layout table with standard
// controls, mirroring the form model and handing every user action to
// FormEvents. Like the Qt window it holds no state of its own. A right
// click outside the input fields, or Ctrl+P, opens the amortization plan in
// a window of its own.

#include "form/form_layout.h"
#include "form/form_mirror.h"
#include "win32/gdi.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace ratalia {

class PlanWindow;

class MainWindow : private FormWindowObserver {
public:
    MainWindow(FormEvents& events, HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return dialog_; }
    // The control that stands for `id`.
    HWND control(const ControlId& id) const;
    // The plan window, once it has been opened.
    PlanWindow* planWindow() const { return planWindow_.get(); }
    // The dialog keyboard for one message, the plan window's included: Tab,
    // arrows, access keys, Ctrl+P, and Enter only on a focused push button.
    // Returns whether the message was used.
    bool translate(MSG& message);
    // Opens the plan window on the offers of files ("ratalia a.ratalia b.ratalia").
    void openOffers(const std::vector<std::wstring>& paths);

private:
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void build();
    void command(int id, int notification);
    void contextMenu(HWND where, LPARAM position);
    void press(Button button);
    // With the calculation's loan, or as the plan window stands.
    void openPlan(bool withCalculation = true);
    int pixels(int twips) const;
    const ControlLayout* layoutOf(HWND control) const;

    void textChanged(Field field, const Text& text) override;
    void unitChanged(DurationUnit unit) override;
    void enabledChanged(Button button, bool enabled) override;
    void planAvailabilityChanged(bool available) override { planAvailable_ = available; }

    FormEvents& events_;
    HWND dialog_ = nullptr;
    HWND toolTips_ = nullptr;
    Font font_;
    Font linkFont_;
    UINT dpi_ = 96;
    std::vector<HWND> controls_; // by row of the layout table
    std::array<HWND, fieldCount> fields_{};
    std::array<HWND, buttonCount> buttons_{};
    std::array<HWND, 2> options_{};
    bool planAvailable_ = false;
    std::unique_ptr<PlanWindow> planWindow_;
    std::optional<FormMirror> mirror_;
};

} // namespace ratalia
