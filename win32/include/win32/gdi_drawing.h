#pragma once

// The core's drawings on a GDI device context: the printout's pages and the
// chart are laid out by the core as lists of things to draw; this paints
// such a list, and measures texts for the layout, in one set of fonts.

#include "plan/drawing.h"
#include "win32/gdi.h"

#include <windows.h>

#include <array>

namespace ratalia {

// The fonts a drawing's styles stand for on a device, and how wide a text is in them.
class GdiTextMeasure : public TextMeasure {
public:
    // `bodyPoints` for the body; the other styles as much larger or smaller
    // as the printout's are; `dpi` the device's dots per inch.
    GdiTextMeasure(HDC dc, const wchar_t* face, double bodyPoints, UINT dpi);

    HFONT font(TextStyle style) const { return fonts_[static_cast<std::size_t>(style)].get(); }
    double width(TextView text, TextStyle style) const override;
    double lineHeight(TextStyle style) const override;
    int lines(TextView text, TextStyle style, double width) const override;

private:
    HDC dc_;
    std::array<Font, 5> fonts_;
    std::array<int, 5> heights_{};
};

// The colours of the front end's inks: the text's and the grid's.
struct GdiInks {
    COLORREF text = RGB(0, 0, 0);
    COLORREF grid = RGB(128, 128, 128);
};

// Paints the drawing with its origin at `origin` of the device context.
void paintDrawing(HDC dc, const Drawing& drawing, const GdiTextMeasure& fonts, const GdiInks& inks,
                  POINT origin = {0, 0});

} // namespace ratalia
