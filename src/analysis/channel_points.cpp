#include "analysis/channel_points.h"

#include <algorithm>

namespace qlx {

ChannelPoints ChannelPointsOf(const CurveLines& lines, int channel, int first, int last)
{
    ChannelPoints points{};
    if (channel < 0 || channel >= kChannelCount)
        return points;
    first = std::max(first, 0);
    last = std::min(last, kPointCount - 1);
    for (int j = first; j <= last; ++j) {
        const std::optional<int> v = ParsePoint(lines[PointSlot(channel, j)]);
        if (v && *v > 0)
            points[j] = *v;
    }
    return points;
}

ChannelPoints ChannelPointsFromValues(const std::array<int, kPointCount>& values)
{
    ChannelPoints points{};
    for (int j = 0; j < kPointCount; ++j)
        if (values[j] > 0)
            points[j] = values[j];
    return points;
}

}  // namespace qlx
