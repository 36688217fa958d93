// startup_watch: how long a program takes from its start to its main window
// shown and painted, and how much memory it took, seen from outside (the
// program needs no code for it). On an X display (Xvfb) it starts the
// program, notes when a top-level window whose title contains the given
// text is mapped, then grabs that window's pixels every millisecond until
// they have not changed for the settle time. "Painted" is the first grab
// that already shows the settled picture (at most 0.5 % of its rows
// different, room for a blinking text cursor); "first pixels" the first grab
// that is not one flat colour. The program is then ended (SIGTERM) and its
// peak resident memory read from the kernel (ru_maxrss of wait4, as
// /usr/bin/time -v reports it; VmHWM at the painted grab as well), with the
// CPU time it used until then (nearly all of it the start: it idles after).
//
//   startup_watch [--runs N] [--settle-ms M] [--title TEXT] -- PROGRAM [ARGS...]
//
// Times are measured from just before the fork and count a grab at its end,
// so they include the grab's own time (printed: the resolution).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/resource.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0, Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - t0).count();
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

std::string WindowTitle(Display* dpy, Window w)
{
    const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &items, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), items);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(dpy, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// Grabs a window's pixels, through shared memory where the server offers
// it (a copy inside the server instead of 2 MB over the socket).
class Grabber {
public:
    Grabber(Display* dpy, Window w, int width, int height) : dpy_(dpy), w_(w), width_(width), height_(height)
    {
        if (!XShmQueryExtension(dpy))
            return;
        const int screen = DefaultScreen(dpy);
        image_ = XShmCreateImage(dpy, DefaultVisual(dpy, screen), static_cast<unsigned>(DefaultDepth(dpy, screen)),
                                 ZPixmap, nullptr, &shm_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (!image_)
            return;
        shm_.shmid = ::shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height, IPC_CREAT | 0600);
        shm_.shmaddr = image_->data = static_cast<char*>(::shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        if (shm_.shmaddr == reinterpret_cast<char*>(-1) || !XShmAttach(dpy, &shm_)) {
            XDestroyImage(image_);
            image_ = nullptr;
            return;
        }
        XSync(dpy, False);
        ::shmctl(shm_.shmid, IPC_RMID, nullptr);  // gone once both ends detach
    }
    ~Grabber()
    {
        if (!image_)
            return;
        XShmDetach(dpy_, &shm_);
        XDestroyImage(image_);
        ::shmdt(shm_.shmaddr);
    }
    Grabber(const Grabber&) = delete;
    Grabber& operator=(const Grabber&) = delete;

    bool shared() const { return image_ != nullptr; }

    // FNV-1a (over 8-byte words) of every row of the window's picture; empty when the grab failed.
    std::vector<std::uint64_t> RowHashes()
    {
        XImage* image = image_;
        if (image_) {
            if (!XShmGetImage(dpy_, w_, image_, 0, 0, AllPlanes))
                return {};
        } else {
            image = XGetImage(dpy_, w_, 0, 0, static_cast<unsigned>(width_), static_cast<unsigned>(height_), AllPlanes,
                              ZPixmap);
            if (!image)
                return {};
        }
        std::vector<std::uint64_t> rows;
        rows.reserve(static_cast<std::size_t>(height_));
        const std::size_t rowBytes = static_cast<std::size_t>(width_) * image->bits_per_pixel / 8;
        for (int y = 0; y < height_; ++y) {
            const char* p = image->data + static_cast<long>(y) * image->bytes_per_line;
            std::uint64_t h = 1469598103934665603ULL;
            for (std::size_t i = 0; i + 8 <= rowBytes; i += 8) {
                std::uint64_t word;
                std::memcpy(&word, p + i, 8);
                h = (h ^ word) * 1099511628211ULL;
            }
            for (std::size_t i = rowBytes & ~std::size_t{7}; i < rowBytes; ++i)
                h = (h ^ static_cast<unsigned char>(p[i])) * 1099511628211ULL;
            rows.push_back(h);
        }
        if (image != image_)
            XDestroyImage(image);
        return rows;
    }

private:
    Display* dpy_;
    Window w_;
    int width_, height_;
    XShmSegmentInfo shm_{};
    XImage* image_ = nullptr;
};

// Nothing drawn yet: every row of the window alike (one flat colour).
bool Blank(const std::vector<std::uint64_t>& rows)
{
    return std::all_of(rows.begin(), rows.end(), [&](std::uint64_t h) { return h == rows.front(); });
}

std::size_t RowsDiffering(const std::vector<std::uint64_t>& a, const std::vector<std::uint64_t>& b)
{
    if (a.size() != b.size())
        return std::max(a.size(), b.size());
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

long VmHwmKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

struct Frame {
    double ms;
    std::vector<std::uint64_t> rows;
    long hwmKb;
};

struct RunResult {
    double mappedMs = -1;
    double firstPixelsMs = -1;
    double paintedMs = -1;
    double grabMs = 0;  // median duration of one grab
    long hwmAtPaintKb = -1;
    long maxRssKb = -1;
    double cpuMs = 0;  // user + system time of the program until it was ended
    int width = 0, height = 0;
};

std::optional<RunResult> RunOnce(char** argv, const std::string& titlePart, int settleMs)
{
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "startup_watch: no X display (set DISPLAY, e.g. to an Xvfb)\n");
        return std::nullopt;
    }
    ::fcntl(ConnectionNumber(dpy), F_SETFD, FD_CLOEXEC);
    XSetErrorHandler(IgnoreXErrors);
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const auto t0 = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(argv[0], argv);
        std::perror("startup_watch: exec");
        ::_exit(127);
    }
    RunResult r;
    Window target = 0;
    const auto giveUp = t0 + std::chrono::seconds(30);
    while (!target && Clock::now() < giveUp) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            if (e.type == MapNotify && WindowTitle(dpy, e.xmap.window).find(titlePart) != std::string::npos) {
                target = e.xmap.window;
                r.mappedMs = MsSince(t0, Clock::now());
            }
        }
        if (!target) {
            pollfd p{ConnectionNumber(dpy), POLLIN, 0};
            ::poll(&p, 1, 1);
        }
    }
    if (target) {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy, target, &a);
        r.width = a.width;
        r.height = a.height;
        Grabber grabber(dpy, target, a.width, a.height);
        std::vector<Frame> frames;
        std::vector<double> grabs;
        double lastChange = 0;
        for (;;) {
            const auto grabStart = Clock::now();
            std::vector<std::uint64_t> rows = grabber.RowHashes();
            const auto grabEnd = Clock::now();
            grabs.push_back(MsSince(grabStart, grabEnd));
            const double ms = MsSince(t0, grabEnd);
            if (!rows.empty() && (frames.empty() || rows != frames.back().rows)) {
                frames.push_back({ms, std::move(rows), VmHwmKb(pid)});
                lastChange = ms;
            }
            if (ms - lastChange >= settleMs || Clock::now() > giveUp)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::sort(grabs.begin(), grabs.end());
        r.grabMs = grabs.empty() ? 0 : grabs[grabs.size() / 2];
        if (!frames.empty()) {
            const std::vector<std::uint64_t>& settled = frames.back().rows;
            const std::size_t tolerance = settled.size() / 200;
            for (const Frame& f : frames) {
                if (r.firstPixelsMs < 0 && !Blank(f.rows))
                    r.firstPixelsMs = f.ms;
                if (RowsDiffering(f.rows, settled) <= tolerance) {
                    r.paintedMs = f.ms;
                    r.hwmAtPaintKb = f.hwmKb;
                    break;
                }
            }
        }
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    r.maxRssKb = usage.ru_maxrss;
    r.cpuMs = (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0);
    XCloseDisplay(dpy);
    if (!target) {
        std::fprintf(stderr, "startup_watch: no window titled \"%s\" within 30 s\n", titlePart.c_str());
        return std::nullopt;
    }
    return r;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    int settleMs = 1500;
    std::string title = "QLX-50 Manager";
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (a == "--settle-ms" && i + 1 < argc)
            settleMs = std::atoi(argv[++i]);
        else if (a == "--title" && i + 1 < argc)
            title = argv[++i];
        else if (a == "--") {
            ++i;
            break;
        } else
            break;
    }
    if (i >= argc) {
        std::fprintf(stderr, "usage: startup_watch [--runs N] [--settle-ms M] [--title TEXT] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    std::vector<double> mapped, first, painted, hwm, rss, cpu;
    std::printf("%4s %10s %13s %11s %9s %13s %12s %8s %9s\n", "run", "mapped ms", "1st pixels ms", "painted ms",
                "grab ms", "VmHWM@paint", "max RSS", "cpu ms", "window");
    for (int run = 1; run <= runs; ++run) {
        const std::optional<RunResult> r = RunOnce(argv + i, title, settleMs);
        if (!r)
            return 1;
        std::printf("%4d %10.1f %13.1f %11.1f %9.2f %10.1f MB %9.1f MB %8.1f %4dx%d\n", run, r->mappedMs,
                    r->firstPixelsMs, r->paintedMs, r->grabMs, r->hwmAtPaintKb / 1024.0, r->maxRssKb / 1024.0, r->cpuMs,
                    r->width, r->height);
        cpu.push_back(r->cpuMs);
        mapped.push_back(r->mappedMs);
        first.push_back(r->firstPixelsMs);
        painted.push_back(r->paintedMs);
        hwm.push_back(r->hwmAtPaintKb / 1024.0);
        rss.push_back(r->maxRssKb / 1024.0);
    }
    const auto [pMin, pMax] = std::minmax_element(painted.begin(), painted.end());
    const auto [mMin, mMax] = std::minmax_element(rss.begin(), rss.end());
    std::printf("median %7.1f %13.1f %11.1f %9s %10.1f MB %9.1f MB %8.1f\n", Median(mapped), Median(first),
                Median(painted), "", Median(hwm), Median(rss), Median(cpu));
    std::printf(
        "painted: median %.1f ms (min %.1f, max %.1f); peak RSS: median %.1f MB (min %.1f, max %.1f); %d runs\n",
        Median(painted), *pMin, *pMax, Median(rss), *mMin, *mMax, runs);
    return 0;
}
