#pragma once

#include <cstdint>

#include "analysis/measured_samples.h"

namespace qlx {

// A peak counts as a resonance only when it is at least this many times the
// lowest |Z| after it.
constexpr double kStandOutRatio = 1.3;

enum class PeakVerdict : std::uint8_t {
    kFound,
    kTooFewPoints,      // fewer than three measured points
    kFlat,              // the whole curve varies by less than the stand-out ratio
    kPeakAtFirstPoint,  // the curve falls from its first measured point: the resonance lies below it
    kWeakPeak,          // local maxima exist, none stands out
    kNoPeak,            // no interior local maximum at all (a curve that only rises or only falls)
};

struct ResonancePeak {
    PeakVerdict verdict = PeakVerdict::kTooFewPoints;
    int position = -1;  // into the samples
    int index = -1;     // grid index of the highest point of the peak
    // Vertex of the parabola through the top three points in (ln f, ln |Z|);
    // a broad top, which rounding to 0.1 ohm leaves flat over several points,
    // gets the least-squares parabola over all of them and one more each side.
    double f0Hz = 0;
    double zmaxOhm = 0;
    // Second derivative of that parabola (d^2 ln|Z| / d(ln f)^2, negative).
    double lnCurvature = 0;

    bool Found() const { return verdict == PeakVerdict::kFound; }
};

// The resonance of a curve: of the interior local maxima that stand out, the
// highest (first on ties). Never simply the curve's largest value: a woofer's
// inductive rise towards 20 kHz is often higher, but nothing falls after it.
ResonancePeak FindResonancePeak(const MeasuredSamples& samples);

}  // namespace qlx
