#pragma once

// The Windows window: a dialog built from the layout table with standard
// controls, mirroring the form model and handing every user action to
// FormEvents. Like the Qt window it holds no state of its own.

#include "core/form_layout.h"
#include "core/loan_form.h"

#include <windows.h>

#include <array>
#include <vector>

namespace ratalia {

class FormEvents;

class MainWindow : private FormObserver {
public:
    MainWindow(FormEvents& events, HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return dialog_; }
    // The control that stands for `id`.
    HWND control(const ControlId& id) const;
    // The dialog keyboard for one message: Tab, arrows, access keys, and Enter
    // only on a focused push button. Returns whether the message was used.
    bool translate(MSG& message);

private:
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void build();
    void command(int id, int notification);
    int pixels(int twips) const;
    const ControlLayout* layoutOf(HWND control) const;

    void textChanged(Field field, const Text& text) override;
    void unitChanged(DurationUnit unit) override;
    void enabledChanged(Button button, bool enabled) override;

    FormEvents& events_;
    HWND dialog_ = nullptr;
    HWND toolTips_ = nullptr;
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    UINT dpi_ = 96;
    std::vector<HWND> controls_; // by row of the layout table
    std::array<HWND, 8> fields_{};
    std::array<HWND, 3> buttons_{};
    std::array<HWND, 2> options_{};
};

} // namespace ratalia
