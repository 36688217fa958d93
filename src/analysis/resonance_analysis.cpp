#include "analysis/resonance_analysis.h"

#include <algorithm>

#include "analysis/classic_parameters.h"
#include "analysis/measured_samples.h"

namespace qlx {

namespace {

// A model of the resonance from the classic values when there is no accepted
// fit: baseline Re (or, lacking it, the lowest |Z| after the peak, which is
// good enough for a shape), no inductance.
std::optional<ResonanceModel> ClassicModel(const MeasuredSamples& s, const ResonancePeak& peak,
                                           std::optional<double> reOhm, double lowestAfter)
{
    double rb = lowestAfter;
    if (reOhm && *reOhm > 0 && *reOhm < peak.zmaxOhm)
        rb = *reOhm;
    const ResonanceParameters shape = ClassicParameters(s, peak, rb);
    if (!shape.qms.Reported() || !(shape.qms.value > 0) || !(peak.zmaxOhm > rb))
        return std::nullopt;
    return ResonanceModel{peak.f0Hz, shape.qms.value, peak.zmaxOhm - rb, rb, 0};
}

}  // namespace

ResonanceAnalysis AnalyzeResonance(const ChannelPoints& points, std::optional<double> reOhm)
{
    ResonanceAnalysis a;
    const MeasuredSamples s = SamplesOf(points);
    a.peak = FindResonancePeak(s);
    a.classic = ClassicParameters(s, a.peak, reOhm);
    a.refinement = RefineResonance(s, a.peak);
    a.refined = RefinedParameters(s, a.refinement, reOhm);

    if (s.size() == 0) {
        a.zmin = a.zminHz = AnalysisValue::Missing(kCaveatNoResonance);
        return a;
    }
    const int from = a.peak.Found() ? a.peak.position + 1 : 0;
    const auto lowest = std::min_element(s.ohm.begin() + from, s.ohm.end());
    const int at = static_cast<int>(lowest - s.ohm.begin());
    const std::uint32_t why = a.peak.Found() ? 0u : kCaveatWholeRange;
    a.zmin = AnalysisValue::With(*lowest, why);
    a.zminHz = AnalysisValue::With(s.hz[at], why);

    if (a.refinement.Accepted())
        a.model = a.refinement.model;
    else if (a.peak.Found())
        a.model = ClassicModel(s, a.peak, reOhm, *lowest);
    return a;
}

}  // namespace qlx
