#include "win32/main_window.h"

#include "form/contact_links.h"
#include "form/form_events.h"
#include "form/program_texts.h"
#include "plan/plan_form.h"
#include "win32/plan_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

namespace ratalia {
namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog keyboard sends
// for Enter and Esc; the window has no default and no cancel button.
constexpr int firstId = 100;
// The context menu's one entry.
constexpr int openPlanId = 90;
constexpr int openPlanAsIsId = 91;

template <typename E> std::size_t index(E e) { return static_cast<std::size_t>(e); }

std::wstring wide(const char* utf8)
{
    if (!utf8 || !*utf8)
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), length);
    out.pop_back();
    return out;
}

const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

Text textOf(HWND control)
{
    Text text(static_cast<std::size_t>(GetWindowTextLengthW(control)), u'\0');
    if (!text.empty())
        GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
    return text;
}

// An empty dialog: the controls are made from the layout table.
struct EmptyDialog {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

} // namespace

MainWindow::MainWindow(FormEvents& events, HINSTANCE instance) : events_(events)
{
    alignas(DWORD) static const EmptyDialog empty{
        {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, 0, 0}, 0, 0, 0};
    CreateDialogIndirectParamW(instance, &empty.header, nullptr, dialogProcedure, reinterpret_cast<LPARAM>(this));
}

MainWindow::~MainWindow()
{
    mirror_.reset();
    planWindow_.reset();
    if (dialog_)
        DestroyWindow(dialog_);
}

INT_PTR CALLBACK MainWindow::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<MainWindow*>(lParam);
        self->dialog_ = dialog;
        self->build();
        return FALSE; // the focus is already set
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

int MainWindow::pixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), 1440); }

void MainWindow::build()
{
    dpi_ = GetDpiForWindow(dialog_);
    SetWindowTextW(dialog_, wide(FormLayout::caption().c_str()).c_str());
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE));
    SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(1))));
    SendMessageW(dialog_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0)));

    // 8 points of MS Sans Serif for every text; the links underlined.
    const int fontHeight = -MulDiv(8, static_cast<int>(dpi_), 72);
    font_.reset(CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif"));
    linkFont_.reset(CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif"));
    toolTips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, instance, nullptr);

    // Created in tab order: the dialog keyboard walks the controls in the order they were made.
    const auto rows = FormLayout::controls();
    controls_.assign(rows.size(), nullptr);
    for (const ControlLayout* next : FormLayout::inTabOrder()) {
        const ControlLayout& c = *next;
        const auto row = static_cast<std::size_t>(next - rows.data());
        const ControlRect place = FormLayout::inClientArea(c);
        const wchar_t* windowClass = L"BUTTON";
        // Never seen, so never announced as showing either.
        DWORD style = WS_CHILD | (FormLayout::liesOutsideClientArea(c) ? 0 : WS_VISIBLE);
        DWORD extended = 0;
        std::wstring caption = wide(c.caption);
        switch (c.kind) {
        case ControlKind::Frame:
            style |= BS_GROUPBOX;
            break;
        case ControlKind::Label:
            windowClass = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::LinkLabel:
            windowClass = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
            caption = wide(ContactLinks::caption(std::get<Link>(c.id)).c_str());
            break;
        case ControlKind::InputField:
        case ControlKind::ResultField:
            windowClass = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
            if (c.kind == ControlKind::ResultField)
                style |= ES_READONLY;
            extended = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::OptionButton:
            style |= BS_AUTORADIOBUTTON;
            if (std::get<DurationUnit>(c.id) == DurationUnit::Months)
                style |= WS_GROUP | WS_TABSTOP;
            break;
        case ControlKind::PushButton:
            style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
            break;
        }
        // The control after the option pair closes its group.
        if (c.kind == ControlKind::LinkLabel || c.kind == ControlKind::Label)
            style |= WS_GROUP;
        HWND control = CreateWindowExW(extended, windowClass, caption.c_str(), style, pixels(place.left),
                                       pixels(place.top), pixels(place.width), pixels(place.height), dialog_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstId + row)), instance, nullptr);
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(c.kind == ControlKind::LinkLabel ? linkFont_.get() : font_.get()), FALSE);
        if (c.kind == ControlKind::InputField || c.kind == ControlKind::ResultField)
            SendMessageW(control, EM_SETLIMITTEXT, FormLayout::maximumTextLength, 0);
        controls_[row] = control;
        if (std::holds_alternative<Field>(c.id))
            fields_[index(std::get<Field>(c.id))] = control;
        else if (std::holds_alternative<Button>(c.id))
            buttons_[index(std::get<Button>(c.id))] = control;
        else if (std::holds_alternative<DurationUnit>(c.id))
            options_[index(std::get<DurationUnit>(c.id))] = control;
        if (c.toolTip) {
            std::wstring tip = wide(c.toolTip);
            TOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = dialog_;
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            tool.lpszText = tip.data();
            SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }

    RECT frame{0, 0, pixels(FormLayout::clientWidth), pixels(FormLayout::clientHeight)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(dialog_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(dialog_, GWL_EXSTYLE)), dpi_);
    // Centred in the work area, now that its size is known.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog_, nullptr, work.left + std::max(0L, (work.right - work.left - width) / 2),
                 work.top + std::max(0L, (work.bottom - work.top - height) / 2), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    mirror_.emplace(events_, static_cast<FormWindowObserver&>(*this));
    events_.load();
    // The focus starts on the first control in tab order that can take it.
    SetFocus(GetNextDlgTabItem(dialog_, nullptr, FALSE));
}

