#pragma once

#include <optional>
#include <string>
#include <vector>

#include "results/results_queries.h"

namespace qlx {

// How many of the last units the results window's chart shows.
constexpr int kChartUnits = 100;
// Units averaged by the chart's drift line.
constexpr int kDriftWindow = 10;
// The f0 axis spans at least ±this many percent.
constexpr double kMinDeviationRange = 5.0;

enum class UnitMark { Ok, Ng, NoReference };
UnitMark MarkOf(const std::string& verdict);

// f0 of a unit as a deviation from its reference's f0, in percent; none
// unless both were found.
std::optional<double> F0DeviationPercent(const RecentUnit& unit);
std::vector<std::optional<double>> F0Deviations(const std::vector<RecentUnit>& units);

// For each unit, the mean of the deviations present among it and the
// `window` - 1 units before it; none while no deviation is present there.
std::vector<std::optional<double>> DriftLine(const std::vector<std::optional<double>>& deviations, int window);

// Half the span of the chart's symmetric f0 axis: the largest deviation
// rounded up to whole steps of kMinDeviationRange, at least one step.
double DeviationRange(const std::vector<std::optional<double>>& deviations);

}  // namespace qlx
