#pragma once

#include "plan/offer_comparison.h"

#include <QWidget>

namespace ratalia {

// The offers' debts over time, one line an offer, laid out by the core
// (comparisonChart) and painted here as the plan's chart is. Its
// accessible description is the chart in words.
class ComparisonChartView : public QWidget {
    Q_OBJECT
public:
    ComparisonChartView(const AmountText& amounts, QWidget* parent = nullptr);

    void show(const OfferComparison& comparison);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AmountText amounts_;
    OfferComparison comparison_;
};

} // namespace ratalia
