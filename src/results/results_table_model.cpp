#include "results/results_table_model.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

#include "model/curve_lines.h"
#include "results/result_record.h"

namespace qlx {

namespace {

const char* const kHeaders[ResultsTableModel::ColumnCount] = {
    "日時", "ステーション", "作業者",           "リファレンス", "測定端子", "チャンネル",
    "判定", "最大偏差",     "最大偏差の周波数", "f0",           "Qts",
};

QString LocalTime(qint64 ms, int offsetS)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, offsetS).toString("yyyy-MM-dd HH:mm:ss");
}

QVariant Number(const QVariant& v, int decimals)
{
    return v.isNull() ? QVariant() : QVariant(QString::number(v.toDouble(), 'f', decimals));
}

}  // namespace

QString VerdictCaption(const QString& key)
{
    if (key == QLatin1String(kNoReferenceVerdict))
        return QStringLiteral("リファレンスなし");
    if (key == QLatin1String(OutcomeText(RunOutcome::Cancelled)))
        return QStringLiteral("中止");
    if (key == QLatin1String(OutcomeText(RunOutcome::Failed)))
        return QStringLiteral("失敗");
    return key;
}

ResultsTableModel::ResultsTableModel(QSqlDatabase db, QObject* parent) : QAbstractTableModel(parent), db_(db) {}

bool ResultsTableModel::SetFilter(const ResultFilter& filter)
{
    filter_ = filter;
    return Refresh();
}

bool ResultsTableModel::Refresh()
{
    beginResetModel();
    pages_.clear();
    recentPages_.clear();
    count_ = 0;
    upToId_ = 0;
    lastError_.clear();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    bool ok = q.exec("SELECT MAX(id) FROM records") && q.next();
    if (ok) {
        upToId_ = q.value(0).toLongLong();
        // "+id" keeps the bound from steering the query away from the
        // time index that gives the newest-first order.
        const SqlCondition c = ConditionOf(filter_, {"+id <= ?"}, {QVariant::fromValue<qint64>(upToId_)});
        ok = q.prepare("SELECT COUNT(*) FROM records" + c.text);
        BindValues(q, c.values);
        ok = ok && q.exec() && q.next();
        if (ok)
            count_ = q.value(0).toInt();
    }
    if (!ok)
        lastError_ = q.lastError().text().toStdString();
    endResetModel();
    return ok;
}

int ResultsTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }

int ResultsTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(kHeaders[section]);
}

bool ResultsTableModel::LoadPage(int page) const
{
    const SqlCondition c = ConditionOf(filter_, {"+id <= ?"}, {QVariant::fromValue<qint64>(upToId_)});
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    bool ok = q.prepare(
        "SELECT uuid, measured_at, utc_offset_s, station, operator, outcome, ref_name, terminal, channel, verdict, "
        "worst_dev_pct, worst_dev_hz, f0_hz, qts FROM records" +
        c.text + " ORDER BY measured_at DESC, id DESC LIMIT ? OFFSET ?");
    BindValues(q, c.values);
    q.addBindValue(kPageRows);
    q.addBindValue(page * kPageRows);
    if (!ok || !q.exec()) {
        lastError_ = q.lastError().text().toStdString();
        return false;
    }
    std::vector<Row> rows;
    rows.reserve(kPageRows);
    while (q.next()) {
        Row r;
        r.uuid = q.value(0).toString();
        r.time = LocalTime(q.value(1).toLongLong(), q.value(2).toInt());
        r.station = q.value(3).toString();
        r.operatorName = q.value(4).toString();
        const QString outcome = q.value(5).toString();
        r.reference = q.value(6).toString();
        r.terminal = QString::fromLatin1(TerminalCaption(q.value(7).toString().toStdString()));
        r.channel = q.value(8);
        r.verdictKey = q.value(9).isNull() ? outcome : q.value(9).toString();
        r.verdict = VerdictCaption(r.verdictKey);
        if (!q.value(10).isNull())
            r.deviation = QStringLiteral("%1%").arg(q.value(10).toInt());
        r.deviationHz = q.value(11).isNull() ? QVariant() : QVariant(QString::number(q.value(11).toDouble()));
        r.f0 = Number(q.value(12), 1);
        r.qts = Number(q.value(13), 2);
        rows.push_back(std::move(r));
    }
    pages_[page] = std::move(rows);
    recentPages_.push_front(page);
    while (recentPages_.size() > kCachedPages) {
        pages_.erase(recentPages_.back());
        recentPages_.pop_back();
    }
    return true;
}

const ResultsTableModel::Row* ResultsTableModel::RowAt(int row) const
{
    if (row < 0 || row >= count_)
        return nullptr;
    const int page = row / kPageRows;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        if (!LoadPage(page))
            return nullptr;
        it = pages_.find(page);
    } else if (recentPages_.front() != page) {
        recentPages_.remove(page);
        recentPages_.push_front(page);
    }
    const std::size_t i = static_cast<std::size_t>(row % kPageRows);
    return i < it->second.size() ? &it->second[i] : nullptr;
}

QVariant ResultsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != kUuidRole && role != kVerdictRole))
        return {};
    const Row* r = RowAt(index.row());
    if (!r)
        return {};
    if (role == kUuidRole)
        return r->uuid;
    if (role == kVerdictRole)
        return r->verdictKey;
    switch (index.column()) {
    case TimeColumn: return r->time;
    case StationColumn: return r->station;
    case OperatorColumn: return r->operatorName;
    case ReferenceColumn: return r->reference;
    case TerminalColumn: return r->terminal;
    case ChannelColumn: return r->channel;
    case VerdictColumn: return r->verdict;
    case DeviationColumn: return r->deviation;
    case DeviationHzColumn: return r->deviationHz;
    case F0Column: return r->f0;
    case QtsColumn: return r->qts;
    default: return {};
    }
}

}  // namespace qlx
