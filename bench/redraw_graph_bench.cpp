// Times one full RedrawGraph with every curve kind on: four measured channels
// (selected plus three overlays), reference, NG3 band, NG2/NG1 crosses and the
// cursor line, at zoom 1 and at zoom 10 where most of the lines leave the plot.
#include <benchmark/benchmark.h>
#include <QGuiApplication>

#include <cstdlib>
#include <string>

#include "graph/redraw_graph.h"

namespace {

qlx::CurveState BusyCurves()
{
    qlx::CurveState s;
    s.FillDefaultLines();
    for (int c = 0; c < qlx::kChannelCount; ++c) {
        for (int j = 0; j < qlx::kPointCount; ++j) {
            const int wave = (j * 37 + c * 11) % 200;
            s.ImpLines[qlx::PointSlot(c, j)] = std::to_string(150 + c * 120 + wave);
            s.RefLines[qlx::PointSlot(c, j)] = std::to_string(180 + c * 120 + wave / 2);
        }
    }
    s.ImpLoaded = s.RefLoaded = s.CursorOn = true;
    s.RefLines[qlx::TerminalLine].assign(1, 'G');
    return s;
}

void BM_RedrawGraph(benchmark::State& state)
{
    qlx::ImpGraphImages images;
    const qlx::CurveState s = BusyCurves();
    qlx::GraphView view;
    view.Overlay = {true, true, true, true};
    view.JudgeMin = 5;
    view.JudgeMax = 110;
    view.Scale = {static_cast<float>(state.range(0)), 0};
    int k = 0;
    for (auto _ : state) {
        view.CursorIndex = k++ % qlx::kPointCount;  // a dragged cursor
        qlx::RedrawResult r = qlx::RedrawGraph(images, s, view);
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawGraph)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
