// One full-range single-channel remote measurement against the simulated
// QLX-50 at the real line rate, set against its floor: the status turn, the
// pause and the sweep command on the line, then the longer of the ACK with
// SweepWait's sleeps (10 x 12 x 70 ms) and the simulator's sweep with the
// points on the line, and the two port reopens of the channel (measured on
// their own). With a simulated sweep of 6 s it ends inside SweepWait, with
// 10 s after it. Each with the program's user interface (progress dialog,
// window events every 70 ms) on the offscreen platform and without any.
// Also the CPU time of the measuring thread against its wall time: the
// waits must sleep in the kernel.
#include <QApplication>
#include <cstdlib>

#include "bench_support.h"
#include "comm/remote_measurement.h"
#include "qlx50_sim.h"

namespace {

using qlxbench::Clock;

void BM_FullRangeChannel(benchmark::State& state)
{
    const int sweepMs = static_cast<int>(state.range(0));
    const bool programUi = state.range(1) == 1;
    qlxsim::Qlx50Sim sim(qlxsim::SimConfig{true, sweepMs, true, 1, std::nullopt, {}});
    qlxbench::HeadlessUi headless;
    qlxbench::ProgramUi program;
    qlx::InstrumentUi& ui = programUi ? static_cast<qlx::InstrumentUi&>(program) : headless;
    qlx::Trs232c port;
    qlx::ConfigureInstrumentPort(port);
    qlx::InstrumentSession session(port, ui);
    session.ComPortName = sim.devicePath();
    qlx::RemoteMeasurementInput in;  // BINDING POST, grid 0..119

    port.portname = sim.devicePath();
    if (!port.open()) {
        state.SkipWithError("cannot open the simulator's line");
        return;
    }
    const double reopenMs = qlxbench::ReopenMs(port);
    port.close();
    const double sweepWaitMs = qlx::kSweepWaitSteps * qlx::SweepWaitRounds(in.RefMinFreq[0], in.RefMaxFreq[0]) *
                               static_cast<double>(qlx::kSweepWaitSleepMs);

    const std::string operation =
        "measurement 1 channel, sweep " + std::to_string(sweepMs) + " ms, " + (programUi ? "program ui" : "no window");
    for (auto _ : state) {
        sim.ClearLog();
        const qlxbench::ThreadCpu cpuStart = qlxbench::ThreadCpu::Now();
        const auto start = Clock::now();
        const bool done = qlx::MeasureRemotely(session, in).done();
        const auto end = Clock::now();
        const qlxbench::ThreadCpu cpu = qlxbench::ThreadCpu::Now() - cpuStart;
        if (!done) {
            state.SkipWithError("measurement failed");
            return;
        }
        qlxbench::Sample sample;
        sample.wallMs = qlxbench::Ms(end - start);
        sample.floor = qlxbench::MeasurementFloor(sim.Commands(), sim.Replies(), sweepMs, sweepWaitMs, 2, reopenMs);
        sample.cpu = cpu;
        qlxbench::Record(state, operation, sample);
    }
}
BENCHMARK(BM_FullRangeChannel)
    ->Args({6000, 1})
    ->Args({6000, 0})
    ->Args({10000, 1})
    ->ArgNames({"sweep_ms", "program_ui"})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return qlxbench::RunAndPrintTable(argc, argv);
}
