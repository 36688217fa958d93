#pragma once

#include <optional>

#include "analysis/measured_samples.h"
#include "analysis/resonance_parameters.h"
#include "analysis/resonance_peak.h"

namespace qlx {

// The classic method on the grid: f0 and Zmax from the peak's parabola; with
// Re, r0 = Zmax/Re and f1, f2 where |Z| crosses sqrt(Re * Zmax), interpolated
// linearly in (ln f, ln |Z|). A crossing beyond the measured points is
// estimated from the other one by the resonance's symmetry in ln f
// (f1 f2 = f0^2) and flagged. Re must be the user's reading: |Z|min is not Re.
ResonanceParameters ClassicParameters(const MeasuredSamples& samples, const ResonancePeak& peak,
                                      std::optional<double> reOhm);

}  // namespace qlx
