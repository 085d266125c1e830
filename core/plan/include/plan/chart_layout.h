#pragma once

// The plan's chart laid out for a view: the core's PlanChart mapped to the
// view's units and written out as things to draw, the same for the Linux
// window and the Windows one. It keeps the bars it last worked out, one per
// device pixel column of the plot, until the plan or the width changes.

#include "plan/drawing.h"
#include "plan/plan_chart.h"

#include <optional>

namespace ratalia {

class ChartLayout {
public:
    explicit ChartLayout(const AmountText& amounts);

    // Draws this plan, or nothing; the plan must outlive the layout's use of it.
    void show(const AmortizationPlan* plan);
    // The chart in words, for a screen reader; empty without a plan.
    const Text& description() const { return description_; }

    // What to draw in a view `width` × `height` (in the units the painter
    // uses, `pixelRatio` device pixels each), on the view's background:
    // the legend on the first line, the axis titles on the second, the
    // amounts' ticks on the left, the debt's on the right, the time's under
    // the plot, the bars (interest at the foot, principal on it), the debt's
    // line over them, and the axes.
    Drawing draw(double width, double height, double pixelRatio, const TextMeasure& measure) const;

private:
    AmountText amounts_;
    const AmortizationPlan* plan_ = nullptr;
    Text description_;
    mutable std::optional<PlanChart> chart_;
    mutable std::size_t columns_ = 0;
};

} // namespace ratalia