HWND MainWindow::control(const ControlId& id) const
{
    const ControlLayout& row = FormLayout::control(id);
    return controls_[static_cast<std::size_t>(&row - FormLayout::controls().data())];
}

const ControlLayout* MainWindow::layoutOf(HWND control) const
{
    const auto found = std::find(controls_.begin(), controls_.end(), control);
    return found == controls_.end() || !control
               ? nullptr
               : &FormLayout::controls()[static_cast<std::size_t>(found - controls_.begin())];
}

INT_PTR MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CONTEXTMENU:
        contextMenu(reinterpret_cast<HWND>(wParam), lParam);
        return TRUE;
    case WM_SETCURSOR: {
        // The pointing hand over the two links.
        const ControlLayout* c = layoutOf(reinterpret_cast<HWND>(wParam));
        if (c && c->kind == ControlKind::LinkLabel) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
        // Read-only fields keep the normal field colours.
        if (const ControlLayout* c = layoutOf(reinterpret_cast<HWND>(lParam));
            c && c->kind == ControlKind::ResultField) {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        }
        return FALSE;
    case WM_CLOSE:
        // Offers not saved in the plan window are asked about before the program ends.
        if (planWindow_ && IsWindowVisible(planWindow_->handle()) && !planWindow_->settleUnsaved())
            return TRUE;
        DestroyWindow(dialog_);
        return TRUE;
    case WM_DESTROY:
        dialog_ = nullptr;
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

// Outside the input fields, whose own menu is the system's: the entry that
// opens the plan, greyed while there is none. A read-only field keeps the
// system's menu too (Copy, Select all).
void MainWindow::contextMenu(HWND where, LPARAM position)
{
    const ControlLayout* c = layoutOf(where);
    if (c && (c->kind == ControlKind::InputField || c->kind == ControlKind::ResultField))
        return;
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) { // from the keyboard: under the focused control
        RECT r{};
        GetWindowRect(GetFocus() ? GetFocus() : dialog_, &r);
        at = {r.left, r.bottom};
    }
    HMENU menu = CreatePopupMenu();
    const Text entry = Text(texts::openPlan) + u"\tCtrl+P";
    AppendMenuW(menu, MF_STRING | (planAvailable_ ? MF_ENABLED : MF_GRAYED), openPlanId,
                reinterpret_cast<const wchar_t*>(entry.c_str()));
    const Text asIs = Text(texts::openPlanAsIs) + u"\tCtrl+Maiusc+P";
    AppendMenuW(menu, MF_STRING, openPlanAsIsId, reinterpret_cast<const wchar_t*>(asIs.c_str()));
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, dialog_, nullptr);
    DestroyMenu(menu);
    if (chosen == openPlanId || chosen == openPlanAsIsId)
        openPlan(chosen == openPlanId);
}

