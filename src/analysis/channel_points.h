#pragma once

#include <array>
#include <optional>

#include "model/curve_lines.h"

namespace qlx {

// One channel's impedance points in 0.1 ohm, indexed by grid point; empty
// where nothing was measured.
using ChannelPoints = std::array<std::optional<int>, kPointCount>;

// Channel c of a curve within its valid range first..last (clamped to the
// grid). A point "0", a negative value or a line that is no integer holds no
// measurement.
ChannelPoints ChannelPointsOf(const CurveLines& lines, int channel, int first, int last);

// The same from plain values (0 or less: no measurement), for curves built in code.
ChannelPoints ChannelPointsFromValues(const std::array<int, kPointCount>& values);

}  // namespace qlx
