// Times one full RedrawGraph with every curve kind on: four measured channels
// (selected plus three overlays), reference, NG3 band, NG2/NG1 crosses and the
// cursor line, at zoom 1 and at zoom 10 where most of the lines leave the plot.
// Before timing, the picture is checked to hold a pixel of every kind, so the
// figure is never that of a redraw that left something out.
#include <benchmark/benchmark.h>
#include <QGuiApplication>

#include <cstdlib>
#include <string>

#include "graph/graph_colours.h"
#include "graph/graph_scale.h"
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

// The kinds of line a redraw of BusyCurves() must show, by colour, with the
// number of their pixels in the plot; NG1 crosses share red with the cursor
// line and are counted off the cursor's column.
std::string MissingKinds(const QImage& plot, int cursorIndex)
{
    struct Kind {
        const char* name;
        QRgb colour;
        bool offCursorColumn;
        int pixels;
    };
    Kind kinds[] = {
        {"channel 1 (selected)", qlx::kChannelColours[0], false, 0},
        {"channel 2 overlay", qlx::kChannelColours[1], false, 0},
        {"channel 3 overlay", qlx::kChannelColours[2], false, 0},
        {"channel 4 overlay", qlx::kChannelColours[3], false, 0},
        {"reference", qlx::kReferenceColour, false, 0},
        {"NG3 thresholds", qlx::kThresholdColour, false, 0},
        {"NG2 crosses", qlx::kNg2Colour, false, 0},
        {"NG1 crosses", qlx::kNg1Colour, true, 0},
        {"cursor", qlx::kCursorColour, false, 0},
    };
    const int cursorColumn = qlx::PointColumn(cursorIndex);
    for (int y = 0; y < plot.height(); ++y)
        for (int x = 0; x < plot.width(); ++x)
            for (Kind& k : kinds)
                if (plot.pixel(x, y) == k.colour && (!k.offCursorColumn || x != cursorColumn))
                    ++k.pixels;
    std::string missing;
    for (const Kind& k : kinds)
        if (k.pixels == 0)
            missing += std::string(missing.empty() ? "" : ", ") + k.name;
    return missing;
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
    // Checked at zoom 1, where every line stays inside the plot.
    qlx::GraphView whole = view;
    whole.Scale = {1, 0};
    whole.CursorIndex = 40;
    (void)qlx::RedrawGraph(images, s, whole);
    if (const std::string missing = MissingKinds(images.DrawImpGraphImage, whole.CursorIndex); !missing.empty()) {
        state.SkipWithError(("the picture lacks: " + missing).c_str());
        return;
    }
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
