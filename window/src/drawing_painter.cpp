#include "window/drawing_painter.h"

#include "window/qt_text.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

namespace ratalia {
namespace {

QColor qtColour(Ink ink, const Inks& inks)
{
    if (ink == Ink::Text)
        return inks.text;
    if (ink == Ink::Grid)
        return inks.grid;
    const Colour c = seriesColour(ink);
    return QColor(c.red, c.green, c.blue);
}

Qt::Alignment qtAlign(Align align)
{
    switch (align) {
    case Align::Left:
        return Qt::AlignLeft;
    case Align::Centre:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

} // namespace

QtTextMeasure::QtTextMeasure(const QFont& body, const QPaintDevice* device)
{
    fonts_[static_cast<std::size_t>(TextStyle::Body)] = body;
    QFont bold = body;
    bold.setBold(true);
    fonts_[static_cast<std::size_t>(TextStyle::Bold)] = bold;
    QFont title = bold;
    title.setPointSizeF(body.pointSizeF() * pointsOf(TextStyle::Title) / pointsOf(TextStyle::Body));
    fonts_[static_cast<std::size_t>(TextStyle::Title)] = title;
    QFont small = body;
    small.setPointSizeF(body.pointSizeF() * pointsOf(TextStyle::Small) / pointsOf(TextStyle::Body));
    fonts_[static_cast<std::size_t>(TextStyle::Small)] = small;
    small.setBold(true);
    fonts_[static_cast<std::size_t>(TextStyle::SmallBold)] = small;
    measureOn(device);
}

QtTextMeasure QtTextMeasure::forPaper(const QPaintDevice& device)
{
    QtTextMeasure measure;
    for (const TextStyle style :
         {TextStyle::Body, TextStyle::Bold, TextStyle::Title, TextStyle::Small, TextStyle::SmallBold}) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(pointsOf(style));
        font.setBold(style == TextStyle::Bold || style == TextStyle::Title || style == TextStyle::SmallBold);
        measure.fonts_[static_cast<std::size_t>(style)] = font;
    }
    measure.measureOn(&device);
    return measure;
}

void QtTextMeasure::measureOn(const QPaintDevice* device)
{
    metrics_.clear();
    for (const QFont& font : fonts_)
        metrics_.push_back(device ? QFontMetricsF(font, device) : QFontMetricsF(font));
}

double QtTextMeasure::width(TextView text, TextStyle style) const
{
    return metrics_[static_cast<std::size_t>(style)].horizontalAdvance(qtText(text));
}

double QtTextMeasure::lineHeight(TextStyle style) const { return metrics_[static_cast<std::size_t>(style)].height(); }

int QtTextMeasure::lines(TextView text, TextStyle style, double width) const
{
    const QFontMetricsF& metrics = metrics_[static_cast<std::size_t>(style)];
    const QRectF box = metrics.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, qtText(text));
    return std::max(1, static_cast<int>(std::ceil(box.height() / metrics.height() - 0.01)));
}

void paintDrawing(QPainter& painter, const Drawing& drawing, const QtTextMeasure& fonts, const Inks& inks)
{
    for (const DrawnItem& item : drawing) {
        if (const auto* text = std::get_if<DrawnText>(&item)) {
            painter.setFont(fonts.font(text->style));
            painter.setPen(inks.text);
            const QRectF box(text->left, text->top, text->width, text->height);
            painter.drawText(box,
                             qtAlign(text->align) | (text->wraps ? Qt::AlignTop | Qt::TextWordWrap : Qt::AlignVCenter),
                             qtText(text->text));
        } else if (const auto* line = std::get_if<DrawnLine>(&item)) {
            painter.setPen(QPen(qtColour(line->ink, inks), line->width));
            painter.drawLine(QPointF(line->x1, line->y1), QPointF(line->x2, line->y2));
        } else if (const auto* rect = std::get_if<DrawnRect>(&item)) {
            painter.fillRect(QRectF(rect->left, rect->top, rect->width, rect->height), qtColour(rect->ink, inks));
        } else if (const auto* polyline = std::get_if<DrawnPolyline>(&item)) {
            QPainterPath path;
            for (std::size_t k = 0; k < polyline->points.size(); ++k) {
                const QPointF point(polyline->points[k].first, polyline->points[k].second);
                if (k == 0)
                    path.moveTo(point);
                else
                    path.lineTo(point);
            }
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(qtColour(polyline->ink, inks), polyline->width));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
            painter.restore();
        }
    }
}

} // namespace ratalia
