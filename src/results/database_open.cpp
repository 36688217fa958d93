#include "results/database_open.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "results/results_schema.h"

namespace qlx {

namespace {

constexpr int kConnectTimeoutS = 5;

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

std::string OpenLineDatabase(QSqlDatabase db, const LineDatabaseSettings& line)
{
    db.close();
    db.setHostName(QString::fromStdString(line.host));
    db.setPort(line.port);
    db.setDatabaseName(QString::fromStdString(line.database));
    db.setUserName(QString::fromStdString(line.user));
    db.setPassword(QString::fromStdString(line.password));
    QString options = QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutS);
    if (!line.options.empty())
        options += ";" + QString::fromStdString(line.options);
    db.setConnectOptions(options);
    if (!db.open())
        return Reason(db.lastError());
    if (std::string reason = EnsureResultsSchema(db, SqlDialect::Postgres); !reason.empty()) {
        db.close();
        return reason;
    }
    return {};
}

}  // namespace qlx
