#pragma once

#include "plan/print_layout.h"
#include "window/drawing_painter.h"

#include <memory>

class QPagedPaintDevice;
class QPainter;

namespace ratalia {

// The plan, or the offers' comparison, on a printer or in a PDF, one page
// at a time so that a long printout can show its progress: the pages are
// the core's (PrintLayout, ComparisonPrintLayout), measured in the
// printout's fonts on the device and painted here.
class PlanPrintout {
public:
    PlanPrintout(const QPagedPaintDevice& device, const PlanReport& report);
    PlanPrintout(const QPagedPaintDevice& device, const OfferComparison& comparison, const AmountText& amounts);
    // The layout measures through measure_: the printout stays where it was made.
    PlanPrintout(const PlanPrintout&) = delete;
    PlanPrintout& operator=(const PlanPrintout&) = delete;

    std::size_t pageCount() const { return layout_->pageCount(); }
    // Paints one page, counted from 0, with a painter active on the device.
    void paintPage(QPainter& painter, std::size_t page) const;

private:
    QtTextMeasure measure_;
    std::unique_ptr<PrintedPages> layout_;
};

} // namespace ratalia
