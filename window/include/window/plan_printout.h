#pragma once

#include "plan/print_layout.h"
#include "window/drawing_painter.h"

class QPagedPaintDevice;
class QPainter;

namespace ratalia {

// The plan on a printer or in a PDF, one page at a time so that a long
// printout can show its progress: the pages are the core's (PrintLayout),
// measured in the printout's fonts on the device and painted here.
class PlanPrintout {
public:
    PlanPrintout(const QPagedPaintDevice& device, const PlanReport& report);

    std::size_t pageCount() const { return layout_.pageCount(); }
    // Paints one page, counted from 0, with a painter active on the device.
    void paintPage(QPainter& painter, std::size_t page) const;

private:
    QtTextMeasure measure_;
    PrintLayout layout_;
};

} // namespace ratalia
