#include "window/desktop_link_opener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace ratalia {

void DesktopLinkOpener::open(const std::string& target)
{
    // Nothing to tell the user when no program takes the link: the click just does nothing.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));
}

} // namespace ratalia
