#include "results/database_open.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "results/results_schema.h"

namespace qlx {

namespace {

// A connection that is not made within this (per address; libpq's least is
// 2 s) fails and is tried again later.
constexpr int kConnectTimeoutS = 5;
// An idle connection is probed after 10 s, every 5 s, and given up after 3
// probes without answer: a dead server is noticed within 25 s.
constexpr int kKeepaliveIdleS = 10;
constexpr int kKeepaliveIntervalS = 5;
constexpr int kKeepaliveCount = 3;
// Sent data left unacknowledged this long (a server gone mid-batch) fails
// the connection.
constexpr int kTcpUserTimeoutMs = 20000;

std::string Reason(const QSqlError& e) { return e.text().toStdString(); }

}  // namespace

std::string OpenResultsFile(QSqlDatabase db, const std::string& path, const ResultsFileOptions& options)
{
    const QString file = QString::fromStdString(path);
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        return "cannot create the folder " + folder.toStdString();
    db.close();
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(options.busyTimeoutMs));
    if (!db.open())
        return Reason(db.lastError());
    QSqlQuery q(db);
    if (!q.exec("PRAGMA journal_mode=WAL") || !q.next()) {
        const std::string reason = Reason(q.lastError());
        db.close();
        return reason;
    }
    if (q.value(0).toString() != QStringLiteral("wal")) {
        const std::string mode = q.value(0).toString().toStdString();
        db.close();
        return "the write-ahead log cannot be used (journal mode " + mode + ")";
    }
    if (!q.exec(options.fullSync ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=NORMAL")) {
        const std::string reason = Reason(q.lastError());
        db.close();
        return reason;
    }
    q.finish();
    if (std::string reason = EnsureResultsSchema(db, SqlDialect::Sqlite); !reason.empty()) {
        db.close();
        return reason;
    }
    return {};
}

QString LineConnectOptions(const LineDatabaseSettings& line)
{
    // QPSQL hands these to libpq with the ";" turned into blanks.
    QString options = QStringLiteral(
                          "connect_timeout=%1;keepalives=1;keepalives_idle=%2;keepalives_interval=%3;"
                          "keepalives_count=%4;tcp_user_timeout=%5")
                          .arg(kConnectTimeoutS)
                          .arg(kKeepaliveIdleS)
                          .arg(kKeepaliveIntervalS)
                          .arg(kKeepaliveCount)
                          .arg(kTcpUserTimeoutMs);
    if (!line.options.empty())
        options += ";" + QString::fromStdString(line.options);
    return options;
}

std::string OpenLineDatabase(QSqlDatabase db, const LineDatabaseSettings& line)
{
    db.close();
    db.setHostName(QString::fromStdString(line.host));
    db.setPort(line.port);
    db.setDatabaseName(QString::fromStdString(line.database));
    db.setUserName(QString::fromStdString(line.user));
    db.setPassword(QString::fromStdString(line.password));
    db.setConnectOptions(LineConnectOptions(line));
    if (!db.open())
        return Reason(db.lastError());
    if (std::string reason = EnsureResultsSchema(db, SqlDialect::Postgres); !reason.empty()) {
        db.close();
        return reason;
    }
    return {};
}

}  // namespace qlx
