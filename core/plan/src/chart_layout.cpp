#include "plan/chart_layout.h"

#include <algorithm>
#include <cmath>

namespace ratalia {
namespace {

double widest(const TextMeasure& measure, const std::vector<ChartTick>& ticks)
{
    double width = 0;
    for (const ChartTick& tick : ticks)
        width = std::max(width, measure.width(tick.label, TextStyle::Body));
    return width;
}

} // namespace

ChartLayout::ChartLayout(const AmountText& amounts) : amounts_(amounts) {}

void ChartLayout::show(const AmortizationPlan* plan)
{
    plan_ = plan;
    chart_.reset();
    columns_ = 0;
    // The words do not depend on the width; one bar is the cheapest way to them.
    description_ = plan ? planChart(*plan, amounts_, 1).description : Text();
}

Drawing ChartLayout::draw(double width, double height, double pixelRatio, const TextMeasure& measure) const
{
    Drawing items;
    if (!plan_)
        return items;
    if (!chart_)
        chart_ = planChart(*plan_, amounts_, 1);
    const double line = measure.lineHeight(TextStyle::Body);
    const ChartArea area = chartArea(*chart_, width, height, widest(measure, chart_->amountTicks),
                                     widest(measure, chart_->debtTicks), line);
    const auto columns = static_cast<std::size_t>(std::max(1.0, std::floor((area.right - area.left) * pixelRatio)));
    if (columns != columns_ || chart_->bars.size() <= 1) {
        chart_ = planChart(*plan_, amounts_, columns);
        columns_ = columns;
    }
    const PlanChart& chart = *chart_;
    const double stroke = std::max(2.0, line / 8);

    // The amounts' lines across the plot, their labels on the left; the debt's on the right.
    for (const ChartTick& tick : chart.amountTicks) {
        const double y = area.amountY(tick.value);
        items.emplace_back(DrawnLine{area.left, y, area.right, y, Ink::Grid, 0});
        items.emplace_back(
            DrawnText{0, y - line / 2, area.left - line / 2, line, tick.label, TextStyle::Body, Align::Right, false});
    }
    for (const ChartTick& tick : chart.debtTicks) {
        const double y = area.debtY(tick.value);
        items.emplace_back(DrawnText{area.right + line / 2, y - line / 2, width - area.right, line, tick.label,
                                     TextStyle::Body, Align::Left, false});
    }

    // The bars: interest at the foot, principal on it, a gap between them where there is room for one.
    for (const ChartBar& bar : chart.bars) {
        const double left = area.x(static_cast<double>(bar.first - 1));
        const double barWidth = std::max(area.x(static_cast<double>(bar.last)) - left, 1.0 / pixelRatio);
        const double inset = barWidth > 6 ? barWidth * 0.15 : 0;
        const double base = area.amountY(0), middle = area.amountY(bar.interest),
                     top = area.amountY(bar.interest + bar.principal);
        items.emplace_back(DrawnRect{left + inset, middle, barWidth - 2 * inset, base - middle, Ink::Interest});
        items.emplace_back(DrawnRect{left + inset, top, barWidth - 2 * inset, middle - top, Ink::Principal});
    }

    // The debt, over the bars.
    DrawnPolyline debt{{}, Ink::Text, stroke};
    for (const auto& [installment, euros] : chart.debt)
        debt.points.emplace_back(area.x(installment), area.debtY(euros));
    items.emplace_back(std::move(debt));

    // The axes, and the time's ticks under the bars they stand for.
    items.emplace_back(DrawnLine{area.left, area.bottom, area.right, area.bottom, Ink::Text, 0});
    items.emplace_back(DrawnLine{area.left, area.top, area.left, area.bottom, Ink::Text, 0});
    items.emplace_back(DrawnLine{area.right, area.top, area.right, area.bottom, Ink::Text, 0});
    for (const ChartTick& tick : chart.timeTicks) {
        const double x = area.x(tick.value - 0.5);
        items.emplace_back(DrawnLine{x, area.bottom, x, area.bottom + line / 4, Ink::Text, 0});
        items.emplace_back(DrawnText{x - 4 * line, area.bottom + line / 4, 8 * line, line, tick.label, TextStyle::Body,
                                     Align::Centre, false});
    }

    // Titles: the amounts' over their axis, the debt's over its own, the time's under the plot.
    items.emplace_back(
        DrawnText{line / 2, line, width - line, line, chart.amountTitle, TextStyle::Body, Align::Left, false});
    items.emplace_back(
        DrawnText{0, line, width - line / 2, line, chart.debtTitle, TextStyle::Body, Align::Right, false});
    items.emplace_back(
        DrawnText{0, height - 1.2 * line, width, line, chart.timeTitle, TextStyle::Body, Align::Centre, false});

    // The legend, centred on the first line.
    const double swatch = line * 0.7, spacing = line;
    const auto entryWidth = [&](const Text& name) { return swatch + line / 3 + measure.width(name, TextStyle::Body); };
    double x = (width - entryWidth(chart.interestName) - entryWidth(chart.principalName) - entryWidth(chart.debtName) -
                2 * spacing) /
               2;
    const auto entry = [&](const Text& name, std::optional<Ink> fill) {
        if (fill)
            items.emplace_back(DrawnRect{x, (line - swatch) / 2, swatch, swatch, *fill});
        else
            items.emplace_back(DrawnLine{x, line / 2, x + swatch, line / 2, Ink::Text, stroke});
        items.emplace_back(
            DrawnText{x + swatch + line / 3, 0, entryWidth(name), line, name, TextStyle::Body, Align::Left, false});
        x += entryWidth(name) + spacing;
    };
    entry(chart.interestName, Ink::Interest);
    entry(chart.principalName, Ink::Principal);
    entry(chart.debtName, std::nullopt);
    return items;
}

} // namespace ratalia
