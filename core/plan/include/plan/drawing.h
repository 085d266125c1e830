#pragma once

// What a front end paints, laid out here: a list of texts, lines, rectangles
// and polylines with their places in the painter's own units (points on
// paper, pixels in a view) and styles by meaning. QPainter and GDI each
// paint such a list in a short loop; neither works out where anything goes.
// The one thing a front end knows that the layout needs, how wide a text is
// in its fonts, it answers through TextMeasure.

#include "numbers/text.h"

#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

namespace ratalia {

// The printout's type sizes in points, and the pitch of its lines.
enum class TextStyle {
    Body,      // 9 points
    Bold,      // 9 points, bold
    Title,     // 14 points, bold
    Small,     // 7,5 points: a table too wide for the body's size
    SmallBold, // its header
};
double pointsOf(TextStyle style);
// The line a text of the style takes, in points: 1,5 times its size.
double linePitch(TextStyle style);

// By meaning: the text's and the grid's colours are the front end's (its
// palette on screen, black and grey on paper); the two series' are the
// program's own, apart for anyone who tells colours apart and apart in grey.
enum class Ink { Text, Grid, Interest, Principal };
struct Colour {
    std::uint8_t red = 0, green = 0, blue = 0;
};
Colour seriesColour(Ink ink); // for Interest and Principal

enum class Align { Left, Centre, Right };

struct DrawnText {
    double left = 0, top = 0, width = 0, height = 0;
    Text text;
    TextStyle style = TextStyle::Body;
    Align align = Align::Left;
    bool wraps = false; // on several lines within the box, else one line centred in its height
};
struct DrawnLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Ink ink = Ink::Text;
    double width = 0; // 0: the thinnest the device draws
};
struct DrawnRect {
    double left = 0, top = 0, width = 0, height = 0;
    Ink ink = Ink::Text;
};
struct DrawnPolyline {
    std::vector<std::pair<double, double>> points;
    Ink ink = Ink::Text;
    double width = 0;
};
using DrawnItem = std::variant<DrawnText, DrawnLine, DrawnRect, DrawnPolyline>;
using Drawing = std::vector<DrawnItem>;

// How wide a text is in the front end's font of a style, in the units it paints in.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual double width(TextView text, TextStyle style) const = 0;
    // The height of one line of the style.
    virtual double lineHeight(TextStyle style) const = 0;
    // How many lines the text takes, wrapped at spaces within `width`.
    virtual int lines(TextView text, TextStyle style, double width) const = 0;
};

} // namespace ratalia
