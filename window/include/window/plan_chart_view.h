#pragma once

#include "plan/plan_chart.h"

#include <QWidget>

#include <optional>

namespace ratalia {

// The plan's chart: each installment's interest and principal as stacked
// bars, the debt still owed as a line, the axes with their ticks and a
// legend. What is drawn is the core's PlanChart; this only maps it to the
// widget's pixels with QPainter, as the Windows window does with GDI, so
// no chart library is needed for one kind of chart. Its accessible
// description is the chart in words.
class PlanChartView : public QWidget {
    Q_OBJECT
public:
    PlanChartView(AmountText amounts, QWidget* parent = nullptr);

    // Draws this plan, or nothing; the plan must outlive the view's use of it.
    void show(const AmortizationPlan* plan);
    // Draws the chart at `size` on any painter (the widget, an image).
    void paint(QPainter& painter, QSize size) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The chart laid out for a size: bars as many as the plot's device pixels.
    const PlanChart& chartFor(QSize size, const QFontMetricsF& metrics, ChartArea& area) const;

    AmountText amounts_;
    const AmortizationPlan* plan_ = nullptr;
    mutable std::optional<PlanChart> chart_;
    mutable std::size_t columns_ = 0;
};

} // namespace ratalia
