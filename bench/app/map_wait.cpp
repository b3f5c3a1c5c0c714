// Start-up as a desktop sees it: the time from spawning a program until its first top-level
// window is mapped on the X server, taken by an X client of its own that watches MapNotify on the
// root window. Nothing inside the measured program is needed.
//
//   bench_map_wait [-C folder] [-e NAME=VALUE]... -- program [arguments]
//
// Prints "map_ms <wall milliseconds> cpu_ms <CPU milliseconds of all the program's threads until
// then, ended ones included>" on stdout, then ends the program with SIGTERM (SIGKILL after 5 s)
// and waits for it. Exit status 1 when the window does not appear within 30 s or the program
// ends first.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// CPU time of the whole process so far, every thread counted, also those that have ended (a
// worker that ran during start-up is gone by the time the window maps).
double cpuMs(pid_t pid) {
    clockid_t clock{};
    timespec t{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &t) != 0) {
        return -1.0;
    }
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The _NET_WM_PID the toolkit puts on its windows; -1 where there is none.
long windowPid(Display* display, Window window) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && count == 1 && format == 32) {
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) {
        XFree(data);
    }
    return pid;
}

int ignoreErrors(Display*, XErrorEvent*) {
    return 0; // a window may be gone before its property is read
}

void endChild(pid_t child) {
    kill(child, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            return;
        }
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> environment;
    const char* folder = nullptr;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        }
        if (std::strcmp(argv[first], "-e") == 0 && first + 1 < argc) {
            environment.emplace_back(argv[++first]);
        } else if (std::strcmp(argv[first], "-C") == 0 && first + 1 < argc) {
            folder = argv[++first];
        } else {
            std::fprintf(stderr, "usage: %s [-C folder] [-e NAME=VALUE]... -- program [arguments]\n",
                         argv[0]);
            return 2;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "map_wait: no program given\n");
        return 2;
    }

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_wait: cannot open the X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False); // the selection is in place before the program can map anything

    const double startMs = nowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("map_wait: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        for (const std::string& assignment : environment) {
            putenv(const_cast<char*>(assignment.c_str()));
        }
        if (folder && chdir(folder) != 0) {
            std::perror("map_wait: chdir");
            _exit(127);
        }
        execvp(argv[first], argv + first);
        std::perror("map_wait: exec");
        _exit(127);
    }

    const int fd = ConnectionNumber(display);
    const double deadlineMs = startMs + 30000.0;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect || event.xmap.event != root) {
                continue;
            }
            const double mappedMs = nowMs();
            // Only the program's own windows count (another client of the same server may map
            // something meanwhile); a window without the property is taken as the program's.
            const long pid = windowPid(display, event.xmap.window);
            if (pid != -1 && pid != child) {
                continue;
            }
            const double cpu = cpuMs(child);
            std::printf("map_ms %.1f cpu_ms %.1f\n", mappedMs - startMs, cpu);
            std::fflush(stdout);
            endChild(child);
            XCloseDisplay(display);
            return 0;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "map_wait: %s ended before mapping a window\n", argv[first]);
            return 1;
        }
        const double leftMs = deadlineMs - nowMs();
        if (leftMs <= 0) {
            std::fprintf(stderr, "map_wait: no window of %s within 30 s\n", argv[first]);
            endChild(child);
            return 1;
        }
        pollfd watch{fd, POLLIN, 0};
        const int timeoutMs = leftMs < 50 ? static_cast<int>(leftMs) + 1 : 50;
        if (poll(&watch, 1, timeoutMs) < 0 && errno != EINTR) {
            std::perror("map_wait: poll");
            endChild(child);
            return 2;
        }
    }
}
