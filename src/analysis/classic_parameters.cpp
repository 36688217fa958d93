#include "analysis/classic_parameters.h"

#include <algorithm>
#include <cmath>

namespace qlx {

namespace {

// ln f where ln|Z| falls to `level`, walking from the peak in `step` (-1 or
// +1); no value when the measured points end first.
std::optional<double> Crossing(const MeasuredSamples& s, const ResonancePeak& peak, double level, int step)
{
    if (s.lnZ[peak.position] <= level) {
        // The grid's top point is already below the level: the crossing lies
        // on the parabola, between the vertex and the grid point.
        const double half = std::sqrt(2 * (std::log(peak.zmaxOhm) - level) / -peak.lnCurvature);
        return std::log(peak.f0Hz) + step * half;
    }
    for (int p = peak.position + step; p >= 0 && p < s.size(); p += step) {
        if (s.lnZ[p] > level)
            continue;
        const int q = p - step;  // the neighbour towards the peak, above the level
        return s.lnF[p] + (level - s.lnZ[p]) * (s.lnF[q] - s.lnF[p]) / (s.lnZ[q] - s.lnZ[p]);
    }
    return std::nullopt;
}

}  // namespace

ResonanceParameters ClassicParameters(const MeasuredSamples& s, const ResonancePeak& peak, std::optional<double> reOhm)
{
    ResonanceParameters p;
    if (!peak.Found()) {
        p.f0 = p.zmax = AnalysisValue::Missing(kCaveatNoResonance);
        MarkReDependentMissing(p, kCaveatNoResonance);
        return p;
    }
    p.f0 = AnalysisValue::Valid(peak.f0Hz);
    p.zmax = AnalysisValue::Valid(peak.zmaxOhm);
    if (!reOhm || !(*reOhm > 0)) {
        MarkReDependentMissing(p, kCaveatNoRe);
        return p;
    }
    const double re = *reOhm;
    const std::uint32_t reCaveats = ReCaveats(re, *std::min_element(s.ohm.begin(), s.ohm.end()));
    const double r0 = peak.zmaxOhm / re;
    if (r0 <= 1) {
        MarkReDependentMissing(p, kCaveatReNotBelowPeak | reCaveats);
        p.r0 = AnalysisValue::With(r0, kCaveatReNotBelowPeak | reCaveats);
        return p;
    }
    p.r0 = AnalysisValue::With(r0, reCaveats);

    const double level = 0.5 * (std::log(re) + std::log(peak.zmaxOhm));
    const std::optional<double> x1 = Crossing(s, peak, level, -1);
    const std::optional<double> x2 = Crossing(s, peak, level, +1);
    const double f0 = peak.f0Hz;
    if (x1 && x2) {
        p.f1 = AnalysisValue::With(std::exp(*x1), reCaveats);
        p.f2 = AnalysisValue::With(std::exp(*x2), reCaveats);
    } else if (x2) {
        const double f2 = std::exp(*x2);
        p.f1 = AnalysisValue::With(f0 * f0 / f2, reCaveats | kCaveatF1BelowRange);
        p.f2 = AnalysisValue::With(f2, reCaveats);
    } else if (x1) {
        const double f1 = std::exp(*x1);
        p.f1 = AnalysisValue::With(f1, reCaveats);
        p.f2 = AnalysisValue::With(f0 * f0 / f1, reCaveats | kCaveatF2AboveRange);
    } else {
        p.f1 = p.f2 = AnalysisValue::Missing(reCaveats | kCaveatNoCrossing);
    }
    FillQualityFactors(p);
    return p;
}

}  // namespace qlx
