#include "results/results_queries.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

#include "results/result_record.h"

namespace qlx {

namespace {

template <class T>
std::optional<T> Fail(const QSqlQuery& q, std::string* error)
{
    if (error)
        *error = q.lastError().text().toStdString();
    return std::nullopt;
}

bool Run(QSqlQuery& q, const QString& sql, const QVariantList& values)
{
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return false;
    BindValues(q, values);
    return q.exec();
}

void Count(YieldCounts& y, const QVariant& verdict, const std::string& outcome, std::int64_t n)
{
    if (outcome == OutcomeText(RunOutcome::Cancelled)) {
        y.cancelled += n;
        return;
    }
    if (outcome == OutcomeText(RunOutcome::Failed)) {
        y.failed += n;
        return;
    }
    const std::string v = verdict.toString().toStdString();
    if (v == "OK") {
        y.ok += n;
        y.total += n;
        return;
    }
    const auto ng = std::find(kNgVerdicts.begin(), kNgVerdicts.end(), v);
    if (ng != kNgVerdicts.end()) {
        y.ng[static_cast<std::size_t>(ng - kNgVerdicts.begin())] += n;
        y.total += n;
        return;
    }
    y.noReference += n;
}

}  // namespace

std::optional<YieldCounts> CountYield(QSqlDatabase db, const ResultFilter& filter, std::string* error)
{
    const SqlCondition c = ConditionOf(filter);
    QSqlQuery q(db);
    // Grouped in the order of an index that holds every column asked for
    // (records_counts, or records_reference_counts for one reference): no
    // table row is read.
    if (!Run(q, "SELECT verdict, outcome, COUNT(*) FROM records" + c.text + " GROUP BY verdict, outcome", c.values))
        return Fail<YieldCounts>(q, error);
    YieldCounts y;
    while (q.next())
        Count(y, q.value(0), q.value(1).toString().toStdString(), q.value(2).toLongLong());
    return y;
}

std::optional<std::int64_t> LastCounterReset(QSqlDatabase db, std::string* error)
{
    QSqlQuery q(db);
    if (!Run(q, "SELECT MAX(reset_at) FROM counter_resets", {}) || !q.next())
        return Fail<std::int64_t>(q, error);
    if (q.value(0).isNull())
        return std::nullopt;
    return q.value(0).toLongLong();
}

std::optional<YieldCounts> CountYieldSinceReset(QSqlDatabase db, const ResultFilter& filter, std::string* error)
{
    std::string failure;
    const std::optional<std::int64_t> reset = LastCounterReset(db, &failure);
    if (!failure.empty()) {
        if (error)
            *error = failure;
        return std::nullopt;
    }
    ResultFilter since = filter;
    if (reset)
        since.fromMs = std::max(filter.fromMs.value_or(*reset), *reset);
    return CountYield(db, since, error);
}

std::optional<std::vector<RecentUnit>> RecentUnits(QSqlDatabase db, const ResultFilter& filter, int count,
                                                   std::string* error)
{
    const SqlCondition c =
        ConditionOf(filter, {"outcome = ?"}, {QString::fromLatin1(OutcomeText(RunOutcome::Completed))});
    QSqlQuery q(db);
    QVariantList values = c.values;
    values << count;
    if (!Run(q,
             "SELECT measured_at, verdict, f0_hz, ref_f0_hz FROM records" + c.text +
                 " ORDER BY measured_at DESC, id DESC LIMIT ?",
             values))
        return Fail<std::vector<RecentUnit>>(q, error);
    std::vector<RecentUnit> units;
    while (q.next()) {
        RecentUnit u;
        u.measuredAtMs = q.value(0).toLongLong();
        u.verdict = q.value(1).toString().toStdString();
        if (!q.value(2).isNull())
            u.f0Hz = q.value(2).toDouble();
        if (!q.value(3).isNull())
            u.refF0Hz = q.value(3).toDouble();
        units.push_back(std::move(u));
    }
    std::reverse(units.begin(), units.end());
    return units;
}

std::optional<std::vector<std::string>> ReferenceNames(QSqlDatabase db, std::string* error)
{
    // Steps from name to name through the records_reference index instead of
    // reading every record.
    QSqlQuery q(db);
    if (!Run(q,
             "WITH RECURSIVE names(name) AS (SELECT MIN(ref_name) FROM records UNION ALL "
             "SELECT (SELECT MIN(ref_name) FROM records WHERE ref_name > names.name) FROM names "
             "WHERE names.name IS NOT NULL) SELECT name FROM names WHERE name IS NOT NULL",
             {}))
        return Fail<std::vector<std::string>>(q, error);
    std::vector<std::string> names;
    while (q.next())
        names.push_back(q.value(0).toString().toStdString());
    return names;
}

}  // namespace qlx
