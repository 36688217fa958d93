#include "graph/graph_scale.h"

#include <cmath>

namespace qlx {

std::int64_t GraphScale::ValueRow(std::int64_t v) const
{
    const double perRow = 5.0 / static_cast<double>(GraphZoom);
    // nearbyint rounds halves to even in the default rounding mode.
    return kFloorRow - static_cast<std::int64_t>(std::nearbyint(static_cast<double>(v - LevelOffset) / perRow));
}

int PointColumn(int j) { return j >= kPointCount - 1 ? 600 : 5 * j; }

bool ChannelAllowed(const CurveLines& ref, int c)
{
    const std::string& t = ref[TerminalLine];
    if (c == 0)
        return true;
    if (c == 1)
        return t != "B";
    return t != "B" && t != "C" && t != "E" && t != "F";
}

}  // namespace qlx
