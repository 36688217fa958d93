#pragma once

#include <functional>
#include <vector>

namespace qlx {

// Residuals r (m values) and their Jacobian J (m rows of n values, row-major)
// at the parameters p (n values). Returns false where the model cannot be
// evaluated (the step is then refused).
using ResidualFunction =
    std::function<bool(const std::vector<double>& p, std::vector<double>& r, std::vector<double>& jacobian)>;

struct LmOptions {
    int maxIterations = 200;
    double costTolerance = 1e-12;  // relative decrease of the cost that counts as done
    double stepTolerance = 1e-10;  // relative size of a step that counts as done
    double gradientTolerance = 1e-14;
};

struct LmResult {
    std::vector<double> p;
    double cost = 0;  // half the sum of squared residuals
    int iterations = 0;
    bool converged = false;
};

// Levenberg-Marquardt with Marquardt's scaling (the damping multiplies the
// diagonal of J'J, so the parameters need no common scale). Small problems
// only: the normal equations are solved directly.
LmResult LevenbergMarquardt(const ResidualFunction& f, int residualCount, std::vector<double> start,
                            const LmOptions& options = {});

}  // namespace qlx
