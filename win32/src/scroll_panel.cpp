#include "win32/scroll_panel.h"

#include "win32/gdi.h"
#include "window_class.h"

#include <algorithm>

namespace ratalia {
namespace {

constexpr wchar_t windowClass[] = L"RataliaScrollPanel";

} // namespace

ScrollPanel::ScrollPanel(HWND parent, Holds holds) : holds_(holds)
{
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    registerOnce(instance, {windowClass, procedure, 0, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1)});
    // Tab walks into a control parent's controls; a panel of texts is a stop itself.
    const DWORD extended = holds == Holds::Inputs ? WS_EX_CONTROLPARENT : 0;
    // Its background never paints over its controls, whatever order the two come in.
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN | (holds == Holds::Texts ? WS_TABSTOP | WS_GROUP : 0);
    window_ = CreateWindowExW(extended, windowClass, L"", style, 0, 0, 0, 0, parent, nullptr, instance, this);
    updateBar();
}

ScrollPanel::~ScrollPanel()
{
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

int ScrollPanel::room() const
{
    RECT client{};
    GetClientRect(window_, &client);
    return client.bottom;
}

int ScrollPanel::line() const { return MulDiv(20, static_cast<int>(GetDpiForWindow(window_)), 96); }

void ScrollPanel::updateBar() const
{
    SCROLLINFO bar{};
    bar.cbSize = sizeof(bar);
    // The bar always keeps its room, greyed while everything fits: nothing moves as it comes and goes.
    bar.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    bar.nMin = 0;
    bar.nMax = std::max(0, content_ - 1);
    bar.nPage = static_cast<UINT>(std::max(0, room()));
    bar.nPos = offset_;
    SetScrollInfo(window_, SB_VERT, &bar, TRUE);
}

void ScrollPanel::setContentHeight(int height)
{
    content_ = std::max(0, height);
    // A panel grown taller than what is left below the offset shows its foot at its foot.
    const int last = std::max(0, content_ - room());
    if (offset_ > last)
        scrollTo(last);
    updateBar();
}

void ScrollPanel::setFrames(std::vector<Frame> frames, HFONT font)
{
    font_ = font;
    bool same = frames.size() == frames_.size();
    for (std::size_t k = 0; same && k < frames.size(); ++k)
        same = EqualRect(&frames[k].place, &frames_[k].place) && frames[k].title == frames_[k].title;
    if (same)
        return;
    frames_ = std::move(frames);
    InvalidateRect(window_, nullptr, TRUE);
}

void ScrollPanel::paint(HDC dc) const
{
    const Selection font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SetBkColor(dc, GetSysColor(COLOR_3DFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    for (const Frame& frame : frames_) {
        RECT edge = frame.place;
        OffsetRect(&edge, 0, -offset_);
        // The frame's top line through the middle of its title, as a group's.
        RECT lines = edge;
        lines.top += metrics.tmHeight / 2;
        DrawEdge(dc, &lines, EDGE_ETCHED, BF_RECT);
        RECT title{edge.left + metrics.tmAveCharWidth, edge.top, edge.right - metrics.tmAveCharWidth,
                   edge.top + metrics.tmHeight};
        DrawTextW(dc, reinterpret_cast<const wchar_t*>(frame.title.c_str()), static_cast<int>(frame.title.size()),
                  &title, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        title.left -= 2;
        title.right += 2;
        ExtTextOutW(dc, title.left + 2, title.top, ETO_OPAQUE, &title,
                    reinterpret_cast<const wchar_t*>(frame.title.c_str()), static_cast<UINT>(frame.title.size()),
                    nullptr);
    }
    // A panel of texts shows that it has the focus, as any stop does.
    if (holds_ == Holds::Texts && GetFocus() == window_) {
        RECT client{};
        GetClientRect(window_, &client);
        DrawFocusRect(dc, &client);
    }
}

void ScrollPanel::scrollTo(int offset)
{
    offset = std::clamp(offset, 0, std::max(0, content_ - room()));
    if (offset == offset_)
        return;
    const int by = offset_ - offset;
    offset_ = offset;
    ScrollWindowEx(window_, 0, by, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    updateBar();
}

void ScrollPanel::reveal(HWND control, int margin)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    const int shown = room();
    if (r.top - margin < 0)
        scrollTo(offset_ + r.top - margin);
    else if (r.bottom + margin > shown)
        scrollTo(offset_ + std::min(r.bottom + margin - shown, r.top - margin));
}

LRESULT CALLBACK ScrollPanel::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<ScrollPanel*>(creation->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ScrollPanel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ScrollPanel::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        // The focus in one of its controls brings it into view.
        const auto notification = HIWORD(wParam);
        if (lParam && (notification == EN_SETFOCUS || notification == CBN_SETFOCUS || notification == BN_SETFOCUS))
            reveal(reinterpret_cast<HWND>(lParam), line());
        return SendMessageW(GetParent(window_), message, wParam, lParam);
    }
    case WM_NOTIFY:
        return SendMessageW(GetParent(window_), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
        // The owner's colours for a text of its own; the panel's background otherwise.
        if (const LRESULT brush = SendMessageW(GetParent(window_), message, wParam, lParam))
            return brush;
        break;
    case WM_SIZE:
        setContentHeight(content_);
        return 0;
    case WM_VSCROLL: {
        SCROLLINFO bar{};
        bar.cbSize = sizeof(bar);
        bar.fMask = SIF_ALL;
        GetScrollInfo(window_, SB_VERT, &bar);
        const int page = std::max(line(), room() - line());
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            scrollTo(offset_ - line());
            break;
        case SB_LINEDOWN:
            scrollTo(offset_ + line());
            break;
        case SB_PAGEUP:
            scrollTo(offset_ - page);
            break;
        case SB_PAGEDOWN:
            scrollTo(offset_ + page);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            scrollTo(bar.nTrackPos);
            break;
        case SB_TOP:
            scrollTo(0);
            break;
        case SB_BOTTOM:
            scrollTo(content_);
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        wheel_ += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = wheel_ / WHEEL_DELTA;
        wheel_ -= notches * WHEEL_DELTA;
        scrollTo(offset_ - notches * static_cast<int>(std::min<UINT>(lines, 10)) * line());
        return 0;
    }
    case WM_GETDLGCODE:
        return holds_ == Holds::Texts ? DLGC_WANTARROWS : 0;
    case WM_KEYDOWN:
        if (holds_ == Holds::Texts) {
            const int page = std::max(line(), room() - line());
            switch (wParam) {
            case VK_UP:
                scrollTo(offset_ - line());
                return 0;
            case VK_DOWN:
                scrollTo(offset_ + line());
                return 0;
            case VK_PRIOR:
                scrollTo(offset_ - page);
                return 0;
            case VK_NEXT:
                scrollTo(offset_ + page);
                return 0;
            case VK_HOME:
                scrollTo(0);
                return 0;
            case VK_END:
                scrollTo(content_);
                return 0;
            default:
                break;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        if (holds_ == Holds::Texts)
            SetFocus(window_);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (holds_ == Holds::Texts)
            InvalidateRect(window_, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT painting;
        HDC dc = BeginPaint(window_, &painting);
        paint(dc);
        EndPaint(window_, &painting);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace ratalia
