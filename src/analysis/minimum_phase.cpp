#include "analysis/minimum_phase.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "analysis/levenberg_marquardt.h"
#include "analysis/measured_samples.h"

namespace qlx {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kQuarterPiSquared = kPi * kPi / 4;
constexpr int kTailKnotsPerDecade = 20;
// Each tail reaches four decades beyond the measured points; further out
// its end slope stands in (the kernel has fallen below 1e-4 there).
constexpr int kTailDecades = 4;
constexpr int kTopPoints = 16;    // the points the coil is fitted to
constexpr int kSubdivisions = 4;  // pieces between two measured points

// Sum of y^n / n^2 over odd n (Legendre's chi_2), for 0 <= y <= 0.5.
double Chi2(double y)
{
    double sum = 0, power = y, y2 = y * y;
    for (int n = 1; power > 1e-18 * sum || n == 1; n += 2) {
        sum += power / (double(n) * n);
        power *= y2;
    }
    return sum;
}

// Odd extension of BodeKernelIntegral.
double KernelOdd(double v) { return v < 0 ? -BodeKernelIntegral(-v) : BodeKernelIntegral(v); }

// The coil as seen at the top of the curve: rb and lH fitted by least squares
// in ln|Z| to the last measured points, the motional part (if any) kept from
// the resonance model. The inductance is fitted as ln lH, so it stays positive.
ResonanceModel FitTop(const MeasuredSamples& s, const std::optional<ResonanceModel>& resonance)
{
    ResonanceModel top;
    if (resonance)
        top = *resonance;
    else
        top.rm = 0, top.f0 = 1, top.q = 1;
    const int n = s.size();
    const int m = std::min(n, kTopPoints);

    // Start from |Z|^2 = R^2 + (wL)^2 through the first and last of them;
    // a top that does not rise starts from a small inductance.
    const auto w = [&](int k) { return 2 * std::numbers::pi * s.hz[k]; };
    const int a = n - m, b = n - 1;
    const double za = s.ohm[a] * s.ohm[a], zb = s.ohm[b] * s.ohm[b];
    double l2 = (zb - za) / (w(b) * w(b) - w(a) * w(a));
    double r2 = zb - l2 * w(b) * w(b);
    if (!(l2 > 0) || !(r2 > 0)) {
        r2 = zb;
        l2 = 0.01 * zb / (w(b) * w(b));
    }
    const ResidualFunction residuals = [&](const std::vector<double>& p, std::vector<double>& r,
                                           std::vector<double>& jac) {
        ResonanceModel coil = top;
        coil.rb = p[0];
        coil.lH = std::exp(p[1]);
        for (int i = 0; i < m; ++i) {
            const int k = n - m + i;
            const std::complex<double> z = coil.Impedance(s.hz[k]);
            if (std::abs(z) == 0)
                return false;
            r[i] = std::log(std::abs(z)) - s.lnZ[k];
            jac[2 * i] = (1.0 / z).real();
            jac[2 * i + 1] = (std::complex<double>(0, w(k) * coil.lH) / z).real();
        }
        return true;
    };
    const LmResult fit = LevenbergMarquardt(residuals, m, {std::sqrt(r2), 0.5 * std::log(l2)});
    top.rb = fit.p[0];
    top.lH = std::exp(fit.p[1]);
    return top;
}

struct Knot {
    double u;  // ln f
    double y;  // ln |Z|
};

// The measured points with a cubic Hermite curve between them (tangents of
// the parabola through each point and its neighbours), sampled finely: a
// sharp resonance is rounder than the straight lines between grid points.
void AppendMeasured(const MeasuredSamples& s, std::vector<Knot>& knots)
{
    const int n = s.size();
    std::vector<double> tangent(n, 0.0);
    for (int p = 0; p < n; ++p) {
        if (n < 2)
            break;
        if (p == 0 || p == n - 1) {
            const int a = p == 0 ? 0 : n - 2;
            tangent[p] = (s.lnZ[a + 1] - s.lnZ[a]) / (s.lnF[a + 1] - s.lnF[a]);
            continue;
        }
        const double d1 = s.lnF[p] - s.lnF[p - 1], d2 = s.lnF[p + 1] - s.lnF[p];
        const double s1 = (s.lnZ[p] - s.lnZ[p - 1]) / d1, s2 = (s.lnZ[p + 1] - s.lnZ[p]) / d2;
        tangent[p] = (s1 * d2 + s2 * d1) / (d1 + d2);
    }
    for (int p = 0; p < n; ++p) {
        knots.push_back({s.lnF[p], s.lnZ[p]});
        if (p + 1 == n)
            break;
        const double h = s.lnF[p + 1] - s.lnF[p];
        for (int k = 1; k < kSubdivisions; ++k) {
            const double t = double(k) / kSubdivisions;
            const double h00 = (1 + 2 * t) * (1 - t) * (1 - t), h10 = t * (1 - t) * (1 - t);
            const double h01 = t * t * (3 - 2 * t), h11 = t * t * (t - 1);
            knots.push_back({s.lnF[p] + t * h,
                             h00 * s.lnZ[p] + h10 * h * tangent[p] + h01 * s.lnZ[p + 1] + h11 * h * tangent[p + 1]});
        }
    }
}

}  // namespace

