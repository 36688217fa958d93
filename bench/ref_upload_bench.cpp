// Reference curve uploads against the simulated QLX-50 at the real line
// rate (both directions), with the protocol's real pauses: one slot from the
// open curve, a list of 8 curve files (the other 56 slots written empty, as
// a list upload writes all 64) and a list of 64 curve files. Each is set
// against its floor: 100 ms before every header packet, 25 ms before every
// point packet, and the line time of every byte exchanged (packets, status
// reply and the two answer bytes of each packet, as the simulator logged them).
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "comm/ref_upload.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "sim_curves.h"

namespace {

using qlxbench::Clock;

// A four-channel reference with the points of a real woofer, 3 or 4 digits each.
qlx::CurveLines WooferCurve(int n)
{
    qlx::CurveLines c;
    const qlxsim::Points points = qlxsim::CurveOf({6.0 + 0.05 * n, 40.0 + n, 35, 4.0, 0.2});
    for (int ch = 0; ch < qlx::kChannelCount; ++ch)
        for (int j = 0; j < qlx::kPointCount; ++j)
            c[qlx::PointSlot(ch, j)] = std::to_string(points[j] + 3 * ch);
    qlx::FillDefaults(c);
    c[qlx::TerminalLine] = "G";
    c[qlx::FlagsLine] = "C";
    c[qlx::NameLine] = qlx::NameLineFor("WOOFER-" + std::to_string(n));
    return c;
}

void RunUpload(benchmark::State& state, std::string operation, bool programUi, int refNo,
               const qlx::RefUploadSource& source)
{
    qlxsim::Qlx50Sim sim(qlxsim::SimConfig{true, 100, true, 1, qlxsim::SimMemory{}, {}});
    qlx::Trs232c port;
    qlx::ConfigureInstrumentPort(port);
    qlxbench::HeadlessUi headless({}, qlx::mrYes);
    qlxbench::ProgramUi program({}, qlx::mrYes);
    qlx::InstrumentUi& ui = programUi ? static_cast<qlx::InstrumentUi&>(program) : headless;
    qlx::InstrumentSession session(port, ui);
    operation += programUi ? ", program ui" : ", no window";
    session.ComPortName = sim.devicePath();

    for (auto _ : state) {
        sim.ClearLog();
        const qlxbench::ThreadCpu cpuStart = qlxbench::ThreadCpu::Now();
        const auto start = Clock::now();
        const auto result = qlx::UploadRefCurves(session, refNo, source);
        const auto end = Clock::now();
        const qlxbench::ThreadCpu cpu = qlxbench::ThreadCpu::Now() - cpuStart;
        if (!result.done() || headless.messages != 0 || program.messages != 0) {
            state.SkipWithError("upload failed");
            return;
        }
        qlxbench::Sample sample;
        sample.wallMs = qlxbench::Ms(end - start);
        sample.floor = qlxbench::ExchangeFloor(sim.Commands(), sim.Replies());
        sample.cpu = cpu;
        const std::vector<std::string> commands = sim.Commands();
        state.counters["packets"] = static_cast<double>(commands.size() - 1);
        sample.bareMs = qlxbench::ReplayBare(sim.devicePath(), commands, sim.Replies());
        qlxbench::Record(state, operation, sample);
    }
}

void BM_SingleUpload(benchmark::State& state)
{
    qlx::RefUploadSource source;
    source.RefLines = WooferCurve(1);
    RunUpload(state, "upload of 1 slot", state.range(0) == 1, 64, source);
}
BENCHMARK(BM_SingleUpload)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("program_ui")
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A list whose first `files` rows name curve files, the rest empty.
void BM_ListUpload(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    std::string folder = (std::filesystem::temp_directory_path() / "qlx-upload-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    qlx::RefList list;
    for (int r = 1; r <= files; ++r) {
        const std::string name = "ref" + std::to_string(r);
        if (!qlx::WriteCurveFile(folder + "/" + name + ".q5imp", WooferCurve(r)).ok)
            state.SkipWithError("cannot write a curve file");
        list.Row(r) = {"", name, folder, false};
    }
    qlx::RefUploadSource source;
    source.ListLines = qlx::BuildRefListLines(list);
    source.RefListDir = folder;
    RunUpload(state, "list upload, " + std::to_string(files) + " full slots", true, 0, source);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ListUpload)
    ->Arg(8)
    ->Arg(64)
    ->ArgName("files")
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
