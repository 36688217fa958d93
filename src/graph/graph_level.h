#pragma once

#include <array>
#include <string>

#include "graph/graph_scale.h"

namespace qlx {

// Vertical zoom (1, 2, 4, 10) and the level scroll bar beside the graph. The
// scroll bar's position is kept here; the widget mirrors it. LevelOffset, the
// value on the plot's bottom row, is Maximum - Position in 0.1 ohm.
struct GraphLevel {
    static constexpr int Maximum = 1000;

    float GraphZoom = 1.0f;
    int Minimum = 500;
    int Position = Maximum;
    int ScrollStep = 100;
    bool Visible = false;

    int LevelOffset() const { return Maximum - Position; }
    GraphScale Scale() const { return {GraphZoom, LevelOffset()}; }

    // 1 -> 2 -> 4 -> 10; false (nothing changed) at 10.
    bool ZoomIn();
    // 10 -> 4 -> 2 -> 1; false at 1.
    bool ZoomOut();
    // Back to zoom 1, offset 0, scroll bar hidden.
    void ZoomReset();
    // Position clamped to Minimum..Maximum; true when it changed.
    bool SetPosition(int position);
    // One ScrollStep up (direction -1: the band rises) or down (+1).
    bool Step(int direction) { return SetPosition(Position + direction * ScrollStep); }

    // Captions of ImpLabel1 (bottom, "##0") to ImpLabel6 (top, "###").
    std::array<std::string, 6> Labels() const;

private:
    void ApplyZoomSetting();
};

// A value in ohm as a whole number without separators, halves away from zero;
// zero shows as "0" with "##0" (showZero) and as "" with "###".
std::string WholeNumberText(double value, bool showZero);

}  // namespace qlx