void MainWindow::openOffers(const std::vector<std::wstring>& paths)
{
    openPlan(false);
    planWindow_->openFiles(paths);
}

void MainWindow::openPlan(bool withCalculation)
{
    if (withCalculation && !events_.planTerms())
        return;
    if (!planWindow_) {
        auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE));
        planWindow_ =
            std::make_unique<PlanWindow>(instance, dialog_, events_, [this](const Text& message, const Text& title) {
                events_.form().showMessage(message, title);
            });
    }
    planWindow_->open(withCalculation);
}

void MainWindow::command(int id, int notification)
{
    if (id < firstId || static_cast<std::size_t>(id - firstId) >= controls_.size())
        return; // Enter and Esc outside a push button press nothing
    const ControlLayout& c = FormLayout::controls()[static_cast<std::size_t>(id - firstId)];
    switch (c.kind) {
    case ControlKind::InputField:
    case ControlKind::ResultField:
        if (notification == EN_CHANGE) {
            const Field field = std::get<Field>(c.id);
            if (const auto model = events_.typed(field, textOf(fields_[index(field)])))
                textChanged(field, *model);
        }
        break;
    case ControlKind::PushButton:
        if (notification == BN_CLICKED)
            press(std::get<Button>(c.id));
        break;
    case ControlKind::OptionButton:
        if (notification == BN_CLICKED)
            events_.choose(std::get<DurationUnit>(c.id));
        break;
    case ControlKind::LinkLabel:
        if (notification == STN_CLICKED)
            events_.click(std::get<Link>(c.id));
        break;
    default:
        break;
    }
}

// A button that disables itself (Calcola on data it empties) leaves the
// focus nowhere once a message box over it has closed: the focus moves on,
// in the layout's order, as the Qt window's does.
void MainWindow::press(Button button)
{
    const ControlLayout& pressed = FormLayout::control(button);
    events_.click(button);
    const HWND focus = GetFocus();
    if (focus && IsWindowEnabled(focus) && (focus == dialog_ || IsChild(dialog_, focus)))
        return;
    if (focus && focus != dialog_ && !IsChild(dialog_, focus))
        return; // another window has it
    const auto next = FormLayout::nextTabStop(pressed.id, true, events_.form().durationUnit(),
                                              [&](const ControlId& id) { return IsWindowEnabled(control(id)) != 0; });
    if (next)
        SetFocus(control(*next));
}

bool MainWindow::translate(MSG& message)
{
    if (planWindow_ && planWindow_->translate(message))
        return true;
    if (!dialog_ || (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)))
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == 'P' && GetKeyState(VK_CONTROL) < 0 &&
        GetKeyState(VK_MENU) >= 0) {
        // Ctrl+Shift+P opens the plan window as it stands, Ctrl+P with the calculation's loan.
        const bool withCalculation = GetKeyState(VK_SHIFT) >= 0;
        if (planAvailable_ || !withCalculation)
            openPlan(withCalculation);
        return true;
    }
    if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        // Enter, the keypad's too, presses a push button only while it has the
        // focus; Esc presses nothing.
        if (message.wParam == VK_RETURN) {
            const HWND focus = GetFocus();
            for (std::size_t i = 0; i < buttons_.size(); ++i)
                if (buttons_[i] == focus)
                    press(static_cast<Button>(i));
        }
        return true;
    }
    return IsDialogMessageW(dialog_, &message) != FALSE;
}

void MainWindow::textChanged(Field field, const Text& text)
{
    HWND control = fields_[index(field)];
    if (textOf(control) != text)
        SetWindowTextW(control, wide(text));
}

void MainWindow::unitChanged(DurationUnit unit)
{
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const bool chosen = i == index(unit);
        SendMessageW(options_[i], BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
        // Tab enters the pair at the chosen button.
        auto style = GetWindowLongW(options_[i], GWL_STYLE);
        style = chosen ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        SetWindowLongW(options_[i], GWL_STYLE, style);
    }
}

void MainWindow::enabledChanged(Button button, bool enabled) { EnableWindow(buttons_[index(button)], enabled); }

} // namespace ratalia
