#include "app/results_chart_data.h"

#include <algorithm>
#include <cmath>

namespace qlx {

UnitMark MarkOf(const std::string& verdict)
{
    if (verdict == "OK")
        return UnitMark::Ok;
    if (std::find(kNgVerdicts.begin(), kNgVerdicts.end(), verdict) != kNgVerdicts.end())
        return UnitMark::Ng;
    return UnitMark::NoReference;
}

std::optional<double> F0DeviationPercent(const RecentUnit& unit)
{
    if (!unit.f0Hz || !unit.refF0Hz || *unit.refF0Hz <= 0)
        return std::nullopt;
    return 100.0 * (*unit.f0Hz - *unit.refF0Hz) / *unit.refF0Hz;
}

std::vector<std::optional<double>> F0Deviations(const std::vector<RecentUnit>& units)
{
    std::vector<std::optional<double>> d;
    d.reserve(units.size());
    for (const RecentUnit& u : units)
        d.push_back(F0DeviationPercent(u));
    return d;
}

std::vector<std::optional<double>> DriftLine(const std::vector<std::optional<double>>& deviations, int window)
{
    std::vector<std::optional<double>> line(deviations.size());
    const std::size_t w = static_cast<std::size_t>(std::max(window, 1));
    double sum = 0;
    int present = 0;
    for (std::size_t i = 0; i < deviations.size(); ++i) {
        if (deviations[i]) {
            sum += *deviations[i];
            ++present;
        }
        if (i >= w && deviations[i - w]) {
            sum -= *deviations[i - w];
            --present;
        }
        if (present > 0)
            line[i] = sum / present;
    }
    return line;
}

double DeviationRange(const std::vector<std::optional<double>>& deviations)
{
    double largest = 0;
    for (const std::optional<double>& d : deviations)
        if (d && std::isfinite(*d))
            largest = std::max(largest, std::abs(*d));
    return std::max(1.0, std::ceil(largest / kMinDeviationRange)) * kMinDeviationRange;
}

}  // namespace qlx
