// Round trip of one command and its reply through a pseudo-terminal to the
// simulated QLX-50, byte-by-byte reception as the protocol does it.
#include <benchmark/benchmark.h>

#include "comm/commands.h"
#include "comm/instrument_session.h"
#include "comm/rs232c.h"
#include "qlx50_sim.h"

namespace {

struct Line {
    qlxsim::Qlx50Sim sim;
    qlx::Trs232c port;
    explicit Line(bool paced) : sim(qlxsim::SimConfig{true, 6000, paced, 1, std::nullopt, {}})
    {
        qlx::ConfigureInstrumentPort(port);
        port.portname = sim.devicePath();
        port.open();
    }
    // Sends the command and reads the reply up to its ETX; false on failure.
    bool RoundTrip(const qlx::CommandBuffer& command)
    {
        port.write(command.bytes.data(), command.count);
        char c = 0;
        bool acked = false;
        while (port.readchar(c)) {
            if (c == qlx::ETX && acked)
                return true;
            if (c == qlx::ACK) {
                acked = true;
                port.readchar(c);  // the byte after ACK
            } else if (c == qlx::ETX) {
                return true;
            }
        }
        return false;
    }
};

void BM_StatusRoundTrip(benchmark::State& state)
{
    Line line(state.range(0) != 0);
    const auto command = qlx::StatusCommand();
    for (auto _ : state)
        if (!line.RoundTrip(command))
            state.SkipWithError("no reply");
}
BENCHMARK(BM_StatusRoundTrip)->Arg(0)->Arg(1)->ArgName("paced")->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_HeaderRoundTrip(benchmark::State& state)
{
    Line line(state.range(0) != 0);
    const auto command = qlx::ReadCommand(qlx::CurveStore::Reference, qlx::ReadPart::Header, 0, 0);
    for (auto _ : state)
        if (!line.RoundTrip(command))
            state.SkipWithError("no reply");
}
BENCHMARK(BM_HeaderRoundTrip)->Arg(0)->Arg(1)->ArgName("paced")->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_CurveBlockRoundTrip(benchmark::State& state)
{
    Line line(false);
    const auto command = qlx::ReadCommand(qlx::CurveStore::Reference, qlx::ReadPart::Curve, 0, 0);
    for (auto _ : state)
        if (!line.RoundTrip(command))
            state.SkipWithError("no reply");
}
BENCHMARK(BM_CurveBlockRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
