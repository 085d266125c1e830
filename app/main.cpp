#include "window/desktop_link_opener.h"
#include "window/form_events.h"
#include "window/form_window.h"
#include "window/qt_message_box.h"
#include "window/regional_settings.h"
#include "window/window_icon.h"

#include <QApplication>

#include <cstdio>

namespace {

// Without a display the platform plugin would abort the process; say why instead.
bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable()) {
        std::fputs("ratalia: nessuno schermo disponibile (DISPLAY non impostato): impossibile aprire la finestra.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ratalia"));
    QApplication::setWindowIcon(ratalia::umbrellaIcon());

    ratalia::QtMessageBox messageBox;
    ratalia::DesktopLinkOpener linkOpener;
    ratalia::FormEvents events(ratalia::NumberText(ratalia::regionalDecimalSeparator()), messageBox, linkOpener);
    ratalia::FormWindow window(events);
    messageBox.setParent(&window);
    window.show();
    return QApplication::exec();
}
