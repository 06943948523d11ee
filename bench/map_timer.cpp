// map_timer: measures how long a program takes from exec until its top-level
// window is mapped, then how much memory it holds and how much CPU it uses
// while it sits idle.
//
//   map_timer <window-title> <command> [args...]
//
// Results go to standard output, one key=value per line:
//   map_ms=<ms from exec until the window was mapped, fractional>
//   rss_kb=<VmRSS 1.5 s after the window was mapped>
//   idle_cpu_ms=<utime+stime used during the following 5 s>
//   idle_sched_ms=<the same, from the scheduler's nanosecond counters>
//   idle_switches=<context switches of all threads during those 5 s>
// The command's own standard output is sent to standard error so that
// standard output carries nothing but the results.
//
// Only Xlib is used: the tool watches the root window for CreateNotify and
// MapNotify, and every new top-level window for PropertyNotify, because a
// window may get its name before or after it is mapped.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr double kTimeoutMs = 20000.0;
constexpr double kSettleMs = 1500.0;
constexpr double kIdleMs = 5000.0;

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1.0e6;
}

// Windows may vanish between an event and our request about them; such
// errors are expected and harmless here.
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

pid_t child = -1;
bool childReaped = false;

bool childAlive() {
    if (childReaped)
        return false;
    int status = 0;
    const pid_t r = waitpid(child, &status, WNOHANG);
    if (r == child) {
        childReaped = true;
        return false;
    }
    return true;
}

void stopChild() {
    if (child <= 0 || childReaped)
        return;
    kill(child, SIGTERM);
    const double deadline = nowMs() + 3000.0;
    while (nowMs() < deadline) {
        if (!childAlive())
            return;
        usleep(20 * 1000);
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    childReaped = true;
}

// If map_timer itself is interrupted, the program under test must not be
// left running. kill() and _exit() are async-signal-safe.
extern "C" void onSignal(int sig) {
    if (child > 0 && !childReaped)
        kill(child, SIGKILL);
    _exit(128 + sig);
}

[[noreturn]] void fail(int code, const std::string& message) {
    std::fprintf(stderr, "map_timer: %s\n", message.c_str());
    stopChild();
    std::exit(code);
}

// Sleeps for the given time, failing if the program ends meanwhile.
void sleepWatching(double ms, const char* phase) {
    const double end = nowMs() + ms;
    for (;;) {
        if (!childAlive())
            fail(3, std::string("the program ended while ") + phase);
        const double left = end - nowMs();
        if (left <= 0)
            return;
        const double step = left < 50.0 ? left : 50.0;
        usleep(static_cast<useconds_t>(step * 1000.0));
    }
}

std::optional<std::string> readFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return std::nullopt;
    std::string text;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    return text;
}

long statusField(const std::string& status, const char* key) {
    const std::string text = "\n" + status;
    const std::string needle = std::string("\n") + key + ":";
    const auto at = text.find(needle);
    if (at == std::string::npos)
        return -1;
    return std::strtol(text.c_str() + at + needle.size(), nullptr, 10);
}

long rssKb(pid_t pid) {
    const auto status = readFile("/proc/" + std::to_string(pid) + "/status");
    if (!status)
        fail(3, "cannot read /proc/<pid>/status");
    return statusField(*status, "VmRSS");
}

// utime + stime of the whole process, in clock ticks.
unsigned long long cpuTicks(pid_t pid) {
    const auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat)
        fail(3, "cannot read /proc/<pid>/stat");
    // The command name may contain spaces and parentheses: fields are
    // counted from the last ')'. After it comes field 3 (state); utime and
    // stime are fields 14 and 15.
    const auto paren = stat->rfind(')');
    if (paren == std::string::npos)
        fail(3, "cannot parse /proc/<pid>/stat");
    const char* p = stat->c_str() + paren + 1;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int field = 3; field <= 15; ++field) {
        while (*p == ' ')
            ++p;
        const unsigned long long value = std::strtoull(p, nullptr, 10);
        if (field == 14)
            utime = value;
        if (field == 15)
            stime = value;
        while (*p && *p != ' ')
            ++p;
    }
    return utime + stime;
}

struct ThreadCounters {
    unsigned long long runNs = 0; // time on the CPU, from schedstat
    long long switches = 0;       // voluntary + involuntary context switches
};

// Summed over all threads that exist at the moment of reading.
ThreadCounters threadCounters(pid_t pid) {
    ThreadCounters total;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(taskDir.c_str());
    if (!dir)
        return total;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string base = taskDir + "/" + entry->d_name;
        if (const auto sched = readFile(base + "/schedstat"))
            total.runNs += std::strtoull(sched->c_str(), nullptr, 10);
        if (const auto status = readFile(base + "/status")) {
            const long vol = statusField(*status, "voluntary_ctxt_switches");
            const long invol = statusField(*status, "nonvoluntary_ctxt_switches");
            total.switches += (vol > 0 ? vol : 0) + (invol > 0 ? invol : 0);
        }
    }
    closedir(dir);
    return total;
}

class WindowWatch {
  public:
    WindowWatch(Display* display, std::string title)
        : display_(display), root_(DefaultRootWindow(display)), title_(std::move(title)),
          wmName_(XA_WM_NAME), netWmName_(XInternAtom(display, "_NET_WM_NAME", False)) {}

