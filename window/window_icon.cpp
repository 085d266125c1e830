#include "window/window_icon.h"

namespace ratalia {

QIcon umbrellaIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/ratalia-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/ratalia-32.png"), QSize(32, 32));
    return icon;
}

} // namespace ratalia
