#include "results/record_sql.h"

#include <QMetaType>
#include <QSqlError>
#include <QVariant>

#include "results/results_schema.h"

namespace qlx {

namespace {

QVariant Text(const std::string& s) { return QString::fromStdString(s); }

// Absent values are bound as typed nulls, which every driver passes on as NULL.
template <class T>
QVariant Optional(const std::optional<T>& v)
{
    return v ? QVariant::fromValue(*v) : QVariant(QMetaType::fromType<T>());
}

QVariant OptionalText(const std::optional<std::string>& v)
{
    return v ? Text(*v) : QVariant(QMetaType::fromType<QString>());
}

std::string TextAt(const QSqlQuery& q, int i) { return q.value(i).toString().toStdString(); }

std::optional<std::string> OptionalTextAt(const QSqlQuery& q, int i)
{
    const QVariant v = q.value(i);
    if (v.isNull())
        return std::nullopt;
    return v.toString().toStdString();
}

std::optional<int> OptionalIntAt(const QSqlQuery& q, int i)
{
    const QVariant v = q.value(i);
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}

std::optional<double> OptionalDoubleAt(const QSqlQuery& q, int i)
{
    const QVariant v = q.value(i);
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

std::optional<std::vector<ResultRecord>> Select(QSqlDatabase db, const QString& where, const std::string& key,
                                                std::string* error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QString::fromStdString("SELECT " + RecordColumnList() + " FROM records WHERE ") + where + " ORDER BY id");
    q.addBindValue(Text(key));
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text().toStdString();
        return std::nullopt;
    }
    std::vector<ResultRecord> records;
    while (q.next())
        records.push_back(RecordFromRow(q));
    return records;
}

}  // namespace

QString InsertRecordSql()
{
    QString marks;
    for (int i = 0; i < kRecordColumnCount; ++i)
        marks += i ? ", ?" : "?";
    return QString::fromStdString("INSERT INTO records (" + RecordColumnList() + ") VALUES (") + marks +
           ") ON CONFLICT (uuid) DO NOTHING";
}

void BindRecord(QSqlQuery& q, const ResultRecord& r)
{
    q.addBindValue(Text(r.uuid));
    q.addBindValue(Text(r.runUuid));
    q.addBindValue(QVariant::fromValue<qint64>(r.measuredAtMs));
    q.addBindValue(r.utcOffsetS);
    q.addBindValue(Text(r.station));
    q.addBindValue(Text(r.operatorName));
    q.addBindValue(QString::fromLatin1(OutcomeText(r.outcome)));
    q.addBindValue(OptionalText(r.refName));
    q.addBindValue(OptionalText(r.refFile));
    q.addBindValue(OptionalText(r.refHash));
    q.addBindValue(Text(r.terminal));
    q.addBindValue(Optional(r.channel));
    q.addBindValue(OptionalText(r.verdict));
    q.addBindValue(Optional(r.ng1));
    q.addBindValue(Optional(r.ng2));
    q.addBindValue(Optional(r.ng3));
    q.addBindValue(Optional(r.judgeFirst));
    q.addBindValue(Optional(r.judgeLast));
    q.addBindValue(Optional(r.worstDeviationPct));
    q.addBindValue(Optional(r.worstDeviationHz));
    q.addBindValue(Optional(r.f0Hz));
    q.addBindValue(Optional(r.zmaxOhm));
    q.addBindValue(Optional(r.qts));
    q.addBindValue(Optional(r.zminOhm));
    q.addBindValue(Optional(r.zminHz));
    q.addBindValue(Optional(r.refF0Hz));
    q.addBindValue(r.points.empty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(PointsBlob(r.points)));
}

ResultRecord RecordFromRow(const QSqlQuery& q, int first)
{
    ResultRecord r;
    int i = first;
    r.uuid = TextAt(q, i++);
    r.runUuid = TextAt(q, i++);
    r.measuredAtMs = q.value(i++).toLongLong();
    r.utcOffsetS = q.value(i++).toInt();
    r.station = TextAt(q, i++);
    r.operatorName = TextAt(q, i++);
    r.outcome = OutcomeFromText(TextAt(q, i++)).value_or(RunOutcome::Failed);
    r.refName = OptionalTextAt(q, i++);
    r.refFile = OptionalTextAt(q, i++);
    r.refHash = OptionalTextAt(q, i++);
    r.terminal = TextAt(q, i++);
    r.channel = OptionalIntAt(q, i++);
    r.verdict = OptionalTextAt(q, i++);
    r.ng1 = OptionalIntAt(q, i++);
    r.ng2 = OptionalIntAt(q, i++);
    r.ng3 = OptionalIntAt(q, i++);
    r.judgeFirst = OptionalIntAt(q, i++);
    r.judgeLast = OptionalIntAt(q, i++);
    r.worstDeviationPct = OptionalIntAt(q, i++);
    r.worstDeviationHz = OptionalDoubleAt(q, i++);
    r.f0Hz = OptionalDoubleAt(q, i++);
    r.zmaxOhm = OptionalDoubleAt(q, i++);
    r.qts = OptionalDoubleAt(q, i++);
    r.zminOhm = OptionalDoubleAt(q, i++);
    r.zminHz = OptionalDoubleAt(q, i++);
    r.refF0Hz = OptionalDoubleAt(q, i++);
    const QVariant points = q.value(i++);
    if (!points.isNull())
        r.points = PointsFromBlob(points.toByteArray());
    return r;
}

QByteArray PointsBlob(const std::vector<std::string>& points)
{
    QByteArray blob;
    for (std::size_t j = 0; j < points.size(); ++j) {
        if (j)
            blob.append('\n');
        blob.append(points[j].data(), static_cast<qsizetype>(points[j].size()));
    }
    return blob;
}

std::vector<std::string> PointsFromBlob(const QByteArray& blob)
{
    std::vector<std::string> points(1);
    for (char c : blob) {
        if (c == '\n')
            points.emplace_back();
        else
            points.back().push_back(c);
    }
    return points;
}

std::optional<std::vector<ResultRecord>> RecordsOfRun(QSqlDatabase db, const std::string& runUuid, std::string* error)
{
    return Select(db, "run_uuid = ?", runUuid, error);
}

std::optional<ResultRecord> RecordByUuid(QSqlDatabase db, const std::string& uuid, std::string* error)
{
    auto records = Select(db, "uuid = ?", uuid, error);
    if (!records || records->empty())
        return std::nullopt;
    return records->front();
}

}  // namespace qlx
