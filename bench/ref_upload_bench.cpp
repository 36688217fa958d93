// Reference curve uploads against the simulated QLX-50 at the real line
// rate (both directions), with the protocol's real pauses: one slot from the
// open curve, and a list of 64 curve files. Each is set against its floor,
// the mandated pauses plus the time every byte takes on the line.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "comm/ref_upload.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "sim_curves.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kByteMs = 11.0 * 1000.0 / 38400.0;  // 8-O-1 at 38400 bit/s

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// No window: the progress dialog only counts, events are nothing to do.
class CountingUi : public qlx::InstrumentUi {
public:
    int ShowMessage(qlx::MsgDlg, const std::string&) override { return ++messages, qlx::mrYes; }
    bool ProgressOpen(const std::string&, int, int maximum) override { return limit = maximum, count = 0, true; }
    bool ProgressStep() override { return ++count <= limit; }
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
};

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

// The floor of what the simulator received: pauses before each packet, and
// on the line every command byte, the status reply and two answer bytes a packet.
double FloorMs(const std::vector<std::string>& commands, std::size_t statusReply)
{
    double ms = 0;
    std::size_t bytes = statusReply + 1;
    for (const std::string& c : commands) {
        bytes += c.size();
        if (c.rfind("RSTT", 0) == 0)
            continue;
        ms += c.rfind("WIMP\n", 0) == 0 ? qlx::kHeaderPauseMs : qlx::kPointPauseMs;
        bytes += 2;
    }
    return ms + static_cast<double>(bytes) * kByteMs;
}

void RunUpload(benchmark::State& state, int refNo, const qlx::RefUploadSource& source)
{
    qlxsim::Qlx50Sim sim(qlxsim::SimConfig{true, 100, true, 1, qlxsim::SimMemory{}, {}});
    qlx::Trs232c port;
    qlx::ConfigureInstrumentPort(port);
    CountingUi ui;
    qlx::InstrumentSession session(port, ui);
    session.ComPortName = sim.devicePath();

    double total = 0, floor = 0;
    std::size_t packets = 0;
    for (auto _ : state) {
        sim.ClearLog();
        const auto start = Clock::now();
        const auto result = qlx::UploadRefCurves(session, refNo, source);
        const auto end = Clock::now();
        if (!result.done() || ui.messages != 0)
            state.SkipWithError("upload failed");
        total += Ms(end - start);
        const auto commands = sim.Commands();
        floor += FloorMs(commands, sim.StatusText().size());
        packets = commands.size() - 1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["total_ms"] = total / n;
    state.counters["floor_ms"] = floor / n;
    state.counters["ratio"] = total / floor;
    state.counters["packets"] = static_cast<double>(packets);
}

void BM_SingleUpload(benchmark::State& state)
{
    qlx::RefUploadSource source;
    source.RefLines = WooferCurve(1);
    RunUpload(state, 64, source);
}
BENCHMARK(BM_SingleUpload)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ListUploadOf64Curves(benchmark::State& state)
{
    std::string folder = (std::filesystem::temp_directory_path() / "qlx-upload-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    qlx::RefList list;
    for (int r = 1; r <= qlx::kRefListRows; ++r) {
        const std::string name = "ref" + std::to_string(r);
        if (!qlx::WriteCurveFile(folder + "/" + name + ".q5imp", WooferCurve(r)).ok)
            state.SkipWithError("cannot write a curve file");
        list.Row(r) = {"", name, folder, false};
    }
    qlx::RefUploadSource source;
    source.ListLines = qlx::BuildRefListLines(list);
    source.RefListDir = folder;
    RunUpload(state, 0, source);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ListUploadOf64Curves)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
