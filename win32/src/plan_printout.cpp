#include "win32/plan_printout.h"

#include <algorithm>

namespace ratalia {
namespace {

// The A4 page's margins the Linux printout leaves, in millimetres.
constexpr int marginX = 18;
constexpr int marginY = 15;

int dotsFor(int millimetres, int dotsPerInch) { return MulDiv(millimetres * 10, dotsPerInch, 254); }

} // namespace

GdiPrintout::Area GdiPrintout::printableArea(HDC printer)
{
    // The device's origin is the paper's hardware offset; the margins are the paper's.
    const int left =
        std::max(0, dotsFor(marginX, GetDeviceCaps(printer, LOGPIXELSX)) - GetDeviceCaps(printer, PHYSICALOFFSETX));
    const int top =
        std::max(0, dotsFor(marginY, GetDeviceCaps(printer, LOGPIXELSY)) - GetDeviceCaps(printer, PHYSICALOFFSETY));
    return {left, top, std::max(1, GetDeviceCaps(printer, HORZRES) - 2 * left),
            std::max(1, GetDeviceCaps(printer, VERTRES) - 2 * top)};
}

GdiPrintout::GdiPrintout(HDC printer, const PlanReport& report)
    : dc_(printer), area_(printableArea(printer)),
      measure_(printer, L"Arial", pointsOf(TextStyle::Body), static_cast<UINT>(GetDeviceCaps(printer, LOGPIXELSY))),
      layout_(std::make_unique<PrintLayout>(report, area_.width, area_.height,
                                            GetDeviceCaps(printer, LOGPIXELSY) / 72.0, measure_))
{
}

GdiPrintout::GdiPrintout(HDC printer, const OfferComparison& comparison, const AmountText& amounts)
    : dc_(printer), area_(printableArea(printer)),
      measure_(printer, L"Arial", pointsOf(TextStyle::Body), static_cast<UINT>(GetDeviceCaps(printer, LOGPIXELSY))),
      layout_(std::make_unique<ComparisonPrintLayout>(comparison, amounts, area_.width, area_.height,
                                                      GetDeviceCaps(printer, LOGPIXELSY) / 72.0, measure_))
{
}

void GdiPrintout::paintPage(std::size_t page) const
{
    paintDrawing(dc_, layout_->page(page), measure_, GdiInks{RGB(0, 0, 0), RGB(128, 128, 128)},
                 {area_.left, area_.top});
}

} // namespace ratalia
