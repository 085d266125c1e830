#pragma once

// What the plan's chart shows, worked out once for every front end: each
// installment split into its interest and its principal, stacked, and the
// debt still owed as a line; the axes' ranges with their ticks in the
// region's form; and the same in words, for a screen reader. A front end
// only maps these values to its pixels and draws them.
//
// 100 000 € over 240 months at 3,5 %: bars of 291,67 of interest on 288,29 of
// principal at first, principal above interest from the 4th installment, the
// debt falling from 100 000 to 0; the amount axis to 600 by 200, the debt's
// to 100 000 by 20 000.

#include "loan/amortization_plan.h"
#include "plan/plan_text.h"

#include <vector>

namespace ratalia {

struct ChartTick {
    double value = 0; // euros on an amount axis, installments on the time axis
    Text label;
};

// Installments first…last, drawn as one bar: the mean of their interest and principal, in euros.
struct ChartBar {
    std::int64_t first = 0, last = 0;
    double interest = 0, principal = 0;
};

struct PlanChart {
    std::vector<ChartBar> bars;
    // The debt after installment `first − 1` of each bar, and at the end.
    std::vector<std::pair<double, double>> debt; // (installment, euros)
    double lastInstallment = 0;
    double amountTop = 0; // the amount axis, from 0
    double debtTop = 0;   // the debt axis, from 0
    std::vector<ChartTick> timeTicks, amountTicks, debtTicks;
    Text timeTitle, amountTitle, debtTitle;
    Text interestName, principalName, debtName;
    // The text alternative: what the chart shows, in numbers.
    Text description;
};

// A step of 1, 2 or 5 × 10^k that cuts `range` into at most `parts`, in
// whole units, worked out in integers so that every platform picks the same.
std::int64_t niceStep(std::int64_t range, std::int64_t parts);
// Ticks from 0 to the first multiple of the step at or above `top`, labelled
// as whole amounts in the region's form; `axisTop` the last, in euros.
std::vector<ChartTick> amountTicks(Cents top, const AmountText& amounts, double& axisTop);

// The chart for a plot `columns` pixels wide: one bar an installment where
// they fit, else one bar for each run of installments that shares a column.
PlanChart planChart(const AmortizationPlan& plan, const AmountText& amounts, std::size_t columns);

// Where the chart's values fall on a view, in its pixels: installment n's
// bar from x(n − 1) to x(n), amounts and the debt from their axis' 0 at
// the bottom to its top.
struct ChartArea {
    double left = 0, top = 0, right = 0, bottom = 0;
    double lastInstallment = 1, amountTop = 1, debtTop = 1;

    double x(double installments) const { return left + (right - left) * installments / lastInstallment; }
    double amountY(double euros) const { return bottom - (bottom - top) * euros / amountTop; }
    double debtY(double euros) const { return bottom - (bottom - top) * euros / debtTop; }
};

// The plot inside a view `width` × `height`: a line of legend and a line
// of axis titles above it, the amounts' labels (`amountLabels` wide) on its
// left, the debt's on its right, the time's labels and title below.
ChartArea chartArea(const PlanChart& chart, double width, double height, double amountLabels, double debtLabels,
                    double line);

} // namespace ratalia
