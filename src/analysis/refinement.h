#pragma once

#include <cstdint>
#include <optional>

#include "analysis/measured_samples.h"
#include "analysis/resonance_model.h"
#include "analysis/resonance_parameters.h"
#include "analysis/resonance_peak.h"

namespace qlx {

// The fit covers f0/3 ... 3 f0 around the parabola's f0.
constexpr double kFitSpan = 3.0;
// A fit is accepted only when its f0 lies this close to the parabola's.
constexpr double kMaxF0Shift = 0.03;
// ... and the root mean square of its ln|Z| residuals is at most this
// (0.02 is about 2 % of |Z|; rounding to 0.1 ohm alone gives well under 1 %).
constexpr double kMaxRmsResidual = 0.02;
constexpr int kMinFitPoints = 8;

enum class RefinementOutcome : std::uint8_t {
    kAccepted,
    kNoResonance,       // nothing to refine
    kTooFewPoints,      // fewer than kMinFitPoints in the window, or none on one side of f0
    kNotConverged,      // the least-squares fit did not converge
    kF0Moved,           // the fit's f0 is more than kMaxF0Shift from the parabola's
    kResidualTooLarge,  // the curve does not look like a single resonance there
    kUnphysical,        // a baseline or peak height that is not positive
};

struct Refinement {
    RefinementOutcome outcome = RefinementOutcome::kNoResonance;
    ResonanceModel model;  // the fit (set whenever a fit ran)
    double rmsResidual = 0;
    int iterations = 0;
    int points = 0;  // measured points in the window

    bool Accepted() const { return outcome == RefinementOutcome::kAccepted; }
};

// Least-squares fit of the single-resonance model (free baseline and plain
// inductance) to ln|Z| over f0/3 ... 3 f0. Needs no Re: the baseline is free.
Refinement RefineResonance(const MeasuredSamples& samples, const ResonancePeak& peak);

// The parameters the accepted fit gives: f0 and Q of the fit, Zmax = rb + rm
// (the resonance's height without the coil's reactance), f1 and f2 on the
// model, and the Q values by the same formulas and rules as the classic method.
ResonanceParameters RefinedParameters(const MeasuredSamples& samples, const Refinement& fit,
                                      std::optional<double> reOhm);

}  // namespace qlx
