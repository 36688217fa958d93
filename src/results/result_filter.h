#pragma once

#include <QString>
#include <QVariantList>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "results/result_record.h"

class QSqlQuery;

namespace qlx {

// Which records a results view shows. Every field left empty selects all.
struct ResultFilter {
    std::optional<std::int64_t> fromMs;  // measured at or after (UTC ms)
    std::optional<std::int64_t> toMs;    // measured before
    std::optional<std::string> refName;  // UTF-8, as recorded
    std::vector<std::string> verdicts;   // any of these verdicts
    std::vector<RunOutcome> outcomes;    // any of these outcomes
};

// A WHERE clause with the values for its placeholders, in order.
struct SqlCondition {
    QString text;  // "" or " WHERE ..."
    QVariantList values;
};

// The filter's condition, and-ed with `extra` conditions (SQL text with their
// own values appended in order).
SqlCondition ConditionOf(const ResultFilter& filter, const QStringList& extra = {},
                         const QVariantList& extraValues = {});

void BindValues(QSqlQuery& query, const QVariantList& values);

}  // namespace qlx
