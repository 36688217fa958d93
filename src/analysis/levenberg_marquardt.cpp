#include "analysis/levenberg_marquardt.h"

#include <algorithm>
#include <cmath>

namespace qlx {

namespace {

// Solves A x = b for a symmetric positive definite A (n x n, row-major) by
// Cholesky; false when A is not positive definite.
bool SolveSpd(std::vector<double> a, std::vector<double> b, int n, std::vector<double>& x)
{
    for (int j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (int k = 0; k < j; ++k)
            d -= a[j * n + k] * a[j * n + k];
        if (!(d > 0))
            return false;
        d = std::sqrt(d);
        a[j * n + j] = d;
        for (int i = j + 1; i < n; ++i) {
            double v = a[i * n + j];
            for (int k = 0; k < j; ++k)
                v -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = v / d;
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < i; ++k)
            b[i] -= a[i * n + k] * b[k];
        b[i] /= a[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) {
        for (int k = i + 1; k < n; ++k)
            b[i] -= a[k * n + i] * b[k];
        b[i] /= a[i * n + i];
    }
    x = std::move(b);
    return true;
}

double HalfSumOfSquares(const std::vector<double>& r)
{
    double sum = 0;
    for (double v : r)
        sum += v * v;
    return sum / 2;
}

bool AllFinite(const std::vector<double>& v)
{
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

}  // namespace

LmResult LevenbergMarquardt(const ResidualFunction& f, int m, std::vector<double> start, const LmOptions& options)
{
    const int n = static_cast<int>(start.size());
    LmResult result;
    result.p = std::move(start);
    std::vector<double> r(m), jac(static_cast<size_t>(m) * n);
    if (!f(result.p, r, jac) || !AllFinite(r) || !AllFinite(jac))
        return result;
    result.cost = HalfSumOfSquares(r);

    double lambda = 1e-3;
    std::vector<double> normal(n * n), gradient(n), step, trial(n), trialR(m), trialJac(jac.size());
    while (result.iterations < options.maxIterations) {
        ++result.iterations;
        std::fill(normal.begin(), normal.end(), 0.0);
        std::fill(gradient.begin(), gradient.end(), 0.0);
        for (int i = 0; i < m; ++i) {
            const double* row = &jac[static_cast<size_t>(i) * n];
            for (int a = 0; a < n; ++a) {
                gradient[a] += row[a] * r[i];
                for (int b = 0; b <= a; ++b)
                    normal[a * n + b] += row[a] * row[b];
            }
        }
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < a; ++b)
                normal[b * n + a] = normal[a * n + b];
        double gradientNorm = 0;
        for (double g : gradient)
            gradientNorm = std::max(gradientNorm, std::abs(g));
        if (gradientNorm <= options.gradientTolerance) {
            result.converged = true;
            return result;
        }

        // Raise the damping until a step lowers the cost.
        for (;;) {
            if (lambda > 1e16)
                return result;  // no step lowers the cost: stalled, not converged
            std::vector<double> damped = normal;
            for (int a = 0; a < n; ++a)
                damped[a * n + a] += lambda * std::max(normal[a * n + a], 1e-30);
            std::vector<double> minusGradient(n);
            for (int a = 0; a < n; ++a)
                minusGradient[a] = -gradient[a];
            if (!SolveSpd(damped, minusGradient, n, step)) {
                lambda *= 10;
                continue;
            }
            double stepNorm = 0, paramNorm = 0;
            for (int a = 0; a < n; ++a) {
                trial[a] = result.p[a] + step[a];
                stepNorm += step[a] * step[a];
                paramNorm += result.p[a] * result.p[a];
            }
            if (std::sqrt(stepNorm) <= options.stepTolerance * (std::sqrt(paramNorm) + options.stepTolerance)) {
                result.converged = true;
                return result;
            }
            if (f(trial, trialR, trialJac) && AllFinite(trialR) && AllFinite(trialJac)) {
                const double trialCost = HalfSumOfSquares(trialR);
                if (trialCost < result.cost) {
                    const double decrease = (result.cost - trialCost) / result.cost;
                    result.p = trial;
                    r.swap(trialR);
                    jac.swap(trialJac);
                    result.cost = trialCost;
                    lambda = std::max(lambda / 10, 1e-12);
                    if (decrease <= options.costTolerance) {
                        result.converged = true;
                        return result;
                    }
                    break;
                }
            }
            lambda *= 10;
        }
    }
    return result;
}

}  // namespace qlx
