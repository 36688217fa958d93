#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "analysis/grid_hz.h"
#include "analysis/resonance_analysis.h"
#include "support/synthetic_driver.h"

namespace qlx {
namespace {

using qlxtest::SyntheticDriver;

// A driver in a vented box: two resonances of similar height, which the
// single-resonance model cannot follow over f0/3 ... 3 f0.
ChannelPoints VentedBox()
{
    ChannelPoints p{};
    for (int j = 0; j < kPointCount; ++j) {
        const double f = GridHz()[j];
        using C = std::complex<double>;
        const C low = 30.0 / C(1, 4 * (f / 25 - 25 / f));
        const C high = 25.0 / C(1, 4 * (f / 70 - 70 / f));
        const C z = C(6, 2 * std::numbers::pi * f * 0.5e-3) + low + high;
        p[j] = static_cast<int>(std::lround(std::abs(z) * 10));
    }
    return p;
}

TEST(Refinement, RecoversTheModelOfACleanCurve)
{
    const SyntheticDriver d{5.6, 63.7, 4.2, 0.55, 0.9e-3};
    const ResonanceAnalysis a = AnalyzeResonance(d.Points(), d.re);
    ASSERT_TRUE(a.refinement.Accepted());
    const ResonanceModel& m = a.refinement.model;
    EXPECT_NEAR(m.f0, d.f0, 0.002 * d.f0);
    EXPECT_NEAR(m.q, d.qms, 0.01 * d.qms);
    EXPECT_NEAR(m.rm, d.Rm(), 0.01 * d.Rm());
    EXPECT_NEAR(m.rb, d.re, 0.05);
    EXPECT_NEAR(m.lH, d.leH, 0.3 * d.leH);  // the coil hardly shows near a woofer's resonance
    EXPECT_LE(a.refinement.rmsResidual, 0.01);
    EXPECT_GE(a.refinement.points, kMinFitPoints);
    // The values shown are the fit's; the classic ones stay alongside.
    EXPECT_EQ(&a.Best(), &a.refined);
    EXPECT_DOUBLE_EQ(a.refined.f0.value, m.f0);
    EXPECT_DOUBLE_EQ(a.refined.zmax.value, m.rb + m.rm);
    EXPECT_NEAR(a.refined.qms.value, m.q, 1e-9 * m.q);
    EXPECT_TRUE(a.classic.qts.Reported());
}

// When the fit is refused the classic values stand and the outcome says why.
TEST(Refinement, RefusedFitsLeaveTheClassicValues)
{
    const SyntheticDriver d{5.6, 63.7, 4.2, 0.55, 0.9e-3};
    ChannelPoints narrow{};  // five points around the peak
    const ChannelPoints full = d.Points();
    for (int j = 18; j <= 22; ++j)
        narrow[j] = full[j];
    ChannelPoints rippled = full;  // a rubbing coil or a cabinet mode: not one resonance
    for (int j = 0; j < kPointCount; ++j)
        rippled[j] = static_cast<int>(*full[j] * (1 + 0.06 * std::sin(3 * j)));
    std::array<int, kPointCount> resistor{};
    resistor.fill(80);
    struct Case {
        const char* name;
        ChannelPoints points;
        RefinementOutcome outcome;
    } cases[] = {
        {"a vented box: the fit runs off to the other resonance", VentedBox(), RefinementOutcome::kF0Moved},
        {"a ripple on the resonance", rippled, RefinementOutcome::kResidualTooLarge},
        {"too few points", narrow, RefinementOutcome::kTooFewPoints},
        {"no resonance", ChannelPointsFromValues(resistor), RefinementOutcome::kNoResonance},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ResonanceAnalysis a = AnalyzeResonance(c.points, 6.0);
        EXPECT_EQ(a.refinement.outcome, c.outcome);
        EXPECT_FALSE(a.refinement.Accepted());
        EXPECT_EQ(&a.Best(), &a.classic);
        EXPECT_FALSE(a.refined.f0.Reported());
        EXPECT_FALSE(a.refined.qts.Reported());
    }
}

// The refined values follow the same Re rules as the classic ones.
TEST(Refinement, ReRulesApplyToTheRefinedValues)
{
    const SyntheticDriver d{5.6, 63.7, 4.2, 0.55, 0.9e-3};
    const ChannelPoints p = d.Points();
    const ResonanceAnalysis noRe = AnalyzeResonance(p, std::nullopt);
    ASSERT_TRUE(noRe.refinement.Accepted());  // the fit needs no Re
    EXPECT_TRUE(noRe.refined.f0.Reported());
    EXPECT_FALSE(noRe.refined.qts.Reported());
    EXPECT_TRUE(noRe.refined.qts.Has(kCaveatNoRe));
    EXPECT_FALSE(noRe.refined.r0.Reported());

    const ResonanceAnalysis highRe = AnalyzeResonance(p, d.Zmax() / 1.1);
    ASSERT_TRUE(highRe.refinement.Accepted());
    EXPECT_EQ(highRe.refined.qms.status, ValueStatus::kFlagged);
    EXPECT_FALSE(highRe.refined.qts.Reported());
    EXPECT_TRUE(highRe.refined.qts.Has(kCaveatR0BelowOnePointTwo));
    EXPECT_TRUE(highRe.refined.r0.Has(kCaveatReAboveMinimum));
}

// |Z|min is taken above the resonance, never below it, and Re never stands
// in for it nor it for Re.
TEST(ResonanceAnalysis, LowestImpedanceAboveTheResonance)
{
    ChannelPoints p{};
    for (int j = 0; j < kPointCount; ++j)
        p[j] = 200;
    p[0] = 150;  // lower than anything above the resonance
    const int bump[] = {300, 500, 800, 500, 300};
    for (int k = 0; k < 5; ++k)
        p[20 + k] = bump[k];
    p[60] = 180;
    p[70] = 180;  // a tie: the first one counts
    const ResonanceAnalysis a = AnalyzeResonance(p, std::nullopt);
    ASSERT_TRUE(a.peak.Found());
    EXPECT_EQ(a.zmin.status, ValueStatus::kValid);
    EXPECT_DOUBLE_EQ(a.zmin.value, 18.0);
    EXPECT_DOUBLE_EQ(a.zminHz.value, GridHz()[60]);
    EXPECT_FALSE(a.classic.r0.Reported());
    EXPECT_FALSE(a.classic.qts.Reported());
}

}  // namespace
}  // namespace qlx
