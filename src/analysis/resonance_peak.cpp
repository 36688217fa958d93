#include "analysis/resonance_peak.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qlx {

namespace {

// A top this close to the highest point (in ln|Z|, about 2 %) counts as
// part of it: rounded to 0.1 ohm, a broad top is flat over several points.
constexpr double kTopBand = 0.02;

// Least-squares parabola y = c0 + c1 t + c2 t^2 (t = x - x[0] keeps the
// sums well conditioned), its vertex kept within the points; false when it
// does not open downwards.
bool FitParabola(const std::vector<double>& x, const std::vector<double>& y, double& xv, double& yv, double& curvature)
{
    double s[5] = {}, r[3] = {};
    for (size_t i = 0; i < x.size(); ++i) {
        const double t = x[i] - x[0];
        double tp = 1;
        for (int k = 0; k < 5; ++k) {
            if (k < 3)
                r[k] += tp * y[i];
            s[k] += tp;
            tp *= t;
        }
    }
    // Normal equations [s0 s1 s2; s1 s2 s3; s2 s3 s4] c = r by Cramer's rule.
    const auto det3 = [](double a, double b, double c, double d, double e, double f, double g, double h, double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double d = det3(s[0], s[1], s[2], s[1], s[2], s[3], s[2], s[3], s[4]);
    if (d == 0)
        return false;
    const double c0 = det3(r[0], s[1], s[2], r[1], s[2], s[3], r[2], s[3], s[4]) / d;
    const double c1 = det3(s[0], r[0], s[2], s[1], r[1], s[3], s[2], r[2], s[4]) / d;
    const double c2 = det3(s[0], s[1], r[0], s[1], s[2], r[1], s[2], s[3], r[2]) / d;
    if (!(c2 < 0))
        return false;
    const double tv = std::clamp(-c1 / (2 * c2), 0.0, x.back() - x[0]);
    xv = x[0] + tv;
    yv = c0 + c1 * tv + c2 * tv * tv;
    curvature = 2 * c2;
    return true;
}

}  // namespace

ResonancePeak FindResonancePeak(const MeasuredSamples& s)
{
    ResonancePeak peak;
    const int n = s.size();
    if (n < 3)
        return peak;

    // Lowest |Z| after each sample.
    std::vector<double> lowestAfter(n, std::numeric_limits<double>::infinity());
    for (int p = n - 2; p >= 0; --p)
        lowestAfter[p] = std::min(lowestAfter[p + 1], s.ohm[p + 1]);
    const auto standsOut = [&](int p) { return s.ohm[p] >= kStandOutRatio * lowestAfter[p]; };

    // Whether the curve falls after p once any flat run at p's value ends.
    const auto fallsAfter = [&](int p) {
        int q = p;
        while (q + 1 < n && s.ohm[q + 1] == s.ohm[p])
            ++q;
        return q + 1 < n && s.ohm[q + 1] < s.ohm[p];
    };

    bool anyLocalMax = false;
    int best = -1;
    for (int p = 1; p + 1 < n; ++p) {
        // Above the left neighbour and falling after it: a flat top's first
        // point stands for it (the parabola below takes the whole top in).
        if (!(s.ohm[p] > s.ohm[p - 1]) || !fallsAfter(p))
            continue;
        anyLocalMax = true;
        if (standsOut(p) && (best < 0 || s.ohm[p] > s.ohm[best]))
            best = p;
    }

    if (best < 0) {
        const auto [lo, hi] = std::minmax_element(s.ohm.begin(), s.ohm.end());
        if (fallsAfter(0) && standsOut(0))
            peak.verdict = PeakVerdict::kPeakAtFirstPoint;
        else if (*hi < kStandOutRatio * *lo)
            peak.verdict = PeakVerdict::kFlat;
        else
            peak.verdict = anyLocalMax ? PeakVerdict::kWeakPeak : PeakVerdict::kNoPeak;
        return peak;
    }

    // The top three points; where the top is broad, every point within the
    // top band and one more on each side.
    int first = best - 1, last = best + 1;
    while (first > 0 && s.lnZ[best] - s.lnZ[first] < kTopBand)
        --first;
    while (last + 1 < n && s.lnZ[best] - s.lnZ[last] < kTopBand)
        ++last;
    const auto span = [&](int from, int to, std::vector<double>& x, std::vector<double>& y) {
        x.assign(s.lnF.begin() + from, s.lnF.begin() + to + 1);
        y.assign(s.lnZ.begin() + from, s.lnZ.begin() + to + 1);
    };
    std::vector<double> x, y;
    double xv = 0, yv = 0, curvature = 0;
    span(first, last, x, y);
    if (!FitParabola(x, y, xv, yv, curvature)) {
        // Three points with the middle one highest always open downwards.
        span(best - 1, best + 1, x, y);
        FitParabola(x, y, xv, yv, curvature);
    }
    peak.verdict = PeakVerdict::kFound;
    peak.position = best;
    peak.index = s.index[best];
    peak.f0Hz = std::exp(xv);
    peak.zmaxOhm = std::exp(yv);
    peak.lnCurvature = curvature;
    return peak;
}

}  // namespace qlx
