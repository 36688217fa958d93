// One full-range single-channel remote measurement against the simulated
// QLX-50 at the real line rate, split into the program's own waits, the
// wait for the sweep reply and the rest (status check, reopening, wire).
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "comm/remote_measurement.h"
#include "qlx50_sim.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// No window: the progress dialog only counts, events are nothing to do.
class CountingUi : public qlx::InstrumentUi {
public:
    int ShowMessage(qlx::MsgDlg, const std::string&) override { return ++messages, qlx::mrOk; }
    bool ProgressOpen(const std::string&, int, int maximum) override { return limit = maximum, count = 0, true; }
    bool ProgressStep() override
    {
        if (count == 10)
            lastSweepStep = Clock::now();  // the last step of SweepWait
        return ++count <= limit;
    }
    void ProgressClose() override {}
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    bool MoveToTrash(const std::string&) override { return false; }
    void ProcessEvents() override {}

    int messages = 0;
    int count = 0;
    int limit = 0;
    Clock::time_point lastSweepStep;
};

void BM_FullRangeChannel(benchmark::State& state)
{
    const int sweepMs = static_cast<int>(state.range(0));
    qlxsim::Qlx50Sim sim(qlxsim::SimConfig{true, sweepMs, true, 1, std::nullopt, {}});
    qlx::Trs232c port;
    qlx::ConfigureInstrumentPort(port);
    CountingUi ui;
    qlx::InstrumentSession session(port, ui);
    session.ComPortName = sim.devicePath();
    Clock::duration paused{};
    session.Pause = [&](int ms) {
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        paused += Clock::now() - start;
    };
    qlx::RemoteMeasurementInput in;  // BINDING POST, grid 0..119

    double total = 0, pauses = 0, afterWait = 0;
    for (auto _ : state) {
        paused = {};
        const auto start = Clock::now();
        if (!qlx::MeasureRemotely(session, in).done())
            state.SkipWithError("measurement failed");
        const auto end = Clock::now();
        total += Ms(end - start);
        pauses += Ms(paused);
        afterWait += Ms(end - ui.lastSweepStep);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["total_ms"] = total / n;
    state.counters["program_sleeps_ms"] = pauses / n;
    state.counters["after_sweepwait_ms"] = afterWait / n;
    state.counters["other_ms"] = (total - pauses - afterWait) / n;
}
// The simulator's sweep of the whole grid: 6 s (ends inside SweepWait) and
// 10 s (ends after it, so the program waits in the reply's first byte).
BENCHMARK(BM_FullRangeChannel)
    ->Arg(6000)
    ->Arg(10000)
    ->ArgName("sweep_ms")
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
