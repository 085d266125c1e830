#pragma once

// The plan's chart in a window of its own, painted with GDI from what the
// core's ChartLayout lays out, as the Linux window paints it with QPainter.
// A screen reader meets it as a chart whose description is the chart in words.

#include "plan/chart_layout.h"
#include "plan/offer_comparison.h"

#include <optional>

#include <windows.h>

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
    // Draws the offers' debts instead, from now on.
    void show(const OfferComparison& comparison);
    // The body's size in points, at the window's dots per inch.
    void setFont(double points, UINT dpi);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, const RECT& client) const;

    HWND window_ = nullptr;
    ChartLayout layout_;
    AmountText amounts_;
    std::optional<OfferComparison> comparison_;
    Text description_;
    Text name_;
    double points_ = 9;
    UINT dpi_ = 96;
};

} // namespace ratalia
