#pragma once

#include <array>
#include <optional>

#include "analysis/channel_points.h"
#include "analysis/resonance_analysis.h"

namespace qlx {

using PhasePoints = std::array<std::optional<double>, kPointCount>;  // degrees

// The minimum-phase estimate from ln|Z| (a loudspeaker's impedance is minimum
// phase): Bode's gain-phase relation on the log-frequency axis,
//   phase(u0) = 1/pi * integral of d ln|Z|/du * ln coth(|u - u0| / 2) du,  u = ln f,
// with ln|Z| following a cubic curve through the measured points (gaps are
// bridged). Below the first measured point the curve follows the analysis's
// resonance model (flat when there is none); above the last one it continues
// as the resonance's motional part plus a resistance and a plain inductance
// fitted to the top points. A value at every measured point, none elsewhere,
// kept within +-90 degrees.
PhasePoints MinimumPhaseDeg(const ChannelPoints& points, const ResonanceAnalysis& analysis);

// Integral of ln coth(t/2) from 0 to v, for v >= 0 (pi^2/4 as v grows).
double BodeKernelIntegral(double v);

}  // namespace qlx
