// Download of all 64 references and then all 64 measured curves from the
// simulated QLX-50 (its default memory, or one with every slot stored) at
// the real line rate, against the
// two costs the protocol fixes: the 25 ms pause before every data command
// and the wire time of every byte received (11 bits at 38400 bit/s). Once
// with the program's own user interface (progress dialog, window events
// after every received byte) on the offscreen platform, once with a user
// interface that does nothing, to show what the window events cost.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "comm/downloads.h"
#include "qlx50_sim.h"
#include "sim_curves.h"
#include "sim_responder.h"
#include "support/temp_dir.h"
#include "ui/qt_instrument_ui.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kByteSeconds = 11.0 / 38400;  // 286 µs

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The program's user interface, with the folder picked and the completion
// message taken without a modal box.
class ProgramUi : public qlx::QtInstrumentUi {
public:
    ProgramUi(qlx::MainMsgDlgs& dialogs, std::string folder) : QtInstrumentUi(dialogs), folder_(std::move(folder)) {}
    int ShowMessage(qlx::MsgDlg, const std::string&) override { return qlx::mrOk; }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&, const std::string&) override
    {
        return folder_;
    }

private:
    std::string folder_;
};

// Nothing on a screen and no events: the transfer alone.
class SilentUi : public qlx::InstrumentUi {
public:
    explicit SilentUi(std::string folder) : folder_(std::move(folder)) {}
    int ShowMessage(qlx::MsgDlg, const std::string&) override { return qlx::mrOk; }
    bool ProgressOpen(const std::string&, int, int maximum) override { return limit_ = maximum, count_ = 0, true; }
    bool ProgressStep() override { return ++count_ <= limit_; }
    void ProgressClose() override {}
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&, const std::string&) override
    {
        return folder_;
    }
    bool MoveToTrash(const std::string&) override { return false; }
    void ProcessEvents() override {}

private:
    std::string folder_;
    int count_ = 0;
    int limit_ = 0;
};

// Bytes the instrument sent for the commands logged: every reply as the
// simulator's interpreter answers it, on a copy of its memory.
long ReplyBytes(const qlxsim::SimMemory& memory, const std::vector<std::string>& commands)
{
    qlxsim::SimMemory copy = memory;
    qlxsim::SimResponder responder(copy, 1);
    long bytes = 0;
    for (const std::string& c : commands)
        bytes += static_cast<long>(responder.Answer(c.substr(0, c.size() - 1)).now.size());
    return bytes;
}

// The default curves repeated into every slot.
qlxsim::SimMemory FullMemory()
{
    const qlxsim::SimMemory defaults = qlxsim::DefaultMemory(1);
    std::vector<qlx::CurveLines> refs, measured;
    for (int s = 0; s < qlxsim::kSlots; ++s) {
        if (qlxsim::SimMemory::Stored(defaults.ref[s]))
            refs.push_back(defaults.ref[s]);
        if (qlxsim::SimMemory::Stored(defaults.meas[s]))
            measured.push_back(defaults.meas[s]);
    }
    qlxsim::SimMemory full;
    for (size_t s = 0; s < qlxsim::kSlots; ++s) {
        full.ref[s] = refs[s % refs.size()];
        full.meas[s] = measured[s % measured.size()];
    }
    return full;
}

void BM_DownloadEverything(benchmark::State& state)
{
    const bool programUi = state.range(0) == 1;
    const bool full = state.range(1) == 1;
    qlxsim::Qlx50Sim sim(qlxsim::SimConfig{true, 6000, true, 1, full ? std::optional(FullMemory()) : std::nullopt, {}});
    const qlxsim::SimMemory memory = sim.Memory();
    qlxtest::TempDir dir;
    qlx::MainMsgDlgs dialogs;
    ProgramUi program(dialogs, dir.path().string());
    SilentUi silent(dir.path().string());
    qlx::InstrumentUi& ui = programUi ? static_cast<qlx::InstrumentUi&>(program) : silent;
    qlx::Trs232c port;
    qlx::ConfigureInstrumentPort(port);
    qlx::InstrumentSession session(port, ui);
    session.ComPortName = sim.devicePath();
    int pauses = 0;
    session.Pause = [&](int ms) {
        ++pauses;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };

    double total = 0, refs = 0, mandated = 0, wire = 0;
    long files = 0;
    for (auto _ : state) {
        sim.ClearLog();
        pauses = 0;
        qlx::DownloadRequest request;
        request.Today = {2024, 12, 8};
        qlx::DownloadRecord refRecord, impRecord;
        const auto start = Clock::now();
        const bool refsDone = qlx::DownloadReferences(session, request, refRecord).done();
        const auto between = Clock::now();
        const bool impDone = qlx::DownloadMeasured(session, request, impRecord).done();
        const auto end = Clock::now();
        if (!refsDone || !impDone)
            state.SkipWithError("a download failed");
        total += Seconds(end - start);
        refs += Seconds(between - start);
        mandated += pauses * qlx::kDataPauseMs / 1000.0;
        wire += static_cast<double>(ReplyBytes(memory, sim.Commands())) * kByteSeconds;
        files += static_cast<long>(refRecord.Files.size() + impRecord.Files.size());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["total_s"] = total / n;
    state.counters["references_s"] = refs / n;
    state.counters["measured_s"] = (total - refs) / n;
    state.counters["pauses_s"] = mandated / n;
    state.counters["wire_s"] = wire / n;
    state.counters["ratio"] = total / (mandated + wire);
    state.counters["files"] = static_cast<double>(files) / n;
}
BENCHMARK(BM_DownloadEverything)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->ArgNames({"program_ui", "every_slot_stored"})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
