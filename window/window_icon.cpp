#include "window/window_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace ratalia {

QIcon umbrellaIcon()
{
    QSvgRenderer picture(QStringLiteral(":/icons/ratalia.svg"));
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        picture.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace ratalia
