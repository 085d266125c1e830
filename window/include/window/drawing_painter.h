#pragma once

// The core's drawings on a QPainter: the printout's pages and the chart are
// laid out by the core as lists of things to draw; this paints such a list,
// and measures texts for the layout, in one set of fonts.

#include "plan/drawing.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>

#include <array>

class QPaintDevice;
class QPainter;

namespace ratalia {

// The fonts a drawing's styles stand for, and how wide a text is in them.
class QtTextMeasure : public TextMeasure {
public:
    // On screen: the widget's font for the body, bold and larger as the printout's are.
    explicit QtTextMeasure(const QFont& body, const QPaintDevice* device = nullptr);
    // On paper: the printout's family at the printout's sizes.
    static QtTextMeasure forPaper(const QPaintDevice& device);

    const QFont& font(TextStyle style) const { return fonts_[static_cast<std::size_t>(style)]; }
    double width(TextView text, TextStyle style) const override;
    double lineHeight(TextStyle style) const override;
    int lines(TextView text, TextStyle style, double width) const override;

private:
    QtTextMeasure() = default;
    void measureOn(const QPaintDevice* device);

    std::array<QFont, 5> fonts_;
    std::vector<QFontMetricsF> metrics_;
};

// The colours of the front end's inks: the text's and the grid's.
struct Inks {
    QColor text = Qt::black;
    QColor grid = Qt::gray;
};

void paintDrawing(QPainter& painter, const Drawing& drawing, const QtTextMeasure& fonts, const Inks& inks);

} // namespace ratalia
