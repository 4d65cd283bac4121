// Starts a program and prints the milliseconds until the first paint of its top-level window
// with the given caption: the window's map, then the first damage reported on it (XDamage).
// Events, not polling, so the measurement adds no load of its own.
// usage: paintwatch CAPTION PROGRAM [ARGS...]   (PAINTWATCH_SECONDS: how long to wait, 30 unless set)
// With PAINTWATCH_CONTENT set, the paint counted is the first after which the window holds more
// than one colour: the X server's own fill of a newly mapped window with its background is
// reported as damage too, within a millisecond of the map, before the program has drawn.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/select.h>
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
    Window watched = 0;
    const bool wantContent = std::getenv("PAINTWATCH_CONTENT") != nullptr;
    const auto holdsContent = [&] {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display, watched, &a) || a.width <= 0 || a.height <= 0)
            return false;
        XImage *image = XGetImage(display, watched, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
        if (!image)
            return false;
        const unsigned long first = XGetPixel(image, 0, 0);
        bool differs = false;
        for (int y = 0; y < a.height && !differs; y += 2)
            for (int x = 0; x < a.width && !differs; x += 2)
                differs = XGetPixel(image, x, y) != first;
        XDestroyImage(image);
        return differs;
    };
    const char *limit = std::getenv("PAINTWATCH_SECONDS");
    const auto patience = std::chrono::seconds(limit ? std::atoi(limit) : 30);
    while (painted < 0 && Clock::now() - start < patience) {
        // Waits with a bound: a window that never draws again must not hang the run.
        if (XPending(display) == 0) {
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(patience - (Clock::now() - start));
            timeval wait{long(left.count() / 1000000), long(left.count() % 1000000)};
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(display), &fds);
            if (left.count() <= 0 || select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &wait) <= 0)
                break;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && mapped < 0) {
            char *name = nullptr;
            if (XFetchName(display, event.xmap.window, &name) && name) {
                if (caption == name) {
                    mapped = since();
                    // Every drawing is reported; the server reports the whole window once when
                    // the damage object is made, so the first paint is the second report.
                    watched = event.xmap.window;
                    damage = XDamageCreate(display, watched, XDamageReportRawRectangles);
                    XSync(display, False);
                }
                XFree(name);
            }
        } else if (event.type == damageEvent + XDamageNotify && damage && ++reports >= 2) {
            const double at = since();
            if (!wantContent || holdsContent())
                painted = at;
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
