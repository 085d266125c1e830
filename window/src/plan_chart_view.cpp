#include "window/plan_chart_view.h"

#include "window/drawing_painter.h"
#include "window/qt_text.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace ratalia {

PlanChartView::PlanChartView(const AmountText& amounts, QWidget* parent) : QWidget(parent), layout_(amounts)
{
    // Tab reaches the chart, and with it a screen reader its description.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlanChartView::show(const AmortizationPlan* plan)
{
    layout_.show(plan);
    shown_ = plan != nullptr;
    setAccessibleDescription(qtText(layout_.description()));
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
    if (!shown_)
        return;
    const QtTextMeasure measure(font(), painter.device());
    Inks inks{palette().color(QPalette::Text), palette().color(QPalette::Mid)};
    inks.grid.setAlphaF(0.5);
    paintDrawing(painter, layout_.draw(size.width(), size.height(), painter.device()->devicePixelRatioF(), measure),
                 measure, inks);
}

} // namespace ratalia
