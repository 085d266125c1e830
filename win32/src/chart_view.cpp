#include "win32/chart_view.h"

#include "win32/accessible.h"
#include "win32/gdi.h"
#include "win32/gdi_drawing.h"
#include "window_class.h"

namespace ratalia {
namespace {

constexpr wchar_t windowClass[] = L"RataliaPlanChart";

} // namespace

ChartView::ChartView(HWND parent, int id, const AmountText& amounts, const Text& accessibleName)
    : layout_(amounts), amounts_(amounts), name_(accessibleName)
{
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    registerOnce(instance, {windowClass, procedure, CS_HREDRAW | CS_VREDRAW});
    window_ = CreateWindowExW(0, windowClass, reinterpret_cast<const wchar_t*>(accessibleName.c_str()),
                              WS_CHILD | WS_TABSTOP | WS_GROUP, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

ChartView::~ChartView()
{
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void ChartView::show(const AmortizationPlan* plan)
{
    layout_.show(plan);
    InvalidateRect(window_, nullptr, FALSE);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
}

void ChartView::show(const OfferComparison& comparison)
{
    comparison_ = comparison;
    description_ = comparisonChartDescription(comparison, amounts_);
    InvalidateRect(window_, nullptr, FALSE);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
}

void ChartView::setFont(double points, UINT dpi)
{
    points_ = points;
    dpi_ = dpi;
    InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK ChartView::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    const auto* self = reinterpret_cast<const ChartView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paintStruct;
        HDC dc = BeginPaint(window, &paintStruct);
        RECT client{};
        GetClientRect(window, &client);
        // Drawn off screen and put up at once: no flicker while resizing.
        HDC buffer = CreateCompatibleDC(dc);
        const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        {
            const Selection selected(buffer, bitmap.get());
            if (self)
                self->paint(buffer, client);
            if (GetFocus() == window)
                DrawFocusRect(buffer, &client);
            BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        }
        DeleteDC(buffer);
        EndPaint(window, &paintStruct);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        return 0;
    case WM_GETOBJECT:
        if (self && static_cast<LONG>(lParam) == OBJID_CLIENT)
            return answerAccessibleObject(
                window, wParam, lParam,
                {self->name_, self->comparison_ ? self->description_ : self->layout_.description(), ROLE_SYSTEM_CHART});
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void ChartView::paint(HDC dc, const RECT& client) const
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const GdiTextMeasure measure(dc, messageFace().c_str(), points_, dpi_);
    const GdiInks inks{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_3DLIGHT)};
    paintDrawing(dc,
                 comparison_ ? comparisonChart(*comparison_, amounts_, client.right, client.bottom, measure)
                             : layout_.draw(client.right, client.bottom, 1, measure),
                 measure, inks);
}

} // namespace ratalia
