#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "analysis/grid_hz.h"
#include "analysis/measured_samples.h"
#include "analysis/resonance_peak.h"

namespace qlx {
namespace {

// Points from a function of frequency, in 0.1 ohm.
ChannelPoints Curve(const std::function<double(double)>& ohmAt)
{
    ChannelPoints p{};
    for (int j = 0; j < kPointCount; ++j)
        p[j] = static_cast<int>(std::lround(10 * ohmAt(GridHz()[j])));
    return p;
}

// A smooth bump in ln-ln of height `ratio` over 6 ohm at f0, `width` in ln f.
double Bump(double hz, double f0, double ratio, double width)
{
    const double u = std::log(hz / f0) / width;
    return 6.0 * (1 + (ratio - 1) * std::exp(-u * u));
}

TEST(ResonancePeak, VerdictsAndTheChosenPeak)
{
    struct Case {
        const char* name;
        ChannelPoints points;
        PeakVerdict verdict;
        double f0;  // expected within 1 % when found
    };
    ChannelPoints gap = Curve([](double f) { return Bump(f, 100, 6, 0.3); });
    gap[28] = std::nullopt;  // the point at 100 Hz is missing
    ChannelPoints cut = Curve([](double f) { return Bump(f, 100, 6, 0.3); });
    for (int j = 0; j < 36; ++j)  // the valid range starts above the resonance
        cut[j] = std::nullopt;
    ChannelPoints two{};
    two[50] = 300;
    two[51] = 100;
    const Case cases[] = {
        {"a clear bump", Curve([](double f) { return Bump(f, 100, 6, 0.3); }), PeakVerdict::kFound, 100},
        {"a missing point at the top", gap, PeakVerdict::kFound, 100},
        {"the higher of two standing peaks",
         Curve([](double f) { return Bump(f, 50, 4, 0.15) + Bump(f, 500, 6, 0.15) - 6; }), PeakVerdict::kFound, 500},
        {"a rise to 20 kHz higher than the resonance", Curve([](double f) { return Bump(f, 60, 5, 0.2) + f / 200; }),
         PeakVerdict::kFound, 60},
        {"a resonance below the valid range", cut, PeakVerdict::kPeakAtFirstPoint, 0},
        {"a resonance below 20 Hz", Curve([](double f) { return Bump(f, 12, 6, 0.6); }), PeakVerdict::kPeakAtFirstPoint,
         0},
        {"flat", Curve([](double) { return 8.0; }), PeakVerdict::kFlat, 0},
        {"a weak bump", Curve([](double f) { return Bump(f, 300, 1.25, 0.3) + f / 2000; }), PeakVerdict::kWeakPeak, 0},
        {"only rising", Curve([](double f) { return 6 + f / 200; }), PeakVerdict::kNoPeak, 0},
        {"too few points", two, PeakVerdict::kTooFewPoints, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ResonancePeak peak = FindResonancePeak(SamplesOf(c.points));
        EXPECT_EQ(peak.verdict, c.verdict);
        if (c.verdict == PeakVerdict::kFound) {
            EXPECT_NEAR(peak.f0Hz, c.f0, 0.01 * c.f0);
        }
    }
}

// On a curve that is a parabola in (ln f, ln |Z|) the vertex comes out
// exactly, between grid points and with a flat rounded top alike.
TEST(ResonancePeak, ParabolaVertexBetweenGridPoints)
{
    struct Case {
        double f0;
        double curvature;  // d^2 ln|Z| / d(ln f)^2
        double ohm;        // peak height; high values keep rounding small
    } cases[] = {{100, -40, 900}, {137.3, -40, 900}, {1030, -2, 900}, {1030, -0.5, 9}};
    for (const Case& c : cases) {
        const ChannelPoints p = Curve([&](double f) {
            const double u = std::log(f / c.f0);
            return c.ohm * std::exp(std::max(c.curvature * u * u / 2, -2.0));
        });
        const ResonancePeak peak = FindResonancePeak(SamplesOf(p));
        ASSERT_TRUE(peak.Found()) << c.f0;
        // A broad top rounded to 0.1 ohm leaves the vertex to several points.
        const double tolerance = c.ohm < 100 ? 0.01 : 0.001;
        EXPECT_NEAR(peak.f0Hz / c.f0, 1, tolerance) << c.f0 << " " << c.curvature;
        EXPECT_NEAR(peak.zmaxOhm / c.ohm, 1, tolerance) << c.f0 << " " << c.curvature;
    }
}

// A top flat over several rounded points is centred, not put at its first point.
TEST(ResonancePeak, FlatTopIsCentred)
{
    ChannelPoints p{};
    for (int j = 0; j < kPointCount; ++j)
        p[j] = 60;
    const int top[] = {80, 84, 87, 87, 87, 87, 84, 80};  // indices 64..71
    for (int k = 0; k < 8; ++k)
        p[64 + k] = top[k];
    const ResonancePeak peak = FindResonancePeak(SamplesOf(p));
    ASSERT_TRUE(peak.Found());
    EXPECT_EQ(peak.index, 66);
    const double centre = std::sqrt(GridHz()[67] * GridHz()[68]);
    EXPECT_NEAR(peak.f0Hz, centre, 0.005 * centre);
}

}  // namespace
}  // namespace qlx
