#include "results/results_log.h"

#include <QSqlDatabase>

namespace qlx {

SqlDriverCheck CheckSqlDrivers()
{
    return {QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")),
            QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))};
}

std::optional<std::string> MissingDriverText(const ResultsSettings& settings, const SqlDriverCheck& drivers)
{
    if (!settings.logOn)
        return std::nullopt;
    if (!drivers.sqlite)
        return std::string(
            "測定履歴を記録できません。\r\nQt の SQLite ドライバー (QSQLITE, パッケージ libqt6sql6-sqlite) "
            "がありません。");
    if (settings.line.enabled && !drivers.postgres)
        return std::string(
            "測定履歴をラインのデータベースへ送れません。\r\nQt の PostgreSQL ドライバー (QPSQL, "
            "パッケージ libqt6sql6-psql) がありません。測定履歴はこのパソコンにだけ記録します。");
    return std::nullopt;
}

std::string DiscardedRecordsText(std::size_t count, const std::string& file, const std::string& reason)
{
    return "測定履歴の記録をオフにしました。\r\n書き込めなかった記録 " + std::to_string(count) +
           " 件は破棄しました。\r\n" + file + "\r\n" + reason;
}

ResultsLog::ResultsLog(const ResultsSettings& settings, const SqlDriverCheck& drivers, ForwarderOptions forwarding)
{
    if (!settings.logOn || !drivers.sqlite)
        return;
    const std::string path = ResultsDatabasePath(settings);
    store_ = std::make_unique<ResultStore>(path);
    if (settings.line.enabled && drivers.postgres) {
        forwarder_ = std::make_unique<ResultForwarder>(path, settings.line, forwarding);
        store_->onWritten = [f = forwarder_.get()] { f->Wake(); };
    }
}

std::optional<StoreFailure> ResultsLog::Record(const std::vector<ResultRecord>& records)
{
    if (!store_)
        return std::nullopt;
    return store_->Append(records).report;
}

}  // namespace qlx