    // Handles one event; returns the time the matching window was mapped
    // once a mapped top-level window carries the wanted title.
    std::optional<double> handle(const XEvent& event, double receivedMs) {
        switch (event.type) {
        case CreateNotify:
            if (event.xcreatewindow.parent == root_)
                watch(event.xcreatewindow.window);
            break;
        case MapNotify:
            if (event.xmap.event == root_) {
                Window w = event.xmap.window;
                if (!windows_.count(w))
                    watch(w);
                auto& state = windows_[w];
                state.mappedAt = receivedMs;
                if (state.named || hasTitle(w))
                    return state.mappedAt;
            }
            break;
        case UnmapNotify:
            if (event.xunmap.event == root_) {
                if (auto it = windows_.find(event.xunmap.window); it != windows_.end())
                    it->second.mappedAt.reset();
            }
            break;
        case DestroyNotify:
            windows_.erase(event.xdestroywindow.window);
            break;
        case PropertyNotify:
            if (event.xproperty.atom == wmName_ || event.xproperty.atom == netWmName_) {
                auto it = windows_.find(event.xproperty.window);
                if (it != windows_.end()) {
                    it->second.named = hasTitle(it->first);
                    if (it->second.named && it->second.mappedAt)
                        return it->second.mappedAt;
                }
            }
            break;
        default:
            break;
        }
        return std::nullopt;
    }

  private:
    struct State {
        std::optional<double> mappedAt;
        bool named = false;
    };

    void watch(Window w) {
        XSelectInput(display_, w, PropertyChangeMask);
        // The name may have been set before the selection took effect.
        windows_[w].named = hasTitle(w);
    }

    bool propertyEquals(Window w, Atom property) const {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const int rc = XGetWindowProperty(display_, w, property, 0, 4096, False, AnyPropertyType,
                                          &type, &format, &items, &after, &data);
        bool equal = false;
        if (rc == Success && data && format == 8)
            equal = std::string(reinterpret_cast<const char*>(data), items) == title_;
        if (data)
            XFree(data);
        return equal;
    }

    bool hasTitle(Window w) const {
        return propertyEquals(w, netWmName_) || propertyEquals(w, wmName_);
    }

    Display* display_;
    Window root_;
    std::string title_;
    Atom wmName_;
    Atom netWmName_;
    std::map<Window, State> windows_;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <window-title> <command> [args...]\n", argv[0]);
        return 64;
    }
    const std::string title = argv[1];

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "map_timer: cannot open display '%s'\n", name ? name : "");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    const int xfd = ConnectionNumber(display);
    fcntl(xfd, F_SETFD, fcntl(xfd, F_GETFD) | FD_CLOEXEC);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    WindowWatch watch(display, title);

    // A close-on-exec pipe tells the parent whether exec succeeded.
    int execPipe[2];
    if (pipe2(execPipe, O_CLOEXEC) != 0) {
        std::perror("map_timer: pipe2");
        return 1;
    }

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN); // a closed stdout must not kill us before the child

    const double start = nowMs();
    child = fork();
    if (child < 0) {
        std::perror("map_timer: fork");
        return 1;
    }
    if (child == 0) {
        close(execPipe[0]);
        std::signal(SIGPIPE, SIG_DFL);
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[2], argv + 2);
        const int err = errno;
        ssize_t written = write(execPipe[1], &err, sizeof err);
        (void)written;
        _exit(127);
    }
    close(execPipe[1]);
    int execErr = 0;
    if (read(execPipe[0], &execErr, sizeof execErr) == static_cast<ssize_t>(sizeof execErr)) {
        childAlive();
        fail(1, std::string("cannot run ") + argv[2] + ": " + std::strerror(execErr));
    }
    close(execPipe[0]);

    std::optional<double> mappedAt;
    while (!mappedAt) {
        while (!mappedAt && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            mappedAt = watch.handle(event, nowMs());
        }
        if (mappedAt)
            break;
        if (!childAlive())
            fail(3, "the program ended before a window titled \"" + title + "\" was mapped");
        const double left = start + kTimeoutMs - nowMs();
        if (left <= 0)
            fail(2, "timed out after 20 s waiting for a window titled \"" + title + "\"");
        pollfd pfd{xfd, POLLIN, 0};
        poll(&pfd, 1, static_cast<int>(left < 100.0 ? left + 1 : 100.0));
    }
    std::printf("map_ms=%.1f\n", *mappedAt - start);
    std::fflush(stdout);

    sleepWatching(kSettleMs, "settling");
    std::printf("rss_kb=%ld\n", rssKb(child));
    std::fflush(stdout);

    const unsigned long long ticksBefore = cpuTicks(child);
    const ThreadCounters countersBefore = threadCounters(child);
    sleepWatching(kIdleMs, "idle");
    const unsigned long long ticksAfter = cpuTicks(child);
    const ThreadCounters countersAfter = threadCounters(child);

    const double msPerTick = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::printf("idle_cpu_ms=%.0f\n", static_cast<double>(ticksAfter - ticksBefore) * msPerTick);
    // Threads started or ended during the idle phase make these two
    // approximate; they are a finer-grained view of the same quantity.
    const double schedMs =
        (static_cast<double>(countersAfter.runNs) - static_cast<double>(countersBefore.runNs)) /
        1.0e6;
    std::printf("idle_sched_ms=%.1f\n", schedMs > 0 ? schedMs : 0.0);
    const long long switches = countersAfter.switches - countersBefore.switches;
    std::printf("idle_switches=%lld\n", switches > 0 ? switches : 0LL);
    std::fflush(stdout);

    stopChild();
    XCloseDisplay(display);
    return 0;
}
