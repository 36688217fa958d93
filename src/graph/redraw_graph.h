#pragma once

#include <QImage>
#include <array>
#include <string>

#include "graph/graph_scale.h"
#include "graph/plot_pen.h"
#include "judge/cursor.h"
#include "judge/judge_result.h"
#include "model/curve_state.h"

namespace qlx {

// What a redraw reads besides the curve state: the window's controls.
struct GraphView {
    std::array<bool, kChannelCount> Overlay{};  // DrawCh1CheckBox .. DrawCh4CheckBox
    int JudgeMin = 0;                           // position of MinFreqUpDown
    int JudgeMax = kPointCount - 1;             // position of MaxFreqUpDown
    GraphScale Scale;
    int CursorIndex = kCursorStartIndex;  // position of CursorFreqUpDown
};

struct RedrawResult {
    JudgeResult verdict = JudgeResult::None;  // None when no judgement was made
    CursorReadouts readouts;
};

// The three images of the impedance graph.
struct ImpGraphImages {
    QImage GraphGridImage;     // 601 x 200 template, never shown
    QImage DrawImpGraphImage;  // 601 x 200 off-screen plot
    QImage ImpGraphImage;      // 650 x 235 screen graph with its frame

    ImpGraphImages();
};

// Rebuilds the plot from the grid template: overlays, thresholds with the
// judgement of the selected channel, reference, measured curve, cursor line;
// then copies it into the screen graph in one step.
RedrawResult RedrawGraph(ImpGraphImages& images, const CurveState& s, const GraphView& view);

// One curve of channel c over grid indices a..b.
void DrawCurve(PlotPen& pen, const GraphScale& scale, const CurveLines& lines, int c, int a, int b);

}  // namespace qlx
