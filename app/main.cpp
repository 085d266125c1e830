#include "cli/command_line.h"
#include "form/form_events.h"
#include "window/desktop_link_opener.h"
#include "window/form_window.h"
#include "window/qt_message_box.h"
#include "window/regional_settings.h"
#include "window/window_icon.h"

#include <QApplication>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Qt's own options, which open the window ("-platform offscreen").
constexpr ratalia::WindowSystemOption qtOptions[] = {
    {"-platform", true},       {"-platformpluginpath", true},
    {"-platformtheme", true},  {"-plugin", true},
    {"-qmljsdebugger", false}, {"-qwindowgeometry", true},
    {"-qwindowicon", true},    {"-qwindowtitle", true},
    {"-reverse", false},       {"-session", true},
    {"-display", true},        {"-geometry", true},
    {"-style", true},          {"-stylesheet", true},
    {"-widgetcount", false},   {"-name", true},
    {"-title", true},          {"-visual", true},
    {"-ncols", true},          {"-cmap", false},
    {"-nograb", false},        {"-dograb", false},
    {"-sync", false},
};

ratalia::WriteFailure failureOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return ratalia::WriteFailure::NoSpace;
    case EFBIG:
        return ratalia::WriteFailure::TooLarge;
    case EBADF:
    case EPIPE:
        return ratalia::WriteFailure::Closed;
    default:
        return ratalia::WriteFailure::Other;
    }
}

// The standard streams through the system calls, not the C++ streams, whose
// set-up the window would pay for at every start.
class PosixStreams : public ratalia::StandardStreams {
public:
    // A reader that goes away (ratalia … | head) is a failed write with its
    // own status and message, not a signal that ends the program unheard.
    PosixStreams() { std::signal(SIGPIPE, SIG_IGN); }

    bool write(ratalia::StandardStream which, const std::string& bytes, ratalia::WriteFailure& failure,
               std::size_t& kept) override
    {
        const int stream = which == ratalia::StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO;
        struct stat status {};
        const bool regularFile = fstat(stream, &status) == 0 && S_ISREG(status.st_mode);
        const off_t start = regularFile ? lseek(stream, 0, SEEK_CUR) : -1;
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(stream, bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failure = failureOf(n < 0 ? errno : ENOSPC);
                kept = written;
                if (start >= 0 && ftruncate(stream, start) == 0)
                    kept = 0;
                return false;
            }
            written += static_cast<std::size_t>(n);
        }
        kept = written;
        return true;
    }
};

// The files of offers, written as the window writes them: into a file of
// its own beside the target, flushed to the disk, then renamed over it.
class PosixFiles : public ratalia::Files {
public:
    std::optional<std::string> read(const std::string& path) override
    {
        const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0)
            return std::nullopt;
        std::string bytes;
        char buffer[65536];
        ssize_t n = 0;
        while ((n = ::read(file, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
            if (n > 0)
                bytes.append(buffer, static_cast<std::size_t>(n));
        ::close(file);
        return n < 0 ? std::nullopt : std::optional<std::string>(std::move(bytes));
    }

    bool exists(const std::string& path) override
    {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0;
    }

    bool write(const std::string& path, const std::string& bytes) override
    {
        std::string temporary = path + ".XXXXXX";
        const int file = mkstemp(temporary.data());
        if (file < 0)
            return false;
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(file, bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += static_cast<std::size_t>(n);
        }
        // A new file gets the permissions any other would; an old one keeps its own.
        struct stat old {};
        const mode_t mask = umask(0);
        umask(mask);
        const bool done = written == bytes.size() &&
                          fchmod(file, ::stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : 0666 & ~mask) == 0 &&
                          fsync(file) == 0;
        if (::close(file) == 0 && done && ::rename(temporary.c_str(), path.c_str()) == 0)
            return true;
        ::unlink(temporary.c_str());
        return false;
    }
};

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
    if (!ratalia::opensWindow(arguments, qtOptions)) {
        PosixStreams streams;
        PosixFiles files;
        return ratalia::runCommandLine(arguments, numbers, streams, &files);
    }

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

    ratalia::QtMessageBox messageBox;
    ratalia::DesktopLinkOpener linkOpener;
    ratalia::FormEvents events(numbers, messageBox, linkOpener);
    ratalia::FormWindow window(events);
    messageBox.setParent(&window);
    window.show();
    QStringList files;
    for (const std::string& file : ratalia::filesToOpen(arguments, qtOptions))
        files << QFile::decodeName(QByteArray::fromStdString(file));
    if (!files.isEmpty())
        window.openOffers(files);
    return QApplication::exec();
}
