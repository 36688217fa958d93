#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "results/result_filter.h"

namespace qlx {

// One entry of the results window's verdict filter.
struct VerdictChoice {
    QString caption;
    std::vector<std::string> verdicts;  // none: any
    std::vector<RunOutcome> outcomes;   // none: any
};

// すべて, OK, every NG together, each NG kind, without reference, cancelled,
// failed; in that order.
const std::vector<VerdictChoice>& VerdictChoices();

// What the window's filter controls select: a period of whole local days
// from `from` to `to` (both included) when given, a reference name (UTF-8)
// when given, and the verdict choice at `verdictIndex`.
struct FilterChoice {
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<std::string> refName;
    int verdictIndex = 0;
};

ResultFilter FilterOf(const FilterChoice& choice);

}  // namespace qlx
