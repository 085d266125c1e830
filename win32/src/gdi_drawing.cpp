#include "win32/gdi_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ratalia {
namespace {

const wchar_t* wide(TextView text) { return reinterpret_cast<const wchar_t*>(text.data()); }

int rounded(double value) { return static_cast<int>(std::lround(value)); }

COLORREF colourOf(Ink ink, const GdiInks& inks)
{
    if (ink == Ink::Text)
        return inks.text;
    if (ink == Ink::Grid)
        return inks.grid;
    const Colour c = seriesColour(ink);
    return RGB(c.red, c.green, c.blue);
}

UINT formatOf(const DrawnText& text)
{
    UINT format = DT_NOPREFIX | (text.wraps ? DT_WORDBREAK | DT_TOP : DT_SINGLELINE | DT_VCENTER);
    switch (text.align) {
    case Align::Left:
        return format | DT_LEFT;
    case Align::Centre:
        return format | DT_CENTER;
    case Align::Right:
        return format | DT_RIGHT;
    }
    return format;
}

bool bold(TextStyle style)
{
    return style == TextStyle::Bold || style == TextStyle::Title || style == TextStyle::SmallBold;
}

} // namespace

GdiTextMeasure::GdiTextMeasure(HDC dc, const wchar_t* face, double bodyPoints, UINT dpi) : dc_(dc)
{
    for (const TextStyle style :
         {TextStyle::Body, TextStyle::Bold, TextStyle::Title, TextStyle::Small, TextStyle::SmallBold}) {
        const double points = bodyPoints * pointsOf(style) / pointsOf(TextStyle::Body);
        const auto k = static_cast<std::size_t>(style);
        fonts_[k] = Font(CreateFontW(-rounded(points * dpi / 72.0), 0, 0, 0, bold(style) ? FW_BOLD : FW_NORMAL, FALSE,
                                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH, face));
        const Selection selected(dc_, fonts_[k].get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        heights_[k] = metrics.tmHeight;
    }
}

double GdiTextMeasure::width(TextView text, TextStyle style) const
{
    const Selection selected(dc_, font(style));
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide(text), static_cast<int>(text.size()), &size);
    return size.cx;
}

double GdiTextMeasure::lineHeight(TextStyle style) const { return heights_[static_cast<std::size_t>(style)]; }

int GdiTextMeasure::lines(TextView text, TextStyle style, double width) const
{
    const Selection selected(dc_, font(style));
    RECT box{0, 0, std::max(1, static_cast<int>(width)), 0};
    DrawTextW(dc_, wide(text), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const int height = heights_[static_cast<std::size_t>(style)];
    return std::max(1, static_cast<int>((box.bottom - box.top + height - 1) / std::max(1, height)));
}

void paintDrawing(HDC dc, const Drawing& drawing, const GdiTextMeasure& fonts, const GdiInks& inks, POINT origin)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, inks.text);
    const auto x = [&](double value) { return origin.x + rounded(value); };
    const auto y = [&](double value) { return origin.y + rounded(value); };
    for (const DrawnItem& item : drawing) {
        if (const auto* text = std::get_if<DrawnText>(&item)) {
            const Selection font(dc, fonts.font(text->style));
            RECT box{x(text->left), y(text->top), x(text->left + text->width), y(text->top + text->height)};
            DrawTextW(dc, wide(text->text), static_cast<int>(text->text.size()), &box, formatOf(*text));
        } else if (const auto* line = std::get_if<DrawnLine>(&item)) {
            const Pen pen(CreatePen(PS_SOLID, rounded(line->width), colourOf(line->ink, inks)));
            const Selection selected(dc, pen.get());
            MoveToEx(dc, x(line->x1), y(line->y1), nullptr);
            LineTo(dc, x(line->x2), y(line->y2));
        } else if (const auto* rect = std::get_if<DrawnRect>(&item)) {
            const Brush brush(CreateSolidBrush(colourOf(rect->ink, inks)));
            // At least a pixel wide: a thin bar of a long plan is still there.
            const LONG left = x(rect->left), top = y(rect->top);
            const RECT box{left, top, std::max<LONG>(left + 1, x(rect->left + rect->width)),
                           std::max<LONG>(top, y(rect->top + rect->height))};
            FillRect(dc, &box, brush.get());
        } else if (const auto* polyline = std::get_if<DrawnPolyline>(&item)) {
            std::vector<POINT> points;
            points.reserve(polyline->points.size());
            for (const auto& [px, py] : polyline->points)
                points.push_back({x(px), y(py)});
            const Pen pen(CreatePen(PS_SOLID, rounded(polyline->width), colourOf(polyline->ink, inks)));
            const Selection selected(dc, pen.get());
            Polyline(dc, points.data(), static_cast<int>(points.size()));
        }
    }
}

} // namespace ratalia
