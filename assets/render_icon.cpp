// Renders the program's scalable icon as a square bitmap:
//   render_icon SVG SIZE OUT.png   a PNG, for the desktop's icon theme;
//   render_icon SVG SIZE OUT.argb  raw premultiplied ARGB32 pixels, which the
//                                  window takes as they are, without starting
//                                  any image reader.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fputs("usage: render_icon SVG SIZE OUT.png|OUT.argb\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
    const int size = QByteArray(argv[2]).toInt();
    if (!picture.isValid() || size <= 0)
        return 1;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.render(&painter);
    painter.end();
    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!out.endsWith(QLatin1String(".argb")))
        return image.save(out) ? 0 : 1;
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    const auto bytes = static_cast<qint64>(image.sizeInBytes());
    return file.write(reinterpret_cast<const char*>(image.constBits()), bytes) == bytes ? 0 : 1;
}
