#include "win32/chart_view.h"

#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ratalia {
namespace {

constexpr wchar_t windowClass[] = L"RataliaPlanChart";
// The Linux chart's colours: apart for anyone who tells colours apart, and apart in grey too.
constexpr COLORREF interestColour = RGB(0xd9, 0x6c, 0x1e);
constexpr COLORREF principalColour = RGB(0x3b, 0x7d, 0xc9);

const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

BSTR bstr(const Text& text) { return SysAllocStringLen(wide(text), static_cast<UINT>(text.size())); }

// The chart as a screen reader meets it: Windows' own object for the window
// in all but its role, its name and its description.
class ChartAccessible final : public IAccessible {
public:
    ChartAccessible(IAccessible* standard, const ChartView& view) : standard_(standard), view_(view) {}
    ChartAccessible(const ChartAccessible&) = delete;
    ChartAccessible& operator=(const ChartAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) || IsEqualIID(id, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            standard_->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override
    {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* wrong) override
    {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!self(child))
            return standard_->get_accName(child, name);
        *name = bstr(view_.accessibleName());
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        if (!self(child))
            return standard_->get_accDescription(child, description);
        *description = bstr(view_.description());
        return *description ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!self(child))
            return standard_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_CHART;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    static bool self(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

    IAccessible* standard_;
    const ChartView& view_;
    LONG references_ = 1;
};

double widest(HDC dc, const std::vector<ChartTick>& ticks)
{
    double width = 0;
    for (const ChartTick& tick : ticks) {
        SIZE size{};
        GetTextExtentPoint32W(dc, wide(tick.label), static_cast<int>(tick.label.size()), &size);
        width = std::max(width, static_cast<double>(size.cx));
    }
    return width;
}

int rounded(double value) { return static_cast<int>(std::lround(value)); }

} // namespace

ChartView::ChartView(HWND parent, int id, const AmountText& amounts, const Text& accessibleName)
    : amounts_(amounts), name_(accessibleName)
{
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    WNDCLASSEXW known{};
    known.cbSize = sizeof(known);
    if (!GetClassInfoExW(instance, windowClass, &known)) {
        WNDCLASSEXW chart{};
        chart.cbSize = sizeof(chart);
        chart.style = CS_HREDRAW | CS_VREDRAW;
        chart.lpfnWndProc = procedure;
        chart.hInstance = instance;
        chart.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        chart.lpszClassName = windowClass;
        RegisterClassExW(&chart);
    }
    window_ = CreateWindowExW(0, windowClass, wide(accessibleName), WS_CHILD | WS_TABSTOP | WS_GROUP, 0, 0, 0, 0,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
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
    plan_ = plan;
    chart_.reset();
    // The words do not depend on the width; one bar is the cheapest way to them.
    description_ = plan ? planChart(*plan, amounts_, 1).description : Text();
    InvalidateRect(window_, nullptr, FALSE);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
}

LRESULT CALLBACK ChartView::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<ChartView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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
        if (self && static_cast<LONG>(lParam) == OBJID_CLIENT) {
            IAccessible* standard = nullptr;
            if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&standard))))
                break;
            auto* accessible = new ChartAccessible(standard, *self);
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, accessible);
            accessible->Release();
            return result;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const PlanChart& ChartView::chartFor(const RECT& client, HDC dc, ChartArea& area)
{
    if (!chart_)
        chart_ = planChart(*plan_, amounts_, 1);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    area = chartArea(*chart_, client.right, client.bottom, widest(dc, chart_->amountTicks),
                     widest(dc, chart_->debtTicks), metrics.tmHeight);
    const auto columns = static_cast<std::size_t>(std::max(1.0, std::floor(area.right - area.left)));
    if (columns != columns_ || chart_->bars.size() <= 1) {
        chart_ = planChart(*plan_, amounts_, columns);
        columns_ = columns;
    }
    return *chart_;
}