double BodeKernelIntegral(double v)
{
    if (!(v > 0))
        return 0;
    // ln coth(t/2) = 2 sum over odd n of e^(-n t) / n, so the integral is
    // pi^2/4 - 2 chi_2(e^-v); for small v Landen's identity for chi_2 turns
    // that into v ln coth(v/2) + 2 chi_2(tanh(v/2)), which converges fast there.
    if (v > 1)
        return kQuarterPiSquared - 2 * Chi2(std::exp(-v));
    return v * std::log(1 / std::tanh(v / 2)) + 2 * Chi2(std::tanh(v / 2));
}

PhasePoints MinimumPhaseDeg(const ChannelPoints& points, const ResonanceAnalysis& analysis)
{
    PhasePoints phase{};
    const MeasuredSamples s = SamplesOf(points);
    const int n = s.size();
    if (n == 0)
        return phase;

    std::vector<Knot> knots;
    // Low tail: the model's shape joined to the first measured point; flat below.
    if (analysis.model) {
        const double f = s.hz.front();
        const double offset = s.lnZ.front() - analysis.model->LnMagnitude(f);
        for (int k = kTailKnotsPerDecade * kTailDecades; k >= 1; --k) {
            const double fk = f * std::pow(10.0, -double(k) / kTailKnotsPerDecade);
            knots.push_back({std::log(fk), analysis.model->LnMagnitude(fk) + offset});
        }
    }
    AppendMeasured(s, knots);
    const double slopeBelow = 0;

    // High tail: the top points continued as the coil (a resistance and a
    // plain inductance, fitted to them) with the resonance's motional part,
    // which still pulls a tweeter's top down.
    double slopeAbove = 0;
    if (n >= 2) {
        const ResonanceModel top = FitTop(s, analysis.model);
        const double fTop = s.hz.back();
        const double offset = s.lnZ.back() - top.LnMagnitude(fTop);
        for (int k = 1; k <= kTailKnotsPerDecade * kTailDecades; ++k) {
            const double fk = fTop * std::pow(10.0, double(k) / kTailKnotsPerDecade);
            knots.push_back({std::log(fk), top.LnMagnitude(fk) + offset});
        }
        const Knot& a = knots[knots.size() - 2];
        const Knot& b = knots.back();
        slopeAbove = (b.y - a.y) / (b.u - a.u);
    }

    const int kCount = static_cast<int>(knots.size());
    for (int p = 0; p < n; ++p) {
        const double u0 = s.lnF[p];
        double sum = slopeBelow * (KernelOdd(knots.front().u - u0) + kQuarterPiSquared) +
                     slopeAbove * (kQuarterPiSquared - KernelOdd(knots.back().u - u0));
        double previousK = KernelOdd(knots.front().u - u0);
        for (int k = 0; k + 1 < kCount; ++k) {
            const double nextK = KernelOdd(knots[k + 1].u - u0);
            const double slope = (knots[k + 1].y - knots[k].y) / (knots[k + 1].u - knots[k].u);
            sum += slope * (nextK - previousK);
            previousK = nextK;
        }
        // A passive impedance lies within +-90 degrees; only a curve no
        // loudspeaker can have (steps between neighbours) would leave it.
        phase[s.index[p]] = std::clamp(sum / kPi * 180 / kPi, -90.0, 90.0);
    }
    return phase;
}

}  // namespace qlx
