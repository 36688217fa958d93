#pragma once

#include <cstdint>

#include "model/curve_lines.h"

namespace qlx {

constexpr int kPlotWidth = 601;   // columns 0..600
constexpr int kPlotHeight = 200;  // rows 0..199
constexpr int kFloorRow = 200;    // just under the plot: where 0 ohm and zero thresholds lie

// Zoom and level as the drawing sees them: the plot shows LevelOffset (0.1
// ohm) on row 200 and 100 / GraphZoom ohm more on row 0.
struct GraphScale {
    float GraphZoom = 1.0f;
    int LevelOffset = 0;

    // Row of value v (0.1 ohm); far-off values give far-off rows, which the
    // line painter clips.
    std::int64_t ValueRow(std::int64_t v) const;
};

// Column of grid index j: 5 per index, 600 for the last (no 19 kHz point).
int PointColumn(int j);

// Whether the reference curve's terminal carries channel c (0..3).
bool ChannelAllowed(const CurveLines& ref, int c);

}  // namespace qlx
