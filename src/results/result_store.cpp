#include "results/result_store.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "results/record_sql.h"

namespace qlx {

namespace {

std::string Reason(const QSqlQuery& q) { return q.lastError().text().toStdString(); }

}  // namespace

std::string StoreFailureText(const StoreFailure& failure)
{
    return "測定履歴を書き込めません。\r\n" + failure.file + "\r\n" + failure.reason +
           "\r\n記録はメモリーに保持し、書き込めるようになった時に書き込みます。";
}

ResultStore::ResultStore(std::string path, ResultsFileOptions options) : path_(std::move(path)), options_(options)
{
    // A failure here shows at the first write, which keeps its record.
    std::string ignored;
    EnsureOpen(ignored);
}

ResultStore::~ResultStore() { Close(); }

void ResultStore::Close()
{
    insert_.reset();
    connection_.db().close();
}

bool ResultStore::EnsureOpen(std::string& reason)
{
    if (insert_)
        return true;
    reason = OpenResultsFile(connection_.db(), path_, options_);
    if (!reason.empty())
        return false;
    insert_ = std::make_unique<QSqlQuery>(connection_.db());
    if (!insert_->prepare(InsertRecordSql())) {
        reason = Reason(*insert_);
        Close();
        return false;
    }
    return true;
}

bool ResultStore::WriteKept(std::string& reason, std::int64_t& lastId)
{
    QSqlQuery q(connection_.db());
    // IMMEDIATE takes the write lock at once, so a busy file waits here
    // (up to the busy time-out) and never fails half-way.
    if (!q.exec("BEGIN IMMEDIATE")) {
        reason = Reason(q);
        return false;
    }
    for (const ResultRecord& r : kept_) {
        BindRecord(*insert_, r);
        if (!insert_->exec()) {
            reason = Reason(*insert_);
            q.exec("ROLLBACK");
            return false;
        }
    }
    lastId = insert_->lastInsertId().toLongLong();
    if (!q.exec("COMMIT")) {
        reason = Reason(q);
        q.exec("ROLLBACK");
        return false;
    }
    return true;
}

AppendResult ResultStore::Failed(const std::string& reason)
{
    // The next attempt opens the file again: a file that was read-only or
    // could not be opened may be writable by then.
    Close();
    AppendResult result;
    result.kept = kept_.size();
    result.reason = reason;
    if (!reported_) {
        reported_ = true;
        result.report = StoreFailure{path_, reason};
    }
    return result;
}

AppendResult ResultStore::Append(const std::vector<ResultRecord>& records)
{
    kept_.insert(kept_.end(), records.begin(), records.end());
    AppendResult result;
    if (kept_.empty()) {
        result.written = true;
        return result;
    }
    std::string reason;
    if (!EnsureOpen(reason) || !WriteKept(reason, result.lastId))
        return Failed(reason);
    kept_.clear();
    result.written = true;
    if (onWritten)
        onWritten();
    return result;
}

std::optional<StoreFailure> ResultStore::ResetCounter(std::int64_t atMs, const std::string& station,
                                                      const std::string& operatorName)
{
    std::string reason;
    if (!EnsureOpen(reason))
        return StoreFailure{path_, reason};
    QSqlQuery q(connection_.db());
    q.prepare("INSERT INTO counter_resets (reset_at, station, operator) VALUES (?, ?, ?)");
    q.addBindValue(QVariant::fromValue<qint64>(atMs));
    q.addBindValue(QString::fromStdString(station));
    q.addBindValue(QString::fromStdString(operatorName));
    if (!q.exec())
        return StoreFailure{path_, Reason(q)};
    return std::nullopt;
}

}  // namespace qlx
