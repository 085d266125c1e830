#include "window/window_icon.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

// The pixels come compiled from the assets; asking for them by name keeps the
// linker from leaving them out of a program that links this library.
static void loadIconPixels() { Q_INIT_RESOURCE(images); }

namespace ratalia {

QIcon applicationIcon()
{
    loadIconPixels();
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
