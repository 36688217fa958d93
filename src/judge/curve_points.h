#pragma once

#include <optional>

#include "model/curve_lines.h"

namespace qlx {

// Point j of channel c as a decimal integer in 0.1 ohm; nullopt ("missing")
// when the line is no integer. Indices outside the grid read as missing too,
// so a range decoded from a damaged header never reaches other slots.
inline std::optional<int> PointValue(const CurveLines& lines, int c, int j)
{
    if (c < 0 || c >= kChannelCount || j < 0 || j >= kPointCount)
        return std::nullopt;
    return ParsePoint(lines[PointSlot(c, j)]);
}

}  // namespace qlx
