#include <gtest/gtest.h>

#include <cmath>

#include "analysis/levenberg_marquardt.h"

namespace qlx {
namespace {

// Rosenbrock's valley as residuals 10 (y - x^2) and 1 - x: minimum at (1, 1).
bool Rosenbrock(const std::vector<double>& p, std::vector<double>& r, std::vector<double>& j)
{
    r = {10 * (p[1] - p[0] * p[0]), 1 - p[0]};
    j = {-20 * p[0], 10, -1, 0};
    return true;
}

// a exp(-b t) + c sampled at t = 0..19 from a = 5, b = 0.3, c = 1; the
// parameters differ in scale by orders of magnitude on purpose.
bool Decay(const std::vector<double>& p, std::vector<double>& r, std::vector<double>& j)
{
    for (int i = 0; i < 20; ++i) {
        const double t = i, e = std::exp(-p[1] * t);
        r[i] = p[0] * e + p[2] - (5 * std::exp(-0.3 * t) + 1e-3);
        j[3 * i] = e;
        j[3 * i + 1] = -p[0] * t * e;
        j[3 * i + 2] = 1;
    }
    return true;
}

TEST(LevenbergMarquardt, FindsTheMinimumFromAFarStart)
{
    struct Case {
        const char* name;
        ResidualFunction f;
        int m;
        std::vector<double> start, expected;
    } cases[] = {
        {"Rosenbrock", Rosenbrock, 2, {-1.2, 1.0}, {1.0, 1.0}},
        {"decay", Decay, 20, {1.0, 1.0, 0.0}, {5.0, 0.3, 1e-3}},
    };
    for (const Case& c : cases) {
        const LmResult r = LevenbergMarquardt(c.f, c.m, c.start);
        EXPECT_TRUE(r.converged) << c.name;
        EXPECT_LT(r.cost, 1e-16) << c.name;
        for (size_t k = 0; k < c.expected.size(); ++k)
            EXPECT_NEAR(r.p[k], c.expected[k], 1e-6 * (1 + std::abs(c.expected[k]))) << c.name << " " << k;
    }
}

TEST(LevenbergMarquardt, ReportsWhenItDidNotConverge)
{
    LmOptions few;
    few.maxIterations = 3;
    const LmResult cut = LevenbergMarquardt(Rosenbrock, 2, {-1.2, 1.0}, few);
    EXPECT_FALSE(cut.converged);
    EXPECT_EQ(cut.iterations, 3);

    // A model that cannot be evaluated anywhere.
    const ResidualFunction broken = [](const std::vector<double>&, std::vector<double>& r, std::vector<double>&) {
        r[0] = NAN;
        return true;
    };
    EXPECT_FALSE(LevenbergMarquardt(broken, 1, {1.0}).converged);

    // Steps that leave the model's domain are refused, not taken.
    const ResidualFunction positive = [](const std::vector<double>& p, std::vector<double>& r, std::vector<double>& j) {
        if (p[0] <= 0)
            return false;
        r[0] = std::log(p[0]) - std::log(0.01);
        j[0] = 1 / p[0];
        return true;
    };
    const LmResult kept = LevenbergMarquardt(positive, 1, {5.0});
    EXPECT_TRUE(kept.converged);
    EXPECT_NEAR(kept.p[0], 0.01, 1e-8);
}

}  // namespace
}  // namespace qlx
