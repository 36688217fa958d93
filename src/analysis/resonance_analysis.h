#pragma once

#include <optional>

#include "analysis/channel_points.h"
#include "analysis/refinement.h"
#include "analysis/resonance_model.h"
#include "analysis/resonance_parameters.h"
#include "analysis/resonance_peak.h"

namespace qlx {

// Everything the analysis finds in one channel's curve.
struct ResonanceAnalysis {
    ResonancePeak peak;           // found or why not
    ResonanceParameters classic;  // from the grid points (parabola and interpolated crossings)
    Refinement refinement;        // the fit and whether it was accepted
    ResonanceParameters refined;  // reported only when the fit was accepted
    AnalysisValue zmin;           // ohm, lowest measured |Z| above the resonance (first on ties)
    AnalysisValue zminHz;         // its grid frequency
    // The resonance as a model, for the phase estimate's low-frequency tail:
    // the accepted fit, else one built from the classic values.
    std::optional<ResonanceModel> model;

    // The values to show: the refined ones when the fit was accepted, else
    // the classic ones (refinement.outcome says why).
    const ResonanceParameters& Best() const { return refinement.Accepted() ? refined : classic; }
};

// Analyses one channel; reOhm is the user's reading of the voice-coil
// resistance (no value: the Re-dependent results are not reported).
ResonanceAnalysis AnalyzeResonance(const ChannelPoints& points, std::optional<double> reOhm);

}  // namespace qlx
