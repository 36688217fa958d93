#pragma once

// What the instrument benchmarks share: user interfaces without a modal
// dialog, the line time of the bytes a run exchanged and the pauses the
// protocol fixes (the floor no program can beat), the CPU time of the thread
// that runs an operation, and one table of every operation measured.

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "comm/instrument_session.h"
#include "comm/instrument_ui.h"
#include "ui/main_msg_dlgs.h"
#include "ui/qt_instrument_ui.h"

namespace qlxbench {

using Clock = std::chrono::steady_clock;

// 38400 bit/s with 1 start, 8 data, 1 parity and 1 stop bit: 11 bits a byte.
constexpr double kByteMs = 11.0 * 1000.0 / 38400.0;

double Ms(Clock::duration d);

// No window: messages get a fixed answer, the progress dialog only counts,
// the folder picker gives one folder, events are nothing to do.
class HeadlessUi : public qlx::InstrumentUi {
public:
    explicit HeadlessUi(std::string folder = {}, int answer = qlx::mrOk);
    int ShowMessage(qlx::MsgDlg, const std::string&) override;
    bool ProgressOpen(const std::string&, int, int maximum) override;
    bool ProgressStep() override;
    void ProgressClose() override {}
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&, const std::string&) override;
    bool MoveToTrash(const std::string&) override { return false; }
    void ProcessEvents() override {}

    int messages = 0;
    int steps = 0;  // since the last ProgressOpen
    // Called after every progress step with its number (1, 2, ...).
    std::function<void(int step)> onStep;

private:
    std::string folder_;
    int answer_;
    int limit_ = 0;
};

// The main window's message dialogs, made before the user interface that
// shows them.
struct ProgramDialogs {
    qlx::MainMsgDlgs dialogs;
};

// The program's own user interface (progress dialog, window events as the
// program lets them run), with the folder picked and every message answered
// without a modal box. Needs a QApplication.
class ProgramUi : private ProgramDialogs, public qlx::QtInstrumentUi {
public:
    explicit ProgramUi(std::string folder = {}, int answer = qlx::mrOk);
    int ShowMessage(qlx::MsgDlg, const std::string&) override;
    bool ProgressOpen(const std::string& caption, int minimum, int maximum) override;
    bool ProgressStep() override;
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&, const std::string&) override;

    int messages = 0;
    int steps = 0;
    std::function<void(int step)> onStep;

private:
    std::string folder_;
    int answer_;
};

// CPU time and context switches of the calling thread (the one that runs
// the operation; the simulator answers in a thread of its own).
struct ThreadCpu {
    double userMs = 0;
    double systemMs = 0;
    long voluntarySwitches = 0;    // the thread went to sleep in the kernel
    long involuntarySwitches = 0;  // the thread was preempted
    static ThreadCpu Now();
    double TotalMs() const { return userMs + systemMs; }
};
ThreadCpu operator-(const ThreadCpu& a, const ThreadCpu& b);

// The pause the protocol fixes before a command: none before the status
// and the stop command, 100 ms before an upload header ("WIMP"), 25 ms
// before every other command (data commands, the sweep, point packets).
int MandatedPauseMs(const std::string& command);

// The floor of one run: the time no program could beat, as named parts.
struct Floor {
    struct Part {
        std::string what;
        double ms;
    };
    std::vector<Part> parts;
    void Add(std::string what, double ms) { parts.push_back({std::move(what), ms}); }
    double TotalMs() const;
    std::string Describe() const;
};

long BytesOf(const std::vector<std::string>& pieces);

// Strict command and reply turns (status check, listings, downloads,
// uploads): each command's pause, then every byte of the commands and of
// the replies on the line one after the other.
Floor ExchangeFloor(const std::vector<std::string>& commands, const std::vector<std::string>& replies);

// A remote measurement of one channel: the status turn, the pause and the
// sweep command, then whichever ends later: the ACK and SweepWait's sleeps
// (the program cannot read the points before them), or the instrument's
// sweep and the points on the line; plus what the port reopens the
// protocol asks for cost (measured on their own).
Floor MeasurementFloor(const std::vector<std::string>& commands, const std::vector<std::string>& replies,
                       double sweepMs, double sweepWaitMs, int reopens, double reopenMs);

// Replays a run's commands on the simulator's line with the leanest client
// there is (the protocol's pauses as plain sleeps, each command in one
// write, its reply read with poll and read until it is all there) and
// returns the wall time, in ms. Against the same simulator on the same
// machine it shows what the line, the simulator and the machine's
// scheduling add to the floor, so that what the program adds is the rest.
// Needs one reply per command (every operation but the measurement); no
// value when the replay did not get the replies of the run.
std::optional<double> ReplayBare(const std::string& device, const std::vector<std::string>& commands,
                                 const std::vector<std::string>& replies);

// Median time of one close and open of an open port (the remote
// measurement reopens the port twice a channel to change its read limit).
double ReopenMs(qlx::Trs232c& port, int times = 50);

// One run of an operation, for the table.
struct Sample {
    double wallMs = 0;
    Floor floor;
    ThreadCpu cpu;
    std::optional<double> bareMs;  // ReplayBare of the same run
};

// Adds a run to the table under `operation` and keeps the benchmark's
// counters (the means over its iterations) up to date.
void Record(benchmark::State& state, const std::string& operation, const Sample& sample);

// Initializes Google Benchmark, runs the benchmarks, then prints the table:
// per operation the floor, the measured time (median, min and max), the
// ratio measured/floor, the CPU time of the operation's thread against its
// wall time and, where replayed, the bare client's ratio to the floor;
// below it how each floor is made up.
int RunAndPrintTable(int argc, char** argv);

}  // namespace qlxbench
