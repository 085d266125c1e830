#pragma once

// The plan's chart in a window of its own, drawn with GDI from the core's
// PlanChart and ChartArea, as the Linux window draws it with QPainter: the
// installments' interest and principal as stacked bars, the debt as a line,
// the axes with their ticks, a legend. A screen reader meets it as a chart
// whose description is the chart in words.

#include "plan/plan_chart.h"
#include "win32/gdi.h"

#include <windows.h>

#include <optional>

namespace ratalia {

class ChartView {
public:
    // Made hidden, as a child of `parent` with the control id `id`.
    ChartView(HWND parent, int id, const AmountText& amounts, const Text& accessibleName);
    ~ChartView();
    ChartView(const ChartView&) = delete;
    ChartView& operator=(const ChartView&) = delete;

    HWND handle() const { return window_; }
    // Draws this plan, or nothing; the plan must outlive the view's use of it.
    void show(const AmortizationPlan* plan);
    void setFont(HFONT font) { font_ = font; }
    // What a screen reader reads: the chart's name, and the chart in words.
    const Text& accessibleName() const { return name_; }
    const Text& description() const { return description_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, const RECT& client);
    const PlanChart& chartFor(const RECT& client, HDC dc, ChartArea& area);

    HWND window_ = nullptr;
    AmountText amounts_;
    Text name_;
    Text description_;
    HFONT font_ = nullptr;
    const AmortizationPlan* plan_ = nullptr;
    std::optional<PlanChart> chart_;
    std::size_t columns_ = 0;
};

} // namespace ratalia
