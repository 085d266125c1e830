#include "window/link_label.h"

#include "window/hand_cursor.h"

#include <QMouseEvent>

namespace ratalia {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
}

// The hand is drawn when the pointer first comes over the link, not while the window starts.
void LinkLabel::enterEvent(QEnterEvent* event)
{
    if (!handShown_) {
        setCursor(handCursor());
        handShown_ = true;
    }
    QLabel::enterEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace ratalia
