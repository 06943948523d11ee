// anim_probe: what an animation costs, seen from outside. First it lets the given processes
// run for a while and reports the CPU they used; then it watches a top-level window for as
// long and reports the frames it was drawn in. The two are apart, so that the watching does
// not cost the X server anything while the CPU is counted.
//
//   anim_probe <window-title> <seconds> <pid>...
//
// Results go to standard output, one key=value per line:
//   cpu_ms_<i>=<utime+stime of the i-th pid, clock-tick resolution>
//   sched_ms_<i>=<the same from the scheduler's nanosecond counters, all threads>
//   frames=<times the window was drawn>
//   longest_gap_ms=<the longest time between two of them>
//   pixels_per_frame=<the area drawn, on average, in a frame>
//
// The window is found by its name; the X Damage extension reports every part of it that is
// drawn, stamped with the server's time. Parts drawn within a few milliseconds of each other
// belong to one frame; at 60 frames a second they are 16 ms apart.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr Time kSameFrame = 4; // ms

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1.0e6;
}

int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

std::string nameOf(Display* d, Window w) {
    std::string name;
    XTextProperty text{};
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    if (XGetTextProperty(d, w, &text, netName) && text.value != nullptr) {
        name.assign(reinterpret_cast<const char*>(text.value), text.nitems);
        XFree(text.value);
    } else if (XGetWMName(d, w, &text) && text.value != nullptr) {
        name.assign(reinterpret_cast<const char*>(text.value), text.nitems);
        XFree(text.value);
    }
    return name;
}

bool viewable(Display* d, Window w) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(d, w, &attributes) && attributes.map_state == IsViewable;
}

Window findWindow(Display* d, Window under, const std::string& title) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, under, &root, &parent, &children, &count)) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        if (nameOf(d, children[i]) == title && viewable(d, children[i])) {
            found = children[i];
        } else {
            found = findWindow(d, children[i], title);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

// utime + stime in ms, and the scheduler's run time of all threads in ms.
struct Cpu {
    double ticksMs = 0;
    double schedMs = 0;
};

Cpu cpuOf(long pid) {
    Cpu cpu;
    const std::string base = "/proc/" + std::to_string(pid);
    if (FILE* f = std::fopen((base + "/stat").c_str(), "r")) {
        char buffer[4096] = {};
        const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
        std::fclose(f);
        buffer[n] = '\0';
        // The fields after the command name, which may hold blanks, start after its ')'.
        if (const char* p = std::strrchr(buffer, ')')) {
            unsigned long utime = 0;
            unsigned long stime = 0;
            if (std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime,
                            &stime) == 2) {
                cpu.ticksMs = static_cast<double>(utime + stime) * 1000.0 / sysconf(_SC_CLK_TCK);
            }
        }
    }
    if (DIR* tasks = opendir((base + "/task").c_str())) {
        while (const dirent* t = readdir(tasks)) {
            if (t->d_name[0] == '.') {
                continue;
            }
            if (FILE* f = std::fopen((base + "/task/" + t->d_name + "/schedstat").c_str(), "r")) {
                unsigned long long ns = 0;
                if (std::fscanf(f, "%llu", &ns) == 1) {
                    cpu.schedMs += static_cast<double>(ns) / 1.0e6;
                }
                std::fclose(f);
            }
        }
        closedir(tasks);
    }
    return cpu;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: anim_probe <window-title> <seconds> <pid>...\n");
        return 64;
    }
    const std::string title = argv[1];
    const double watchMs = std::atof(argv[2]) * 1000.0;
    std::vector<long> pids;
    for (int i = 3; i < argc; ++i) {
        pids.push_back(std::atol(argv[i]));
    }

    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "anim_probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(d, &damageEvent, &damageError)) {
        std::fprintf(stderr, "anim_probe: the X server has no Damage extension\n");
        return 1;
    }
    const Window window = findWindow(d, DefaultRootWindow(d), title);
    if (window == 0) {
        std::fprintf(stderr, "anim_probe: no window named '%s' is shown\n", title.c_str());
        return 2;
    }
    std::vector<Cpu> before;
    for (long pid : pids) {
        before.push_back(cpuOf(pid));
    }
    usleep(static_cast<useconds_t>(watchMs * 1000.0));
    for (std::size_t i = 0; i < pids.size(); ++i) {
        const Cpu after = cpuOf(pids[i]);
        std::printf("cpu_ms_%zu=%.0f\n", i, after.ticksMs - before[i].ticksMs);
        std::printf("sched_ms_%zu=%.1f\n", i, after.schedMs - before[i].schedMs);
    }

    XDamageCreate(d, window, XDamageReportRawRectangles);
    XSync(d, False);
    const double end = nowMs() + watchMs;
    long frames = 0;
    double pixels = 0;
    Time last = 0;
    Time longestGap = 0;
    pollfd fd{ConnectionNumber(d), POLLIN, 0};
    for (double left = watchMs; left > 0; left = end - nowMs()) {
        while (XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type != damageEvent + XDamageNotify) {
                continue;
            }
            const auto& damage = reinterpret_cast<XDamageNotifyEvent&>(event);
            pixels += static_cast<double>(damage.area.width) * damage.area.height;
            const Time t = damage.timestamp;
            if (last != 0 && t - last <= kSameFrame) {
                last = t;
                continue; // more of the same frame
            }
            if (last != 0 && t - last > longestGap) {
                longestGap = t - last;
            }
            last = t;
            ++frames;
        }
        poll(&fd, 1, static_cast<int>(left < 50 ? left + 1 : 50));
    }
    std::printf("frames=%ld\n", frames);
    std::printf("longest_gap_ms=%lu\n", static_cast<unsigned long>(longestGap));
    std::printf("pixels_per_frame=%.0f\n", frames > 0 ? pixels / frames : 0.0);
    XCloseDisplay(d);
    return 0;
}
