#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "comm/upload_packets.h"

namespace qlxbench {

namespace {

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double TvMs(const timeval& t)
{
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
}

std::string Fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// "(min..max)"
std::string Range(double min, double max, int decimals)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%.*f..%.*f)", decimals, min, decimals, max);
    return buf;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

struct Entry {
    std::vector<Sample> samples;
};

// Operations in the order they were first recorded.
std::vector<std::string>& Order()
{
    static std::vector<std::string> order;
    return order;
}

std::map<std::string, Entry>& Entries()
{
    static std::map<std::string, Entry> entries;
    return entries;
}

}  // namespace

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

HeadlessUi::HeadlessUi(std::string folder, int answer) : folder_(std::move(folder)), answer_(answer) {}

int HeadlessUi::ShowMessage(qlx::MsgDlg, const std::string&) { return ++messages, answer_; }

bool HeadlessUi::ProgressOpen(const std::string&, int, int maximum)
{
    limit_ = maximum;
    steps = 0;
    return true;
}

bool HeadlessUi::ProgressStep()
{
    ++steps;
    if (onStep)
        onStep(steps);
    return steps <= limit_;
}

std::optional<std::string> HeadlessUi::ChooseFolder(const std::string&, const std::string&, const std::string&)
{
    if (folder_.empty())
        return std::nullopt;
    return folder_;
}

ProgramUi::ProgramUi(std::string folder, int answer)
    : QtInstrumentUi(dialogs), folder_(std::move(folder)), answer_(answer)
{}

int ProgramUi::ShowMessage(qlx::MsgDlg, const std::string&) { return ++messages, answer_; }

bool ProgramUi::ProgressOpen(const std::string& caption, int minimum, int maximum)
{
    steps = 0;
    return QtInstrumentUi::ProgressOpen(caption, minimum, maximum);
}

bool ProgramUi::ProgressStep()
{
    const bool more = QtInstrumentUi::ProgressStep();
    ++steps;
    if (onStep)
        onStep(steps);
    return more;
}

std::optional<std::string> ProgramUi::ChooseFolder(const std::string&, const std::string&, const std::string&)
{
    if (folder_.empty())
        return std::nullopt;
    return folder_;
}

ThreadCpu ThreadCpu::Now()
{
    rusage u{};
    ::getrusage(RUSAGE_THREAD, &u);
    return {TvMs(u.ru_utime), TvMs(u.ru_stime), u.ru_nvcsw, u.ru_nivcsw};
}

ThreadCpu operator-(const ThreadCpu& a, const ThreadCpu& b)
{
    return {a.userMs - b.userMs, a.systemMs - b.systemMs, a.voluntarySwitches - b.voluntarySwitches,
            a.involuntarySwitches - b.involuntarySwitches};
}

int MandatedPauseMs(const std::string& command)
{
    if (StartsWith(command, "RSTT") || StartsWith(command, "RSTP"))
        return 0;
    if (StartsWith(command, "WIMP\n"))
        return qlx::kHeaderPauseMs;
    if (StartsWith(command, "RIMP\n") || StartsWith(command, "RSWP\n"))
        return qlx::kDataPauseMs;
    return qlx::kPointPauseMs;  // an upload's point packet
}

double Floor::TotalMs() const
{
    double ms = 0;
    for (const Part& p : parts)
        ms += p.ms;
    return ms;
}

std::string Floor::Describe() const
{
    std::string out;
    for (const Part& p : parts)
        out += (out.empty() ? "" : " + ") + p.what + " " + Fixed(p.ms, 2);
    return out;
}

long BytesOf(const std::vector<std::string>& pieces)
{
    long n = 0;
    for (const std::string& p : pieces)
        n += static_cast<long>(p.size());
    return n;
}

Floor ExchangeFloor(const std::vector<std::string>& commands, const std::vector<std::string>& replies)
{
    double pauses = 0;
    int headers = 0;
    for (const std::string& c : commands) {
        pauses += MandatedPauseMs(c);
        headers += StartsWith(c, "WIMP\n");
    }
    const long sent = BytesOf(commands);
    const long received = BytesOf(replies);
    Floor f;
    f.Add("pauses (" + std::to_string(commands.size()) + " commands" +
              (headers ? ", " + std::to_string(headers) + " headers" : std::string()) + ")",
          pauses);
    f.Add("line " + std::to_string(sent) + "+" + std::to_string(received) + " B",
          static_cast<double>(sent + received) * kByteMs);
    return f;
}

Floor MeasurementFloor(const std::vector<std::string>& commands, const std::vector<std::string>& replies,
                       double sweepMs, double sweepWaitMs, int reopens, double reopenMs)
{
    Floor f;
    // The turns before the sweep: status command and reply, sweep command.
    long before = 0;
    double pauses = 0;
    for (const std::string& c : commands) {
        before += static_cast<long>(c.size());
        pauses += MandatedPauseMs(c);
    }
    // Replies: the status reply, then per channel the ACK and the points.
    const long status = replies.empty() ? 0 : static_cast<long>(replies[0].size());
    const long ack = replies.size() > 1 ? static_cast<long>(replies[1].size()) : 0;
    const long points = replies.size() > 2 ? static_cast<long>(replies[2].size()) : 0;
    f.Add("pause", pauses);
    f.Add("line " + std::to_string(before) + "+" + std::to_string(status) + " B",
          static_cast<double>(before + status) * kByteMs);
    const double waitSide = static_cast<double>(ack) * kByteMs + sweepWaitMs;
    const double sweepSide = sweepMs + static_cast<double>(points) * kByteMs;
    if (waitSide >= sweepSide)
        f.Add("ACK " + std::to_string(ack) + " B + SweepWait " + Fixed(sweepWaitMs, 0), waitSide);
    else
        f.Add("sweep " + Fixed(sweepMs, 0) + " + points " + std::to_string(points) + " B", sweepSide);
    if (reopens > 0)
        f.Add(std::to_string(reopens) + " reopens", reopens * reopenMs);
    return f;
}

