// Starts a program and prints the milliseconds until the X server maps a top-level window
// with the given caption. Events, not polling, so the measurement adds no load of its own.
// usage: mapwatch CAPTION PROGRAM [ARGS...]
#include <X11/Xlib.h>

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
        std::fprintf(stderr, "usage: mapwatch CAPTION PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string caption = argv[1];
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapwatch: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double elapsed = -1;
    while (elapsed < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify)
            continue;
        char *name = nullptr;
        if (XFetchName(display, event.xmap.window, &name) && name) {
            if (caption == name)
                elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            XFree(name);
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(30))
            break;
    }
    kill(-child, SIGKILL);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (elapsed < 0)
        return 1;
    std::printf("%.1f\n", elapsed);
    return 0;
}
