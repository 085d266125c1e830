#include "window/comparison_chart_view.h"

#include "window/drawing_painter.h"
#include "window/qt_text.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace ratalia {

ComparisonChartView::ComparisonChartView(const AmountText& amounts, QWidget* parent)
    : QWidget(parent), amounts_(amounts)
{
    // Tab reaches the chart, and with it a screen reader its description.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ComparisonChartView::show(const OfferComparison& comparison)
{
    comparison_ = comparison;
    setAccessibleDescription(qtText(comparisonChartDescription(comparison_, amounts_)));
    update();
}

QSize ComparisonChartView::sizeHint() const
{
    const int line = fontMetrics().height();
    return {40 * line, 14 * line};
}

QSize ComparisonChartView::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {20 * line, 8 * line};
}

void ComparisonChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QtTextMeasure measure(font(), painter.device());
    Inks inks{palette().color(QPalette::Text), palette().color(QPalette::Mid)};
    paintDrawing(painter, comparisonChart(comparison_, amounts_, width(), height(), measure), measure, inks);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace ratalia
