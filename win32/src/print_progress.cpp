#include "print_progress.h"

#include "window_class.h"

#include "plan/plan_window_layout.h"

#include <commctrl.h>

namespace ratalia {
namespace {

constexpr wchar_t windowClass[] = L"RataliaPrintProgress";
// Shown once the printout has taken this long, in milliseconds; updated a few times a second.
constexpr ULONGLONG showAfter = 300;
constexpr ULONGLONG updateEvery = 40;

const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

} // namespace

PrintProgress::PrintProgress(HWND owner, const Text& title, std::size_t pages)
    : owner_(owner), title_(title), pages_(pages), started_(GetTickCount64())
{
}

PrintProgress::~PrintProgress()
{
    if (!window_)
        return;
    // The owner first, so that the focus goes back to it, not to another program.
    if (ownerWasEnabled_)
        EnableWindow(owner_, TRUE);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void PrintProgress::open()
{
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE));
    registerOnce(instance, {windowClass, procedure, 0, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1)});
    const UINT dpi = GetDpiForWindow(owner_);
    const auto scaled = [&](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    RECT frame{0, 0, scaled(360), scaled(110)};
    AdjustWindowRectExForDpi(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME, dpi);
    RECT over{};
    GetWindowRect(owner_, &over);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, windowClass, wide(title_),
                              WS_POPUP | WS_CAPTION | WS_SYSMENU, (over.left + over.right - width) / 2,
                              (over.top + over.bottom - height) / 2, width, height, owner_, nullptr, instance, this);
    if (!window_)
        return;
    font_ = messageFont(9, dpi);
    const auto child = [&](const wchar_t* kind, const Text& text, DWORD style, int id, RECT r) {
        HWND made =
            CreateWindowExW(0, kind, wide(text), WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right, r.bottom,
                            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return made;
    };
    label_ = child(L"STATIC", pageProgress(1, pages_), SS_LEFT | SS_NOPREFIX, -1,
                   {scaled(12), scaled(10), scaled(336), scaled(20)});
    bar_ = child(PROGRESS_CLASSW, {}, 0, -1, {scaled(12), scaled(36), scaled(336), scaled(18)});
    SendMessageW(bar_, PBM_SETRANGE32, 0, static_cast<LPARAM>(pages_));
    HWND cancel = child(L"BUTTON", Text(cancelCaption), BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL,
                        {scaled(256), scaled(70), scaled(92), scaled(28)});
    // The plan window waits, as for any dialog of its own.
    ownerWasEnabled_ = EnableWindow(owner_, FALSE) == 0;
    ShowWindow(window_, SW_SHOW);
    SetFocus(cancel);
}

bool PrintProgress::next(std::size_t page)
{
    const ULONGLONG now = GetTickCount64();
    if (!window_ && now - started_ >= showAfter && page <= pages_)
        open();
    if (window_ && now - shown_ >= updateEvery) {
        SetWindowTextW(label_, wide(pageProgress(page, pages_)));
        SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(page - 1), 0);
        shown_ = now;
    }
    pump();
    return !cancelled_;
}

// What is waiting for the windows: painting, and for the progress window the user's keys and clicks.
void PrintProgress::pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            cancelled_ = true;
            return;
        }
        if (window_ && (message.hwnd == window_ || IsChild(window_, message.hwnd)) &&
            IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK PrintProgress::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<PrintProgress*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE)) {
        self->cancelled_ = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace ratalia