void ChartView::paint(HDC dc, const RECT& client)
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    if (!plan_)
        return;
    const Selection font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    SetTextColor(dc, ink);
    ChartArea area;
    const PlanChart& chart = chartFor(client, dc, area);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int line = metrics.tmHeight;
    const auto text = [&](const Text& shown, RECT box, UINT format) {
        DrawTextW(dc, wide(shown), static_cast<int>(shown.size()), &box, format | DT_SINGLELINE | DT_NOPREFIX);
    };

    // The amounts' lines across the plot, their labels on the left; the debt's labels on the right.
    {
        const Pen grid(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DLIGHT)));
        const Selection pen(dc, grid.get());
        for (const ChartTick& tick : chart.amountTicks) {
            const int y = rounded(area.amountY(tick.value));
            MoveToEx(dc, rounded(area.left), y, nullptr);
            LineTo(dc, rounded(area.right), y);
            text(tick.label, {0, y - line / 2, rounded(area.left) - line / 2, y + line / 2}, DT_RIGHT | DT_VCENTER);
        }
    }
    for (const ChartTick& tick : chart.debtTicks) {
        const int y = rounded(area.debtY(tick.value));
        text(tick.label, {rounded(area.right) + line / 2, y - line / 2, client.right, y + line / 2},
             DT_LEFT | DT_VCENTER);
    }

    // The bars: interest at the foot, principal on it.
    const Brush interest(CreateSolidBrush(interestColour)), principal(CreateSolidBrush(principalColour));
    for (const ChartBar& bar : chart.bars) {
        const double left = area.x(static_cast<double>(bar.first - 1));
        const double width = std::max(area.x(static_cast<double>(bar.last)) - left, 1.0);
        const double inset = width > 6 ? width * 0.15 : 0;
        const int x0 = rounded(left + inset), x1 = std::max(x0 + 1, rounded(left + width - inset));
        const int base = rounded(area.amountY(0)), middle = rounded(area.amountY(bar.interest)),
                  top = rounded(area.amountY(bar.interest + bar.principal));
        const RECT lower{x0, middle, x1, base}, upper{x0, top, x1, middle};
        FillRect(dc, &lower, interest.get());
        FillRect(dc, &upper, principal.get());
    }

    // The debt, over the bars.
    std::vector<POINT> debt;
    debt.reserve(chart.debt.size());
    for (const auto& [installment, euros] : chart.debt)
        debt.push_back({rounded(area.x(installment)), rounded(area.debtY(euros))});
    const int thick = std::max(2, line / 8);
    {
        const Pen pen(CreatePen(PS_SOLID, thick, ink));
        const Selection selected(dc, pen.get());
        Polyline(dc, debt.data(), static_cast<int>(debt.size()));
    }

    // The axes and the time's ticks under the bars they stand for.
    const Pen axisPen(CreatePen(PS_SOLID, 1, ink));
    const Selection axis(dc, axisPen.get());
    const int left = rounded(area.left), right = rounded(area.right), top = rounded(area.top),
              bottom = rounded(area.bottom);
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, left, bottom);
    LineTo(dc, right, bottom);
    LineTo(dc, right, top - 1);
    for (const ChartTick& tick : chart.timeTicks) {
        const int x = rounded(area.x(tick.value - 0.5));
        MoveToEx(dc, x, bottom, nullptr);
        LineTo(dc, x, bottom + line / 4);
        text(tick.label, {x - 4 * line, bottom + line / 4, x + 4 * line, bottom + line / 4 + line}, DT_CENTER | DT_TOP);
    }

    // Titles: the amounts' over their axis, the debt's over its own, the time's under the plot.
    text(chart.amountTitle, {line / 2, line, client.right, 2 * line}, DT_LEFT | DT_VCENTER);
    text(chart.debtTitle, {0, line, client.right - line / 2, 2 * line}, DT_RIGHT | DT_VCENTER);
    text(chart.timeTitle, {0, client.bottom - line * 6 / 5, client.right, client.bottom - line / 5},
         DT_CENTER | DT_VCENTER);

    // The legend, centred on the first line.
    const int swatch = line * 7 / 10;
    const auto width = [&](const Text& name) {
        SIZE size{};
        GetTextExtentPoint32W(dc, wide(name), static_cast<int>(name.size()), &size);
        return swatch + line / 3 + size.cx;
    };
    int x =
        (client.right - width(chart.interestName) - width(chart.principalName) - width(chart.debtName) - 2 * line) / 2;
    const auto entry = [&](const Text& name, HBRUSH fill) {
        const RECT mark{x, (line - swatch) / 2, x + swatch, (line + swatch) / 2};
        if (fill) {
            FillRect(dc, &mark, fill);
        } else {
            const Pen pen(CreatePen(PS_SOLID, thick, ink));
            const Selection selected(dc, pen.get());
            MoveToEx(dc, mark.left, line / 2, nullptr);
            LineTo(dc, mark.right, line / 2);
        }
        text(name, {x + swatch + line / 3, 0, client.right, line}, DT_LEFT | DT_VCENTER);
        x += width(name) + line;
    };
    entry(chart.interestName, interest.get());
    entry(chart.principalName, principal.get());
    entry(chart.debtName, nullptr);
}

} // namespace ratalia
