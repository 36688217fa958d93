#include "graph/redraw_graph.h"

#include <cstring>
#include <vector>

#include "graph/graph_colours.h"
#include "graph/graph_images.h"
#include "graph/plot_pen.h"
#include "judge/curve_points.h"
#include "judge/thresholds.h"

namespace qlx {

namespace {

constexpr int kCrossArm = 6;
constexpr int kCursorTop = 1;  // row 0 keeps the border
constexpr int kCursorEnd = 219;

constexpr std::uint8_t kShowMeasured = 1;
constexpr std::uint8_t kShowReference = 2;
constexpr std::uint8_t kShowThresholds = 4;

void DrawThresholdCurve(PlotPen& pen, const GraphScale& scale, const std::vector<ThresholdVertex>& curve)
{
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const ThresholdVertex& v = curve[i];
        const std::int64_t x = PointColumn(v.index);
        const std::int64_t y = v.onFloor ? kFloorRow : scale.ValueRow(v.value);
        if (i == 0)
            pen.MoveTo(x, y);
        else
            pen.LineTo(x, y);
    }
}

void DrawThresholds(PlotPen& pen, const GraphScale& scale, const ThresholdDrawing& d)
{
    pen.SetColour(kThresholdColour);
    DrawThresholdCurve(pen, scale, d.upper);
    DrawThresholdCurve(pen, scale, d.lower);
    for (const ThresholdCross& c : d.crosses) {
        pen.SetColour(c.kind == CrossKind::Ng2 ? kNg2Colour : kNg1Colour);
        const std::int64_t x = PointColumn(c.index);
        const std::int64_t y = scale.ValueRow(c.value);
        pen.MoveTo(x, y - kCrossArm);
        pen.LineTo(x, y + kCrossArm);
        pen.MoveTo(x - kCrossArm, y);
        pen.LineTo(x + kCrossArm, y);
    }
}

void CopyPlotToScreen(const QImage& plot, QImage& screen)
{
    const std::size_t rowBytes = static_cast<std::size_t>(kPlotWidth) * sizeof(QRgb);
    for (int y = 0; y < kPlotHeight; ++y)
        std::memcpy(screen.scanLine(kPlotOrigin.y() + y) + kPlotOrigin.x() * sizeof(QRgb), plot.constScanLine(y),
                    rowBytes);
}

}  // namespace

ImpGraphImages::ImpGraphImages()
    : GraphGridImage(MakeGraphGridImage()), DrawImpGraphImage(GraphGridImage.copy()), ImpGraphImage(MakeImpGraphFrame())
{
    CopyPlotToScreen(DrawImpGraphImage, ImpGraphImage);
}

void DrawCurve(PlotPen& pen, const GraphScale& scale, const CurveLines& lines, int c, int a, int b)
{
    const auto first = PointValue(lines, c, a);
    if (!first)
        return;
    pen.MoveTo(PointColumn(a), scale.ValueRow(*first));
    for (int j = a + 1; j <= b; ++j) {
        const auto v = PointValue(lines, c, j);
        if (!v)
            continue;
        pen.LineTo(PointColumn(j), *v == 0 ? kFloorRow : scale.ValueRow(*v));
    }
}

RedrawResult RedrawGraph(ImpGraphImages& images, const CurveState& s, const GraphView& view)
{
    RedrawResult result;
    QImage& plot = images.DrawImpGraphImage;
    std::memcpy(plot.bits(), images.GraphGridImage.constBits(), static_cast<std::size_t>(plot.sizeInBytes()));
    PlotPen pen(plot);
    const GraphScale& scale = view.Scale;
    const int c = s.SelectedChannel;

    if (s.ImpLoaded) {
        for (int ch = 0; ch < kChannelCount; ++ch) {
            if (!view.Overlay[ch] || ch == c)
                continue;
            pen.SetColour(kChannelColours[ch]);
            DrawCurve(pen, scale, s.ImpLines, ch, s.DrawMinFreq, s.DrawMaxFreq);
        }
    }
    const bool allowed = ChannelAllowed(s.RefLines, c);
    if (s.RefLoaded && (s.ShownCurves & kShowThresholds) && allowed) {
        const ThresholdDrawing d = JudgeThresholds(s.RefLines, s.ImpLines, c, {s.RefNg1[c], s.RefNg2[c], s.RefNg3[c]},
                                                   view.JudgeMin, view.JudgeMax);
        DrawThresholds(pen, scale, d);
        result.verdict = d.verdict;
    }
    if (s.RefLoaded && (s.ShownCurves & kShowReference) && allowed) {
        pen.SetColour(kReferenceColour);
        DrawCurve(pen, scale, s.RefLines, c, view.JudgeMin, view.JudgeMax);
    }
    if (s.ImpLoaded && (s.ShownCurves & kShowMeasured)) {
        pen.SetColour(kChannelColours[c]);
        DrawCurve(pen, scale, s.ImpLines, c, s.DrawMinFreq, s.DrawMaxFreq);
    }
    if (s.CursorOn) {
        pen.SetColour(kCursorColour);
        const int x = PointColumn(view.CursorIndex);
        pen.MoveTo(x, kCursorTop);
        pen.LineTo(x, kCursorEnd);
    }
    result.readouts = CursorValueReadouts(s, view.CursorIndex, view.JudgeMin, view.JudgeMax, allowed);
    CopyPlotToScreen(plot, images.ImpGraphImage);
    return result;
}

}  // namespace qlx
