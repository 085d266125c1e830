#include "core/form_events.h"
#include "core/plan_command.h"
#include "window/desktop_link_opener.h"
#include "window/form_window.h"
#include "window/qt_message_box.h"
#include "window/regional_settings.h"
#include "window/window_icon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool displayNamed()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Qt ends the process with abort() on a fatal error, most often when no
// window system can be reached (a display that is named but not there): say
// what happened and exit instead.
void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        const bool noWindowSystem = message.contains(QLatin1String("platform plugin"));
        std::fprintf(stderr, "ratalia: %s\n%s\n",
                     noWindowSystem ? "impossibile aprire la finestra."
                                    : "errore irreparabile, il programma si chiude.",
                     qPrintable(message));
        std::_Exit(2);
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char* argv[])
{
    const ratalia::NumberText numbers(ratalia::regionalDecimalSeparator(), ratalia::regionalGroupSeparator());
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (ratalia::isCommandLine(arguments))
        return ratalia::runCommandLine(arguments, numbers, std::cout, std::cerr);

    if (!displayNamed()) {
        std::fputs("ratalia: nessuno schermo disponibile (DISPLAY non impostato): impossibile aprire la finestra.\n",
                   stderr);
        return 1;
    }
    qInstallMessageHandler(handleMessage);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ratalia"));
    QApplication::setDesktopFileName(QStringLiteral(RATALIA_APP_ID));
    QApplication::setWindowIcon(ratalia::applicationIcon());
    // The program speaks Italian whatever the region, and so should Qt's own
    // dialogs and menus, where their translation is installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    ratalia::QtMessageBox messageBox;
    ratalia::DesktopLinkOpener linkOpener;
    ratalia::FormEvents events(numbers, messageBox, linkOpener);
    ratalia::FormWindow window(events);
    messageBox.setParent(&window);
    window.show();
    return QApplication::exec();
}
