// Listing of the 64 references, download of all 64 references and download
// of all 64 measured curves from a simulated QLX-50 with every slot stored,
// at the real line rate, each set against its floor: the 25 ms pause before
// every data command and the line time of every byte the run exchanged
// (commands and replies as the simulator logged them). With the program's
// own user interface (progress dialog, window events after every received
// byte) on the offscreen platform, and without any to show what the window
// events cost; the download of the references also from the simulator's
// default memory (eight stored, the other slots read as empty).
#include <QApplication>
#include <cstdlib>

#include "bench_support.h"
#include "comm/downloads.h"
#include "qlx50_sim.h"
#include "sim_curves.h"
#include "support/temp_dir.h"

namespace {

using qlxbench::Clock;

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

enum class Kind { RefListing, RefDownload, ImpDownload };

const char* NameOf(Kind kind)
{
    switch (kind) {
    case Kind::RefListing: return "listing of 64 references";
    case Kind::RefDownload: return "download of 64 references";
    case Kind::ImpDownload: return "download of 64 measured curves";
    }
    return "";
}

void BM_Download(benchmark::State& state)
{
    const Kind kind = static_cast<Kind>(state.range(0));
    const bool programUi = state.range(1) == 1;
    const bool full = state.range(2) == 1;
    qlxsim::Qlx50Sim sim(qlxsim::SimConfig{true, 6000, true, 1, full ? std::optional(FullMemory()) : std::nullopt, {}});
    qlxtest::TempDir dir;
    qlxbench::HeadlessUi headless(dir.path().string());
    qlxbench::ProgramUi program(dir.path().string());
    qlx::InstrumentUi& ui = programUi ? static_cast<qlx::InstrumentUi&>(program) : headless;
    qlx::Trs232c port;
    qlx::ConfigureInstrumentPort(port);
    qlx::InstrumentSession session(port, ui);
    session.ComPortName = sim.devicePath();

    const std::string operation =
        std::string(NameOf(kind)) + (full ? "" : " (8 stored)") + ", " + (programUi ? "program ui" : "no window");
    for (auto _ : state) {
        sim.ClearLog();
        qlx::DownloadRequest request;
        request.today = {2024, 12, 8};
        qlx::DownloadRecord record;
        const qlxbench::ThreadCpu cpuStart = qlxbench::ThreadCpu::Now();
        const auto start = Clock::now();
        bool done = false;
        switch (kind) {
        case Kind::RefListing: done = qlx::ListReferences(session).done(); break;
        case Kind::RefDownload: done = qlx::DownloadReferences(session, request, record).done(); break;
        case Kind::ImpDownload: done = qlx::DownloadMeasured(session, request, record).done(); break;
        }
        const auto end = Clock::now();
        const qlxbench::ThreadCpu cpu = qlxbench::ThreadCpu::Now() - cpuStart;
        if (!done) {
            state.SkipWithError("the operation failed");
            return;
        }
        qlxbench::Sample sample;
        sample.wallMs = qlxbench::Ms(end - start);
        sample.floor = qlxbench::ExchangeFloor(sim.Commands(), sim.Replies());
        sample.cpu = cpu;
        sample.bareMs = qlxbench::ReplayBare(sim.devicePath(), sim.Commands(), sim.Replies());
        qlxbench::Record(state, operation, sample);
        state.counters["files"] = static_cast<double>(record.files.size());
    }
}
BENCHMARK(BM_Download)
    ->Args({static_cast<int>(Kind::RefListing), 1, 1})
    ->Args({static_cast<int>(Kind::RefListing), 0, 1})
    ->ArgNames({"kind", "program_ui", "every_slot_stored"})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Download)
    ->Args({static_cast<int>(Kind::RefDownload), 1, 1})
    ->Args({static_cast<int>(Kind::RefDownload), 0, 1})
    ->Args({static_cast<int>(Kind::RefDownload), 1, 0})
    ->Args({static_cast<int>(Kind::ImpDownload), 1, 1})
    ->ArgNames({"kind", "program_ui", "every_slot_stored"})
    ->Iterations(1)
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
