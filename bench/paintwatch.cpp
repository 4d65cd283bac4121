// Starts a program and prints the milliseconds until the first paint of its top-level window
// with the given caption: the window's map, then the first damage reported on it (XDamage).
// Events, not polling, so the measurement adds no load of its own.
// usage: paintwatch CAPTION PROGRAM [ARGS...]
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: paintwatch CAPTION PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string caption = argv[1];
    Display *display = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0;
    if (!display || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "paintwatch: no X display with the DAMAGE extension\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const auto since = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    double mapped = -1, painted = -1;
    Damage damage = 0;
    int reports = 0;
    while (painted < 0 && Clock::now() - start < std::chrono::seconds(30)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && mapped < 0) {
            char *name = nullptr;
            if (XFetchName(display, event.xmap.window, &name) && name) {
                if (caption == name) {
                    mapped = since();
                    // Every drawing is reported; the server reports the whole window once when
                    // the damage object is made, so the first paint is the second report.
                    damage = XDamageCreate(display, event.xmap.window, XDamageReportRawRectangles);
                    XSync(display, False);
                }
                XFree(name);
            }
        } else if (event.type == damageEvent + XDamageNotify && damage && ++reports == 2) {
            painted = since();
        }
    }
    kill(-child, SIGKILL);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (painted < 0)
        return 1;
    std::printf("%.1f %.1f\n", painted, mapped);
    return 0;
}
