#include "results/result_filter.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace qlx {

namespace {

QString Marks(std::size_t n)
{
    QStringList marks;
    for (std::size_t i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(", ");
}

}  // namespace

SqlCondition ConditionOf(const ResultFilter& f, const QStringList& extra, const QVariantList& extraValues)
{
    QStringList terms;
    SqlCondition c;
    if (f.fromMs) {
        terms << "measured_at >= ?";
        c.values << QVariant::fromValue<qint64>(*f.fromMs);
    }
    if (f.toMs) {
        terms << "measured_at < ?";
        c.values << QVariant::fromValue<qint64>(*f.toMs);
    }
    if (f.refName) {
        terms << "ref_name = ?";
        c.values << QString::fromStdString(*f.refName);
    }
    if (!f.verdicts.empty()) {
        terms << "verdict IN (" + Marks(f.verdicts.size()) + ")";
        for (const std::string& v : f.verdicts)
            c.values << QString::fromStdString(v);
        // Only completed runs have a verdict. Saying so lets the verdict's
        // index give the rows in time order.
        terms << "outcome = ?";
        c.values << QString::fromLatin1(OutcomeText(RunOutcome::Completed));
    }
    if (!f.outcomes.empty()) {
        terms << "outcome IN (" + Marks(f.outcomes.size()) + ")";
        for (RunOutcome o : f.outcomes)
            c.values << QString::fromLatin1(OutcomeText(o));
    }
    terms << extra;
    c.values << extraValues;
    if (!terms.isEmpty())
        c.text = " WHERE " + terms.join(" AND ");
    return c;
}

void BindValues(QSqlQuery& query, const QVariantList& values)
{
    for (const QVariant& v : values)
        query.addBindValue(v);
}

}  // namespace qlx
