#pragma once

#include "plan/print_layout.h"
#include "win32/gdi_drawing.h"

#include <windows.h>

#include <memory>

namespace ratalia {

// The plan on a printer through GDI: the pages the core lays out
// (PrintLayout), measured in the printout's fonts on the printer and painted
// here, as the Linux printout paints the same pages.
class GdiPrintout {
public:
    GdiPrintout(HDC printer, const PlanReport& report);
    GdiPrintout(HDC printer, const OfferComparison& comparison, const AmountText& amounts);
    // The layout measures through measure_: the printout stays where it was made.
    GdiPrintout(const GdiPrintout&) = delete;
    GdiPrintout& operator=(const GdiPrintout&) = delete;

    std::size_t pageCount() const { return layout_->pageCount(); }
    // Paints one page, counted from 0, between StartPage and EndPage.
    void paintPage(std::size_t page) const;

private:
    struct Area {
        int left, top, width, height;
    };
    static Area printableArea(HDC printer);

    HDC dc_;
    Area area_;
    GdiTextMeasure measure_;
    std::unique_ptr<PrintedPages> layout_;
};

} // namespace ratalia
