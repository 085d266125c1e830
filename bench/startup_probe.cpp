// Measures a program from outside, as a user meets it: the time from starting
// the process until its first top-level window is mapped and painted, and the
// process's peak resident memory. The program starts exactly as it would
// from a desktop; the probe only watches the X server.
//
// startup_probe PROGRAM  →  prints "<milliseconds> <peak KiB>"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: startup_probe PROGRAM\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("startup_probe: no X display\n", stderr);
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fputs("startup_probe: the X server has no DAMAGE extension\n", stderr);
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(argv[1], argv[1], static_cast<char*>(nullptr));
        _exit(127);
    }

    double mapped = -1, painted = -1;
    while (painted < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && mapped < 0 && !event.xmap.override_redirect) {
            mapped = millisecondsSince(start);
            XDamageCreate(display, event.xmap.window, XDamageReportNonEmpty);
        } else if (event.type == damageEvent + XDamageNotify && mapped >= 0) {
            painted = millisecondsSince(start);
        }
    }
    // Let the program settle as a shown window before reading its peak memory.
    usleep(300 * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("%.1f %ld\n", painted, usage.ru_maxrss);
    XCloseDisplay(display);
    return 0;
}
