#include "window/plan_printout.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace ratalia {

PlanPrintout::PlanPrintout(const QPagedPaintDevice& device, const PlanReport& report)
    : measure_(QtTextMeasure::forPaper(device)),
      layout_(
          std::make_unique<PrintLayout>(report, device.width(), device.height(), device.logicalDpiY() / 72.0, measure_))
{
}

PlanPrintout::PlanPrintout(const QPagedPaintDevice& device, const OfferComparison& comparison,
                           const AmountText& amounts)
    : measure_(QtTextMeasure::forPaper(device)),
      layout_(std::make_unique<ComparisonPrintLayout>(comparison, amounts, device.width(), device.height(),
                                                      device.logicalDpiY() / 72.0, measure_))
{
}

void PlanPrintout::paintPage(QPainter& painter, std::size_t page) const
{
    paintDrawing(painter, layout_->page(page), measure_, Inks{Qt::black, Qt::gray});
}

} // namespace ratalia
