#include <gtest/gtest.h>

#include <cmath>

#include "analysis/classic_parameters.h"
#include "analysis/grid_hz.h"
#include "analysis/measured_samples.h"
#include "analysis/resonance_peak.h"

namespace qlx {
namespace {

// A peak shaped as a triangle in (ln f, ln |Z|): ln|Z| = ln(zmax) - slope |ln(f/f0)|
// over a 10 ohm floor; the linear interpolation of the crossings is exact on
// its sides. Values are large so that rounding to 0.1 ohm hardly matters.
ChannelPoints Triangle(double f0, double zmax, double slope, double floor = 10)
{
    ChannelPoints p{};
    for (int j = 0; j < kPointCount; ++j) {
        const double z = zmax * std::exp(-slope * std::abs(std::log(GridHz()[j] / f0)));
        p[j] = static_cast<int>(std::lround(10 * std::max(z, floor)));
    }
    return p;
}

struct Analysed {
    MeasuredSamples samples;
    ResonancePeak peak;
    ResonanceParameters params;
};

Analysed Analyse(const ChannelPoints& p, std::optional<double> re)
{
    Analysed a{SamplesOf(p), {}, {}};
    a.peak = FindResonancePeak(a.samples);
    a.params = ClassicParameters(a.samples, a.peak, re);
    return a;
}

TEST(ClassicParameters, CrossingsAndQValuesFromTheirFormulas)
{
    const double f0 = 50, zmax = 400, slope = 3, re = 8;
    const Analysed a = Analyse(Triangle(f0, zmax, slope), re);
    ASSERT_TRUE(a.peak.Found());
    const ResonanceParameters& p = a.params;
    // Where the sides of the triangle cross sqrt(Re * Zmax) (Zmax the parabola's).
    const double level = std::sqrt(re * p.zmax.value);
    const double half = std::log(zmax / level) / slope;
    EXPECT_NEAR(p.f1.value, f0 * std::exp(-half), 0.002 * f0);
    EXPECT_NEAR(p.f2.value, f0 * std::exp(half), 0.002 * f0);
    EXPECT_EQ(p.f1.status, ValueStatus::kValid);

    const double r0 = p.zmax.value / re;
    EXPECT_DOUBLE_EQ(p.r0.value, r0);
    const double qms = p.f0.value * std::sqrt(r0) / (p.f2.value - p.f1.value);
    const double qes = qms / (r0 - 1);
    EXPECT_DOUBLE_EQ(p.qms.value, qms);
    EXPECT_DOUBLE_EQ(p.qes.value, qes);
    EXPECT_DOUBLE_EQ(p.qts.value, qms * qes / (qms + qes));
    EXPECT_EQ(p.qts.status, ValueStatus::kValid);
}

// What depends on Re and when it is reported, flagged or left out.
TEST(ClassicParameters, ReportingRules)
{
    const ChannelPoints peak = Triangle(200, 400, 3);
    ChannelPoints cutAbove = peak;  // the valid range ends just above the resonance
    for (int j = 45; j < kPointCount; ++j)
        cutAbove[j] = std::nullopt;
    struct Case {
        const char* name;
        ChannelPoints points;
        std::optional<double> re;
        ValueStatus r0, f1, f2, qms, qts;
        std::uint32_t caveat;  // carried by Qt (or by r0 when Qt has none)
    };
    using S = ValueStatus;
    const Case cases[] = {
        {"no Re", peak, std::nullopt, S::kNotReported, S::kNotReported, S::kNotReported, S::kNotReported,
         S::kNotReported, kCaveatNoRe},
        {"Re zero", peak, 0.0, S::kNotReported, S::kNotReported, S::kNotReported, S::kNotReported, S::kNotReported,
         kCaveatNoRe},
        {"Re above Zmax", peak, 500.0, S::kFlagged, S::kNotReported, S::kNotReported, S::kNotReported, S::kNotReported,
         kCaveatReNotBelowPeak},
        {"r0 below 1.2", peak, 350.0, S::kFlagged, S::kFlagged, S::kFlagged, S::kFlagged, S::kNotReported,
         kCaveatR0BelowOnePointTwo},
        {"r0 below 2", peak, 9.0 * 25, S::kFlagged, S::kFlagged, S::kFlagged, S::kFlagged, S::kFlagged,
         kCaveatR0BelowTwo},
        {"Re above the lowest |Z|", peak, 12.0, S::kFlagged, S::kFlagged, S::kFlagged, S::kFlagged, S::kFlagged,
         kCaveatReAboveMinimum},
        {"a plausible Re", peak, 8.0, S::kValid, S::kValid, S::kValid, S::kValid, S::kValid, 0},
        {"f2 above the measured points", cutAbove, 8.0, S::kValid, S::kValid, S::kFlagged, S::kFlagged, S::kFlagged,
         kCaveatF2AboveRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Analysed a = Analyse(c.points, c.re);
        ASSERT_TRUE(a.peak.Found());
        const ResonanceParameters& p = a.params;
        EXPECT_EQ(p.f0.status, S::kValid);  // f0 and Zmax never need Re
        EXPECT_EQ(p.zmax.status, S::kValid);
        EXPECT_EQ(p.r0.status, c.r0);
        EXPECT_EQ(p.f1.status, c.f1);
        EXPECT_EQ(p.f2.status, c.f2);
        EXPECT_EQ(p.qms.status, c.qms);
        EXPECT_EQ(p.qes.status, c.qts);
        EXPECT_EQ(p.qts.status, c.qts);
        const std::uint32_t carried = p.qts.caveats | (c.qts == S::kValid ? 0 : p.r0.caveats);
        EXPECT_EQ(carried & c.caveat, c.caveat);
        if (c.qts == S::kValid) {
            EXPECT_EQ(p.qts.caveats, 0u);
        }
    }
}

// f1 below the first measured point: estimated from f2 by the symmetry of the
// resonance in ln f and flagged, and so are the Q values.
TEST(ClassicParameters, F1BelowTheRangeFromSymmetry)
{
    ChannelPoints p = Triangle(200, 400, 3);  // the peak at index 40
    for (int j = 0; j < 39; ++j)              // the range starts one point below it
        p[j] = std::nullopt;
    const Analysed a = Analyse(p, 8.0);
    ASSERT_TRUE(a.peak.Found());
    EXPECT_TRUE(a.params.f1.Has(kCaveatF1BelowRange));
    EXPECT_EQ(a.params.f1.status, ValueStatus::kFlagged);
    EXPECT_NEAR(a.params.f1.value * a.params.f2.value, a.params.f0.value * a.params.f0.value, 1e-6);
    EXPECT_TRUE(a.params.qts.Has(kCaveatF1BelowRange));
}

// When the highest grid point lies below sqrt(Re * Zmax) (r0 just above 1),
// the crossings come from the parabola, on both sides of f0.
TEST(ClassicParameters, CrossingsOnTheParabolaWhenTheTopIsBelowTheLevel)
{
    const ChannelPoints p = Triangle(std::sqrt(GridHz()[40] * GridHz()[41]), 400, 6);
    const Analysed a = Analyse(p, 0.0);
    ASSERT_TRUE(a.peak.Found());
    const double top = *p[a.peak.index] / 10.0;
    const double re = top * top / a.peak.zmaxOhm * 0.999;  // sqrt(Re * Zmax) just below the grid's top point
    const double reHigh = top * top / a.peak.zmaxOhm * 1.01;
    for (double r : {re, reHigh}) {
        const ResonanceParameters q = ClassicParameters(a.samples, a.peak, r);
        ASSERT_TRUE(q.f1.Reported()) << r;
        EXPECT_LT(q.f1.value, q.f0.value);
        EXPECT_GT(q.f2.value, q.f0.value);
        EXPECT_GT(q.f1.value, GridHz()[39]);
        EXPECT_LT(q.f2.value, GridHz()[42]);
    }
}

}  // namespace
}  // namespace qlx
