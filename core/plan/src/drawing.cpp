#include "plan/drawing.h"

namespace ratalia {

double pointsOf(TextStyle style)
{
    switch (style) {
    case TextStyle::Body:
    case TextStyle::Bold:
        return 9;
    case TextStyle::Title:
        return 14;
    case TextStyle::Small:
    case TextStyle::SmallBold:
        return 7.5;
    }
    return 9;
}

double linePitch(TextStyle style) { return pointsOf(style) * 1.5; }

Colour seriesColour(Ink ink)
{
    if (ink == Ink::Interest)
        return {0xd9, 0x6c, 0x1e};
    if (ink == Ink::Principal)
        return {0x3b, 0x7d, 0xc9};
    return {0, 0, 0};
}

} // namespace ratalia