std::optional<double> ReplayBare(const std::string& device, const std::vector<std::string>& commands,
                                 const std::vector<std::string>& replies)
{
    if (commands.size() != replies.size())
        return std::nullopt;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    ::tcflush(fd, TCIOFLUSH);
    bool complete = true;
    const auto start = Clock::now();
    for (std::size_t i = 0; i < commands.size() && complete; ++i) {
        if (const int ms = MandatedPauseMs(commands[i]); ms > 0) {
            const timespec pause{0, ms * 1000000L};
            ::clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, nullptr);
        }
        const std::string& c = commands[i];
        std::size_t sent = 0;
        while (sent < c.size() && complete) {
            const ssize_t n = ::write(fd, c.data() + sent, c.size() - sent);
            if (n > 0)
                sent += static_cast<std::size_t>(n);
            else {
                pollfd p{fd, POLLOUT, 0};
                complete = ::poll(&p, 1, 2000) > 0;
            }
        }
        std::size_t got = 0;
        char buf[4096];
        while (got < replies[i].size() && complete) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
                continue;
            }
            pollfd p{fd, POLLIN, 0};
            complete = ::poll(&p, 1, 2000) > 0;
        }
        complete = complete && got == replies[i].size();
    }
    const auto end = Clock::now();
    ::close(fd);
    if (!complete)
        return std::nullopt;
    return Ms(end - start);
}

double ReopenMs(qlx::Trs232c& port, int times)
{
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const auto start = Clock::now();
        port.close();
        (void)port.open();
        ms.push_back(Ms(Clock::now() - start));
    }
    return Median(ms);
}

void Record(benchmark::State& state, const std::string& operation, const Sample& sample)
{
    auto& entries = Entries();
    if (!entries.count(operation))
        Order().push_back(operation);
    Entry& e = entries[operation];
    e.samples.push_back(sample);
    // The benchmark's own counters: the means over the runs of this operation.
    double wall = 0, floor = 0, cpu = 0;
    for (const Sample& s : e.samples) {
        wall += s.wallMs;
        floor += s.floor.TotalMs();
        cpu += s.cpu.TotalMs();
    }
    const double n = static_cast<double>(e.samples.size());
    state.counters["measured_ms"] = wall / n;
    state.counters["floor_ms"] = floor / n;
    state.counters["ratio"] = wall / floor;
    state.counters["cpu_ms"] = cpu / n;
    if (sample.bareMs)
        state.counters["bare_ms"] = *sample.bareMs;
}

int RunAndPrintTable(int argc, char** argv)
{
    // --timer-slack-ns=N: the kernel's slack for the timed sleeps of every
    // thread started after this (the simulator's too); 50 µs by default.
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--timer-slack-ns=", 17) == 0) {
            ::prctl(PR_SET_TIMERSLACK, std::strtoul(argv[i] + 17, nullptr, 10));
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%-44s %11s %11s %21s %7s %15s %9s %9s %10s %3s\n", "operation", "floor ms", "measured ms",
                "(min..max)", "ratio", "(min..max)", "cpu ms", "cpu/wall", "bare ratio", "n");
    for (const std::string& name : Order()) {
        const Entry& e = Entries()[name];
        std::vector<double> wall, ratio, cpu, share, floor, bare;
        for (const Sample& s : e.samples) {
            wall.push_back(s.wallMs);
            floor.push_back(s.floor.TotalMs());
            ratio.push_back(s.wallMs / s.floor.TotalMs());
            cpu.push_back(s.cpu.TotalMs());
            share.push_back(s.cpu.TotalMs() / s.wallMs);
            if (s.bareMs)
                bare.push_back(*s.bareMs / s.floor.TotalMs());
        }
        const std::string bareRatio = bare.empty() ? "-" : Fixed(Median(bare), 4);
        const auto [wMin, wMax] = std::minmax_element(wall.begin(), wall.end());
        const auto [rMin, rMax] = std::minmax_element(ratio.begin(), ratio.end());
        std::printf("%-44s %11.1f %11.1f %21s %7.4f %15s %9.1f %8.2f%% %10s %3zu\n", name.c_str(), Median(floor),
                    Median(wall), Range(*wMin, *wMax, 1).c_str(), Median(ratio), Range(*rMin, *rMax, 4).c_str(),
                    Median(cpu), 100.0 * Median(share), bareRatio.c_str(), e.samples.size());
    }
    std::printf("\nfloor of each operation (last run), ms:\n");
    for (const std::string& name : Order()) {
        const Entry& e = Entries()[name];
        const Sample& s = e.samples.back();
        std::printf("  %-42s %s\n", name.c_str(), s.floor.Describe().c_str());
        std::printf("  %-42s cpu user %.1f + system %.1f ms, %ld sleeps, %ld preemptions\n", "", s.cpu.userMs,
                    s.cpu.systemMs, s.cpu.voluntarySwitches, s.cpu.involuntarySwitches);
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace qlxbench
