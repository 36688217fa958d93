#include "analysis/refinement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/levenberg_marquardt.h"

namespace qlx {

namespace {

// Fit parameters: ln f0, ln q, ln rm (kept positive), rb in ohm, l in mH.
enum Param { kLnF0, kLnQ, kLnRm, kRb, kLmH, kParamCount };

ResonanceModel ModelOf(const std::vector<double>& p)
{
    return {std::exp(p[kLnF0]), std::exp(p[kLnQ]), std::exp(p[kLnRm]), p[kRb], p[kLmH] * 1e-3};
}

// Crossing of the level in ln|Z| walking from the peak; used only for the
// starting Q, so the nearest grid point is good enough.
double HalfWidthStart(const MeasuredSamples& s, const ResonancePeak& peak, double level)
{
    double lo = s.lnF.front(), hi = s.lnF.back();
    for (int p = peak.position; p >= 0; --p)
        if (s.lnZ[p] <= level) {
            lo = s.lnF[p];
            break;
        }
    for (int p = peak.position; p < s.size(); ++p)
        if (s.lnZ[p] <= level) {
            hi = s.lnF[p];
            break;
        }
    return std::exp(hi) - std::exp(lo);
}

}  // namespace

Refinement RefineResonance(const MeasuredSamples& s, const ResonancePeak& peak)
{
    Refinement out;
    if (!peak.Found())
        return out;

    std::vector<double> hz, lnZ;
    int below = 0, above = 0;
    double lowest = peak.zmaxOhm;
    for (int p = 0; p < s.size(); ++p) {
        if (s.hz[p] < peak.f0Hz / kFitSpan || s.hz[p] > peak.f0Hz * kFitSpan)
            continue;
        hz.push_back(s.hz[p]);
        lnZ.push_back(s.lnZ[p]);
        (s.hz[p] < peak.f0Hz ? below : above)++;
        lowest = std::min(lowest, s.ohm[p]);
    }
    out.points = static_cast<int>(hz.size());
    if (out.points < kMinFitPoints || below < 2 || above < 2) {
        out.outcome = RefinementOutcome::kTooFewPoints;
        return out;
    }

    // Start: the parabola's peak over the lowest point of the window.
    const double rb0 = lowest;
    const double rm0 = std::max(peak.zmaxOhm - rb0, 0.01 * peak.zmaxOhm);
    const double level = 0.5 * (std::log(rb0) + std::log(peak.zmaxOhm));
    const double width = HalfWidthStart(s, peak, level);
    const double q0 = width > 0 ? peak.f0Hz * std::sqrt(peak.zmaxOhm / rb0) / width : 1.0;
    std::vector<double> start(kParamCount);
    start[kLnF0] = std::log(peak.f0Hz);
    start[kLnQ] = std::log(std::clamp(q0, 0.05, 100.0));
    start[kLnRm] = std::log(rm0);
    start[kRb] = rb0;
    start[kLmH] = 0;

    const int m = out.points;
    const ResidualFunction residuals = [&](const std::vector<double>& p, std::vector<double>& r,
                                           std::vector<double>& jac) {
        using C = std::complex<double>;
        const ResonanceModel model = ModelOf(p);
        for (int i = 0; i < m; ++i) {
            const double f = hz[i];
            const double x = f / model.f0 - model.f0 / f;
            const C d(1.0, model.q * x);
            const C motional = model.rm / d;
            const C z = C(model.rb, 2 * std::numbers::pi * f * model.lH) + motional;
            if (std::abs(z) == 0)
                return false;
            r[i] = std::log(std::abs(z)) - lnZ[i];
            // d ln|Z| / dp = Re((dZ/dp) / Z)
            const C jq(0.0, model.q);
            const C dZ[kParamCount] = {
                motional * jq * (f / model.f0 + model.f0 / f) / d,  // ln f0
                -motional * jq * x / d,                             // ln q
                motional,                                           // ln rm
                C(1.0, 0.0),                                        // rb
                C(0.0, 2 * std::numbers::pi * f * 1e-3),            // l in mH
            };
            for (int k = 0; k < kParamCount; ++k)
                jac[static_cast<size_t>(i) * kParamCount + k] = (dZ[k] / z).real();
        }
        return true;
    };
    const LmResult fit = LevenbergMarquardt(residuals, m, start);
    out.model = ModelOf(fit.p);
    out.iterations = fit.iterations;
    out.rmsResidual = std::sqrt(2 * fit.cost / m);

    if (!fit.converged)
        out.outcome = RefinementOutcome::kNotConverged;
    else if (!(out.model.rb > 0) || !(out.model.rm > 0) || !(out.model.q > 0))
        out.outcome = RefinementOutcome::kUnphysical;
    else if (std::abs(out.model.f0 / peak.f0Hz - 1) > kMaxF0Shift)
        out.outcome = RefinementOutcome::kF0Moved;
    else if (out.rmsResidual > kMaxRmsResidual)
        out.outcome = RefinementOutcome::kResidualTooLarge;
    else
        out.outcome = RefinementOutcome::kAccepted;
    return out;
}

ResonanceParameters RefinedParameters(const MeasuredSamples& s, const Refinement& fit, std::optional<double> reOhm)
{
    ResonanceParameters p;
    if (!fit.Accepted()) {
        p.f0 = p.zmax = AnalysisValue::Missing(0);
        MarkReDependentMissing(p, 0);
        return p;
    }
    const ResonanceModel& m = fit.model;
    p.f0 = AnalysisValue::Valid(m.f0);
    p.zmax = AnalysisValue::Valid(m.rb + m.rm);
    if (!reOhm || !(*reOhm > 0)) {
        MarkReDependentMissing(p, kCaveatNoRe);
        return p;
    }
    const double re = *reOhm;
    const std::uint32_t reCaveats = ReCaveats(re, *std::min_element(s.ohm.begin(), s.ohm.end()));
    const double r0 = p.zmax.value / re;
    if (r0 <= 1) {
        MarkReDependentMissing(p, kCaveatReNotBelowPeak | reCaveats);
        p.r0 = AnalysisValue::With(r0, kCaveatReNotBelowPeak | reCaveats);
        return p;
    }
    p.r0 = AnalysisValue::With(r0, reCaveats);
    // f2 - f1 = f0 sqrt(r0) / Q and f1 f2 = f0^2, so the classic formula gives Q back.
    const double b = std::sqrt(r0) / (2 * m.q);
    p.f1 = AnalysisValue::With(m.f0 * (std::sqrt(1 + b * b) - b), reCaveats);
    p.f2 = AnalysisValue::With(m.f0 * (std::sqrt(1 + b * b) + b), reCaveats);
    FillQualityFactors(p);
    return p;
}

}  // namespace qlx
