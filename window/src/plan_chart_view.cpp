#include "window/plan_chart_view.h"

#include "window/qt_text.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

namespace ratalia {
namespace {

// Apart for anyone who tells colours apart, and apart in grey too.
const QColor interestColour(0xd9, 0x6c, 0x1e);
const QColor principalColour(0x3b, 0x7d, 0xc9);

double widest(const QFontMetricsF& metrics, const std::vector<ChartTick>& ticks)
{
    double width = 0;
    for (const ChartTick& tick : ticks)
        width = std::max(width, metrics.horizontalAdvance(qtText(tick.label)));
    return width;
}

} // namespace

PlanChartView::PlanChartView(AmountText amounts, QWidget* parent) : QWidget(parent), amounts_(amounts)
{
    // Tab reaches the chart, and with it a screen reader its description.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlanChartView::show(const AmortizationPlan* plan)
{
    plan_ = plan;
    chart_.reset();
    // The words do not depend on the width; one bar is the cheapest way to them.
    setAccessibleDescription(plan ? qtText(planChart(*plan, amounts_, 1).description) : QString());
    update();
}

QSize PlanChartView::sizeHint() const
{
    const int line = fontMetrics().height();
    return {40 * line, 20 * line};
}

QSize PlanChartView::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {20 * line, 8 * line};
}

const PlanChart& PlanChartView::chartFor(QSize size, const QFontMetricsF& metrics, ChartArea& area) const
{
    if (!chart_)
        chart_ = planChart(*plan_, amounts_, 1);
    area = chartArea(*chart_, size.width(), size.height(), widest(metrics, chart_->amountTicks),
                     widest(metrics, chart_->debtTicks), metrics.height());
    const auto columns =
        static_cast<std::size_t>(std::max(1.0, std::floor((area.right - area.left) * devicePixelRatioF())));
    if (columns != columns_ || chart_->bars.size() <= 1) {
        chart_ = planChart(*plan_, amounts_, columns);
        columns_ = columns;
    }
    return *chart_;
}

void PlanChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, size());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void PlanChartView::paint(QPainter& painter, QSize size) const
{
    painter.fillRect(QRect(QPoint(0, 0), size), palette().base());
    if (!plan_)
        return;
    painter.setFont(font());
    const QFontMetricsF metrics(font(), painter.device());
    ChartArea area;
    const PlanChart& chart = chartFor(size, metrics, area);
    const double line = metrics.height();
    const QColor ink = palette().color(QPalette::Text);
    QColor grid = palette().color(QPalette::Mid);
    grid.setAlphaF(0.5);

    // The amounts' lines across the plot, and their labels on the left.
    for (const ChartTick& tick : chart.amountTicks) {
        const double y = area.amountY(tick.value);
        painter.setPen(QPen(grid, 0));
        painter.drawLine(QPointF(area.left, y), QPointF(area.right, y));
        painter.setPen(ink);
        painter.drawText(QRectF(0, y - line / 2, area.left - line / 2, line), Qt::AlignRight | Qt::AlignVCenter,
                         qtText(tick.label));
    }
    for (const ChartTick& tick : chart.debtTicks) {
        const double y = area.debtY(tick.value);
        painter.drawText(QRectF(area.right + line / 2, y - line / 2, size.width() - area.right, line),
                         Qt::AlignLeft | Qt::AlignVCenter, qtText(tick.label));
    }

    // The bars: interest at the foot, principal on it.
    painter.setPen(Qt::NoPen);
    for (const ChartBar& bar : chart.bars) {
        const double left = area.x(static_cast<double>(bar.first - 1));
        const double width = std::max(area.x(static_cast<double>(bar.last)) - left, 1.0 / devicePixelRatioF());
        // A gap between bars where there is room for one.
        const double inset = width > 6 ? width * 0.15 : 0;
        const double base = area.amountY(0), middle = area.amountY(bar.interest),
                     top = area.amountY(bar.interest + bar.principal);
        painter.fillRect(QRectF(left + inset, middle, width - 2 * inset, base - middle), interestColour);
        painter.fillRect(QRectF(left + inset, top, width - 2 * inset, middle - top), principalColour);
    }

    // The debt, over the bars.
    QPainterPath debt;
    for (std::size_t k = 0; k < chart.debt.size(); ++k) {
        const QPointF point(area.x(chart.debt[k].first), area.debtY(chart.debt[k].second));
        if (k == 0)
            debt.moveTo(point);
        else
            debt.lineTo(point);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, std::max(2.0, line / 8)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(debt);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The axes and the time's ticks under the bars they stand for.
    painter.setPen(QPen(ink, 0));
    painter.drawLine(QPointF(area.left, area.bottom), QPointF(area.right, area.bottom));
    painter.drawLine(QPointF(area.left, area.top), QPointF(area.left, area.bottom));
    painter.drawLine(QPointF(area.right, area.top), QPointF(area.right, area.bottom));
    for (const ChartTick& tick : chart.timeTicks) {
        const double x = area.x(tick.value - 0.5);
        painter.drawLine(QPointF(x, area.bottom), QPointF(x, area.bottom + line / 4));
        painter.drawText(QRectF(x - 4 * line, area.bottom + line / 4, 8 * line, line), Qt::AlignHCenter | Qt::AlignTop,
                         qtText(tick.label));
    }

    // Titles: the amounts' over their axis, the debt's over its own, the time's under the plot.
    painter.drawText(QRectF(line / 2, line, size.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     qtText(chart.amountTitle));
    painter.drawText(QRectF(0, line, size.width() - line / 2, line), Qt::AlignRight | Qt::AlignVCenter,
                     qtText(chart.debtTitle));
    painter.drawText(QRectF(0, size.height() - 1.2 * line, size.width(), line), Qt::AlignHCenter | Qt::AlignVCenter,
                     qtText(chart.timeTitle));

    // The legend, centred on the first line.
    const double swatch = line * 0.7, spacing = line;
    const auto entryWidth = [&](const Text& name) {
        return swatch + line / 3 + metrics.horizontalAdvance(qtText(name));
    };
    double x = (size.width() - entryWidth(chart.interestName) - entryWidth(chart.principalName) -
                entryWidth(chart.debtName) - 2 * spacing) /
               2;
    const auto entry = [&](const Text& name, const QColor* fill) {
        const QRectF mark(x, (line - swatch) / 2, swatch, swatch);
        if (fill) {
            painter.fillRect(mark, *fill);
        } else {
            painter.setPen(QPen(ink, std::max(2.0, line / 8)));
            painter.drawLine(QPointF(mark.left(), mark.center().y()), QPointF(mark.right(), mark.center().y()));
            painter.setPen(QPen(ink, 0));
        }
        painter.drawText(QRectF(x + swatch + line / 3, 0, size.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                         qtText(name));
        x += entryWidth(name) + spacing;
    };
    entry(chart.interestName, &interestColour);
    entry(chart.principalName, &principalColour);
    entry(chart.debtName, nullptr);
}

} // namespace ratalia
