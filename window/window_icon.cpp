#include "window/window_icon.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

namespace ratalia {

QIcon umbrellaIcon()
{
    QIcon icon;
    for (const int size : {16, 32}) {
        // Raw pixels: no image reader, and none of the plugin look-up one costs at start-up.
        QFile file(QStringLiteral(":/icons/ratalia-%1.argb").arg(size));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray pixels = file.readAll();
        if (pixels.size() != size * size * 4)
            continue;
        const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), size, size,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace ratalia
