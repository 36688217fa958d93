#pragma once

#include <QString>

#include <cstdint>
#include <optional>

#include "results/results_queries.h"

namespace qlx {

// The yield as the results window shows it: "OK 95 / 100 台 (95.0%)" and
// the count of each NG kind, then the records outside the yield (without
// reference, cancelled, failed).
QString YieldText(const YieldCounts& y);

// The heading of the yield since the last counter reset: when it was
// (local time), or that the counter was never reset.
QString SinceResetHeading(const std::optional<std::int64_t>& resetAtMs);

}  // namespace qlx
