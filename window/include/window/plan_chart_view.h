#pragma once

#include "plan/chart_layout.h"

#include <QWidget>

namespace ratalia {

// The plan's chart: each installment's interest and principal as stacked
// bars, the debt still owed as a line, the axes with their ticks and a
// legend, laid out by the core (ChartLayout) and painted here with
// QPainter, as the Windows window paints it with GDI: no chart library for
// one kind of chart. Its accessible description is the chart in words.
class PlanChartView : public QWidget {
    Q_OBJECT
public:
    PlanChartView(const AmountText& amounts, QWidget* parent = nullptr);

    // Draws this plan, or nothing; the plan must outlive the view's use of it.
    void show(const AmortizationPlan* plan);
    // Draws the chart at `size` on any painter (the widget, an image).
    void paint(QPainter& painter, QSize size) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartLayout layout_;
    bool shown_ = false;
};

} // namespace ratalia
