#include "window/hand_cursor.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ratalia {

QCursor handCursor()
{
    QPixmap image(32, 32);
    image.fill(Qt::transparent);

    // A white hand with a black outline: the index finger raised, the other
    // three folded into the palm, the thumb against its left side.
    QPainterPath hand;
    hand.moveTo(9, 2.5);
    hand.cubicTo(9, 0.5, 13, 0.5, 13, 2.5); // index fingertip
    hand.lineTo(13, 12);
    hand.cubicTo(13, 10, 17, 10, 17, 12); // middle finger knuckle
    hand.cubicTo(17, 10, 21, 10, 21, 13); // ring finger knuckle
    hand.cubicTo(21, 11, 25, 11, 25, 14); // little finger knuckle
    hand.lineTo(25, 21);
    hand.cubicTo(25, 25, 23, 27, 22, 29);
    hand.lineTo(11, 29);
    hand.cubicTo(9, 26, 6, 23, 3.5, 19.5);   // wrist to thumb tip
    hand.cubicTo(2, 17.5, 4.5, 15, 6.5, 17); // thumb
    hand.lineTo(9, 19);
    hand.closeSubpath();

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPath(hand);
    // Creases between the folded fingers.
    painter.drawLine(QPointF(17, 12), QPointF(17, 16));
    painter.drawLine(QPointF(21, 13), QPointF(21, 16));
    painter.end();

    return QCursor(image, 11, 1);
}

} // namespace ratalia
