#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "analysis/grid_hz.h"
#include "analysis/minimum_phase.h"

namespace qlx {
namespace {

constexpr double kPi = std::numbers::pi;

// Integral of ln coth(t/2) from 0 to v by Simpson's rule after t = s^2,
// which removes the logarithmic singularity at 0.
double KernelBySimpson(double v)
{
    const int n = 20000;
    const double b = std::sqrt(v), h = b / n;
    const auto g = [](double s) { return s == 0 ? 0.0 : 2 * s * std::log(1 / std::tanh(s * s / 2)); };
    double sum = g(0) + g(b);
    for (int i = 1; i < n; ++i)
        sum += (i % 2 ? 4 : 2) * g(i * h);
    return sum * h / 3;
}

TEST(MinimumPhase, KernelIntegralAgainstQuadrature)
{
    for (double v : {1e-6, 0.01, 0.3, 0.999, 1.0, 1.001, 2.0, 5.0, 12.0})
        EXPECT_NEAR(BodeKernelIntegral(v), KernelBySimpson(v), 1e-7) << v;
    EXPECT_EQ(BodeKernelIntegral(0), 0);
    EXPECT_NEAR(BodeKernelIntegral(40), kPi * kPi / 4, 1e-12);
}

// Curves whose minimum phase is known in closed form.
TEST(MinimumPhase, KnownImpedances)
{
    using C = std::complex<double>;
    struct Case {
        const char* name;
        C (*z)(double hz);
        double toleranceDeg;
    } cases[] = {
        {"a resistor", [](double) { return C(8, 0); }, 1e-6},
        {"a resistor and an inductance", [](double f) { return C(60, 2 * kPi * f * 1e-3); }, 0.5},
        {"an inductance rising from 200 Hz", [](double f) { return C(6, 2 * kPi * f * 5e-3); }, 1.0},
    };
    for (const Case& c : cases) {
        ChannelPoints p{};
        for (int j = 0; j < kPointCount; ++j)
            p[j] = static_cast<int>(std::lround(std::abs(c.z(GridHz()[j])) * 10));
        const PhasePoints phase = MinimumPhaseDeg(p, AnalyzeResonance(p, std::nullopt));
        for (int j = 0; j < kPointCount; ++j) {
            ASSERT_TRUE(phase[j]) << c.name << " " << j;
            EXPECT_NEAR(*phase[j], std::arg(c.z(GridHz()[j])) * 180 / kPi, c.toleranceDeg)
                << c.name << " at " << FreqHz[j];
        }
    }
}

// A phase only where |Z| was measured; a gap is bridged, not read as zero.
TEST(MinimumPhase, OnlyAtMeasuredPoints)
{
    using C = std::complex<double>;
    const auto z = [](double f) { return C(60, 2 * kPi * f * 1e-3); };
    ChannelPoints p{};
    for (int j = 10; j <= 100; ++j)
        p[j] = static_cast<int>(std::lround(std::abs(z(GridHz()[j])) * 10));
    p[50] = std::nullopt;
    const PhasePoints phase = MinimumPhaseDeg(p, AnalyzeResonance(p, std::nullopt));
    for (int j = 0; j < kPointCount; ++j)
        EXPECT_EQ(phase[j].has_value(), p[j].has_value()) << j;
    // Inside the range the phase still follows the inductance.
    EXPECT_NEAR(*phase[51], std::arg(z(GridHz()[51])) * 180 / kPi, 1.0);
    EXPECT_NEAR(*phase[49], std::arg(z(GridHz()[49])) * 180 / kPi, 1.0);
    EXPECT_FALSE(MinimumPhaseDeg(ChannelPoints{}, ResonanceAnalysis{})[0]);
}

// Steps no loudspeaker has would give phases beyond what a passive impedance
// can show; the estimate keeps within +-90 degrees.
TEST(MinimumPhase, StaysWithinNinetyDegrees)
{
    ChannelPoints p{};
    for (int j = 0; j < kPointCount; ++j)
        p[j] = j % 2 ? 20000 : 10;
    const PhasePoints phase = MinimumPhaseDeg(p, AnalyzeResonance(p, std::nullopt));
    bool reachedALimit = false;
    for (int j = 0; j < kPointCount; ++j) {
        ASSERT_TRUE(phase[j]);
        EXPECT_LE(std::abs(*phase[j]), 90.0) << j;
        reachedALimit |= std::abs(*phase[j]) == 90.0;
    }
    EXPECT_TRUE(reachedALimit);
}

}  // namespace
}  // namespace qlx
