#pragma once

#include <QSqlDatabase>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "results/result_filter.h"

namespace qlx {

// The six NG verdicts, in the order of YieldCounts::ng.
constexpr std::array<const char*, 6> kNgVerdicts{"NG1H", "NG1L", "NG2H", "NG2L", "NG3H", "NG3L"};

// Counts of the selected records. Units judged are the measured channels
// judged against a reference: OK and every NG kind.
struct YieldCounts {
    std::int64_t ok = 0;
    std::int64_t total = 0;  // units judged
    std::array<std::int64_t, kNgVerdicts.size()> ng{};
    std::int64_t noReference = 0;  // measured without a reference
    std::int64_t cancelled = 0;    // runs
    std::int64_t failed = 0;       // runs

    double Percent() const { return total ? 100.0 * static_cast<double>(ok) / static_cast<double>(total) : 0.0; }
    bool operator==(const YieldCounts&) const = default;
};

std::optional<YieldCounts> CountYield(QSqlDatabase db, const ResultFilter& filter, std::string* error = nullptr);

// The time of the last counter reset; none when the counter was never reset.
std::optional<std::int64_t> LastCounterReset(QSqlDatabase db, std::string* error = nullptr);
// The yield of the selected records measured since the last counter reset.
std::optional<YieldCounts> CountYieldSinceReset(QSqlDatabase db, const ResultFilter& filter,
                                                std::string* error = nullptr);

// One measured unit for the chart of the last units.
struct RecentUnit {
    std::int64_t measuredAtMs = 0;
    std::string verdict;
    std::optional<double> f0Hz;
    std::optional<double> refF0Hz;
    bool operator==(const RecentUnit&) const = default;
};

// The last `count` measured channels the filter selects, oldest first.
std::optional<std::vector<RecentUnit>> RecentUnits(QSqlDatabase db, const ResultFilter& filter, int count,
                                                   std::string* error = nullptr);

// The reference names recorded, sorted, for the reference filter.
std::optional<std::vector<std::string>> ReferenceNames(QSqlDatabase db, std::string* error = nullptr);

}  // namespace qlx
