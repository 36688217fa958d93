#include "results/result_forwarder.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "results/database_open.h"
#include "results/record_sql.h"
#include "results/results_schema.h"
#include "results/sql_connection.h"

namespace qlx {

namespace {

// In the background a locked file may be waited for longer than in the window.
constexpr int kForwarderBusyTimeoutMs = 2000;

struct Batch {
    std::vector<std::int64_t> ids;
    std::vector<ResultRecord> records;
};

std::string Reason(const QSqlQuery& q) { return q.lastError().text().toStdString(); }

// How far the target has everything, as noted locally.
std::optional<std::int64_t> NotedUpTo(QSqlDatabase db, const std::string& target, std::string& reason)
{
    QSqlQuery q(db);
    q.prepare("SELECT COALESCE(MAX(last_record_id), 0) FROM forwarded WHERE target = ?");
    q.addBindValue(QString::fromStdString(target));
    if (!q.exec() || !q.next()) {
        reason = Reason(q);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<Batch> ReadBatch(QSqlDatabase db, std::int64_t after, int limit, std::string& reason)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(
        QString::fromStdString("SELECT id, " + RecordColumnList() + " FROM records WHERE id > ? ORDER BY id LIMIT ?"));
    q.addBindValue(QVariant::fromValue<qint64>(after));
    q.addBindValue(limit);
    if (!q.exec()) {
        reason = Reason(q);
        return std::nullopt;
    }
    Batch b;
    while (q.next()) {
        b.ids.push_back(q.value(0).toLongLong());
        b.records.push_back(RecordFromRow(q, 1));
    }
    return b;
}

bool SendBatch(QSqlDatabase db, const Batch& batch, std::string& reason)
{
    QSqlQuery q(db);
    if (!db.transaction()) {
        reason = db.lastError().text().toStdString();
        return false;
    }
    if (!q.prepare(InsertRecordSql())) {
        reason = Reason(q);
        db.rollback();
        return false;
    }
    for (const ResultRecord& r : batch.records) {
        BindRecord(q, r);
        if (!q.exec()) {
            reason = Reason(q);
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        reason = db.lastError().text().toStdString();
        db.rollback();
        return false;
    }
    return true;
}

bool NoteBatch(QSqlDatabase db, const std::string& target, std::pair<std::int64_t, std::int64_t> ids,
               std::string& reason)
{
    QSqlQuery q(db);
    q.prepare("INSERT INTO forwarded (target, first_record_id, last_record_id, forwarded_at) VALUES (?, ?, ?, ?)");
    q.addBindValue(QString::fromStdString(target));
    q.addBindValue(QVariant::fromValue<qint64>(ids.first));
    q.addBindValue(QVariant::fromValue<qint64>(ids.second));
    q.addBindValue(QDateTime::currentMSecsSinceEpoch());
    if (!q.exec()) {
        reason = Reason(q);
        return false;
    }
    return true;
}

}  // namespace

std::string LineTarget(const LineDatabaseSettings& line)
{
    return "postgresql://" + line.user + "@" + line.host + ":" + std::to_string(line.port) + "/" + line.database;
}

namespace {
std::atomic<int> threadsRunning{0};
}  // namespace

// What the forwarder's thread uses. The thread holds it too, so a thread left
// running by the forwarder's end still has it.
struct ResultForwarder::Shared {
    Shared(std::string localPath, LineDatabaseSettings line, ForwarderOptions options)
        : localPath(std::move(localPath)), line(std::move(line)), target(LineTarget(this->line)), options(options)
    {}

    void Run();
    // Sleeps until woken, stopped, or `interval` passed; false when stopped.
    bool Pause(std::chrono::milliseconds interval);
    void Report(bool connected, const std::string& error);

    const std::string localPath;
    const LineDatabaseSettings line;
    const std::string target;
    const ForwarderOptions options;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable progress;  // forwarded records, and the thread's end
    bool stop = false;
    bool woken = false;
    bool finished = false;
    ForwardStatus status;
};

ResultForwarder::ResultForwarder(std::string localPath, LineDatabaseSettings line, ForwarderOptions options)
    : shared_(std::make_shared<Shared>(std::move(localPath), std::move(line), options))
{
    ++threadsRunning;
    thread_ = std::thread([shared = shared_] {
        shared->Run();  // its connections are gone when it returns
        {
            std::lock_guard lock(shared->mutex);
            shared->finished = true;
        }
        shared->progress.notify_all();
        --threadsRunning;
    });
}

ResultForwarder::~ResultForwarder()
{
    std::unique_lock lock(shared_->mutex);
    shared_->stop = true;
    shared_->wake.notify_all();
    const bool ended =
        shared_->progress.wait_for(lock, shared_->options.stopWait, [this] { return shared_->finished; });
    lock.unlock();
    if (ended)
        thread_.join();
    else
        thread_.detach();
}

int ResultForwarder::ThreadsRunning() { return threadsRunning.load(); }

void ResultForwarder::Wake()
{
    {
        std::lock_guard lock(shared_->mutex);
        shared_->woken = true;
    }
    shared_->wake.notify_all();
}

ForwardStatus ResultForwarder::Status() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->status;
}

bool ResultForwarder::WaitForwarded(std::int64_t recordId, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(shared_->mutex);
    return shared_->progress.wait_for(lock, timeout, [&] { return shared_->status.forwardedUpTo >= recordId; });
}

bool ResultForwarder::Shared::Pause(std::chrono::milliseconds interval)
{
    std::unique_lock lock(mutex);
    wake.wait_for(lock, interval, [this] { return stop || woken; });
    woken = false;
    return !stop;
}

void ResultForwarder::Shared::Report(bool connected, const std::string& error)
{
    std::lock_guard lock(mutex);
    status.connected = connected;
    status.lastError = error;
}

void ResultForwarder::Shared::Run()
{
    SqlConnection local(QStringLiteral("QSQLITE"));
    SqlConnection server(QStringLiteral("QPSQL"));
    bool localOpen = false;
    bool serverOpen = false;
    std::optional<std::int64_t> upTo;  // read from the local file once open
    // A batch the server has, not yet noted locally.
    std::optional<std::pair<std::int64_t, std::int64_t>> unnoted;
    std::string reason;

    auto retry = [&](bool connected) {
        Report(connected, reason);
        return Pause(options.retryInterval);
    };
    for (;;) {
        {
            std::lock_guard lock(mutex);
            if (stop)
                break;
        }
        if (!localOpen) {
            reason = OpenResultsFile(local.db(), localPath, {kForwarderBusyTimeoutMs, true});
            if (!reason.empty()) {
                if (!retry(serverOpen))
                    break;
                continue;
            }
            localOpen = true;
        }
        if (!upTo) {
            upTo = NotedUpTo(local.db(), target, reason);
            if (!upTo) {
                local.db().close();
                localOpen = false;
                if (!retry(serverOpen))
                    break;
                continue;
            }
            std::lock_guard lock(mutex);
            status.forwardedUpTo = *upTo;
        }
        if (unnoted) {
            if (!NoteBatch(local.db(), target, *unnoted, reason)) {
                if (!retry(serverOpen))
                    break;
                continue;
            }
            unnoted.reset();
        }
        const std::optional<Batch> batch = ReadBatch(local.db(), *upTo, options.batchRecords, reason);
        if (!batch) {
            local.db().close();
            localOpen = false;
            if (!retry(serverOpen))
                break;
            continue;
        }
        if (batch->ids.empty()) {
            if (!Pause(options.pollInterval))
                break;
            continue;
        }
        if (!serverOpen) {
            reason = OpenLineDatabase(server.db(), line);
            if (!reason.empty()) {
                if (!retry(false))
                    break;
                continue;
            }
            serverOpen = true;
        }
        if (!SendBatch(server.db(), *batch, reason)) {
            // The connection may be gone with the server; a new one is made
            // for the next try, which sends the same batch again.
            server.db().close();
            serverOpen = false;
            if (!retry(false))
                break;
            continue;
        }
        upTo = batch->ids.back();
        unnoted = std::make_pair(batch->ids.front(), batch->ids.back());
        if (NoteBatch(local.db(), target, *unnoted, reason)) {
            unnoted.reset();
            reason.clear();
        }
        {
            std::lock_guard lock(mutex);
            status.forwardedUpTo = *upTo;
            status.connected = true;
            status.lastError = reason;
        }
        progress.notify_all();
    }
}

}  // namespace qlx
