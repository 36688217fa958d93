#pragma once

#include <functional>
#include <string>

#include "model/curve_state.h"

namespace qlx::test {

// Curves with default lines and every point of every channel set to value.
inline CurveState FlatCurves(int measured, int reference)
{
    CurveState s;
    s.FillDefaultLines();
    for (int c = 0; c < kChannelCount; ++c) {
        for (int j = 0; j < kPointCount; ++j) {
            s.ImpLines[PointSlot(c, j)] = std::to_string(measured);
            s.RefLines[PointSlot(c, j)] = std::to_string(reference);
        }
    }
    s.ImpLoaded = s.RefLoaded = true;
    s.RefLines[TerminalLine] = "G";
    return s;
}

inline void SetPoint(CurveLines& lines, int c, int j, int value) { lines[PointSlot(c, j)] = std::to_string(value); }
inline void SetPointText(CurveLines& lines, int c, int j, const std::string& text) { lines[PointSlot(c, j)] = text; }

}  // namespace qlx::test
