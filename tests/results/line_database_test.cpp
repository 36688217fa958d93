#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "db_fixture.h"
#include "record_fixture.h"
#include "results/database_open.h"
#include "results/record_sql.h"
#include "results/result_forwarder.h"
#include "results/result_store.h"
#include "results/results_queries.h"
#include "results/results_table_model.h"
#include "support/postgres_server.h"

namespace qlx {
namespace {

using namespace std::chrono_literals;
using qlxtest::PostgresServer;
using test::CurvesAfterRun;
using test::FixedContext;
using test::RawSqlite;

// Generous: the machine is shared and a server start takes about a second.
constexpr auto kPatience = 60s;

// A connection of the test's own on the line database.
class RawPostgres {
public:
    explicit RawPostgres(const LineDatabaseSettings& line) : connection_(QStringLiteral("QPSQL"))
    {
        const std::string reason = OpenLineDatabase(connection_.db(), line);
        EXPECT_EQ(reason, "");
    }
    QSqlDatabase db() const { return connection_.db(); }
    QVariant Value(const QString& sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql) || !q.next())
            return {};
        return q.value(0);
    }
    std::string Exec(const QString& sql) const
    {
        QSqlQuery q(db());
        return q.exec(sql) ? std::string() : q.lastError().text().toStdString();
    }

private:
    SqlConnection connection_;
};

class LineDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.running())
            GTEST_SKIP() << "no PostgreSQL server of the test's own: " << server.whyNot();
    }

    LineDatabaseSettings Line() const
    {
        return {
            true, server.socketFolder(), PostgresServer::kPort, PostgresServer::kDatabase, PostgresServer::kUser, "",
            ""};
    }

    // Runs of every terminal and a cancelled one; returns the last local id.
    std::int64_t WriteRuns(ResultStore& store, int count)
    {
        std::int64_t lastId = 0;
        for (int i = 0; i < count; ++i) {
            const int ref = i % 4;
            const RunOutcome outcome = i % 5 == 4 ? RunOutcome::Cancelled : RunOutcome::Completed;
            const auto run =
                MakeRunRecords(CurvesAfterRun(ref, ref + 6 * (i % 2)), {outcome, {0, 1, 2, 3}}, FixedContext());
            const AppendResult written = store.Append(run);
            EXPECT_TRUE(written.written);
            lastId = written.lastId;
            records.insert(records.end(), run.begin(), run.end());
        }
        return lastId;
    }

    void ExpectEveryRecordOnceOnTheServer()
    {
        RawPostgres pg(Line());
        EXPECT_EQ(pg.Value("SELECT COUNT(*) FROM records").toLongLong(), static_cast<qint64>(records.size()));
        EXPECT_EQ(pg.Value("SELECT COUNT(DISTINCT uuid) FROM records").toLongLong(),
                  static_cast<qint64>(records.size()));
        for (const ResultRecord& r : records) {
            std::string error;
            const auto there = RecordByUuid(pg.db(), r.uuid, &error);
            ASSERT_TRUE(there) << r.uuid << " " << error;
            EXPECT_EQ(*there, r);
        }
    }

    PostgresServer server;
    qlxtest::TempDir dir;
    std::string path = dir.file("results.sqlite");
    ForwarderOptions fast{3, 100ms, 100ms};  // small batches, quick retries
    std::vector<ResultRecord> records;
};

TEST_F(LineDatabase, AnOutageLosesNothingAndDuplicatesNothing)
{
    ResultStore store(path);
    ResultForwarder forwarder(path, Line(), fast);
    store.onWritten = [&forwarder] { forwarder.Wake(); };

    const std::int64_t before = WriteRuns(store, 5);
    ASSERT_TRUE(forwarder.WaitForwarded(before, kPatience));
    EXPECT_TRUE(forwarder.Status().connected);

    ASSERT_TRUE(server.Stop());
    const std::int64_t during = WriteRuns(store, 6);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (forwarder.Status().connected && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    const ForwardStatus down = forwarder.Status();
    EXPECT_FALSE(down.connected);
    EXPECT_FALSE(down.lastError.empty());
    EXPECT_LT(down.forwardedUpTo, during);

    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(forwarder.WaitForwarded(during, kPatience)) << forwarder.Status().lastError;
    EXPECT_EQ(forwarder.Status().lastError, "");
    ExpectEveryRecordOnceOnTheServer();

    // What was forwarded is noted locally, in rows of its own.
    RawSqlite local(path);
    EXPECT_EQ(local.Value("SELECT MAX(last_record_id) FROM forwarded").toLongLong(), during);
    EXPECT_EQ(local.Value("SELECT COUNT(DISTINCT target) FROM forwarded").toInt(), 1);
}

TEST_F(LineDatabase, RecordsTheServerHasAlreadyAreNotAddedAgain)
{
    std::int64_t lastId = 0;
    {
        ResultStore store(path);
        lastId = WriteRuns(store, 7);
    }
    // A copy of the file before anything was forwarded: its records go to
    // the server a second time, as after losing the note of a batch.
    const std::string copy = dir.file("copy.sqlite");
    std::filesystem::copy_file(path, copy);
    {
        ResultForwarder forwarder(path, Line(), fast);
        ASSERT_TRUE(forwarder.WaitForwarded(lastId, kPatience)) << forwarder.Status().lastError;
    }
    {
        ResultForwarder again(copy, Line(), fast);
        ASSERT_TRUE(again.WaitForwarded(lastId, kPatience)) << again.Status().lastError;
    }
    ExpectEveryRecordOnceOnTheServer();
}

TEST_F(LineDatabase, ServesTheResultsQueriesAndIsAppendOnly)
{
    std::int64_t lastId = 0;
    {
        ResultStore store(path);
        lastId = WriteRuns(store, 6);
        ASSERT_FALSE(store.ResetCounter(0, "s", "o"));
    }
    {
        ResultForwarder forwarder(path, Line(), fast);
        ASSERT_TRUE(forwarder.WaitForwarded(lastId, kPatience)) << forwarder.Status().lastError;
    }
    RawSqlite local(path);
    RawPostgres pg(Line());

    const auto localYield = CountYield(local.db(), {});
    std::string error;
    const auto lineYield = CountYield(pg.db(), {}, &error);
    ASSERT_TRUE(localYield && lineYield) << error;
    EXPECT_EQ(*lineYield, *localYield);
    EXPECT_EQ(RecentUnits(pg.db(), {}, 5), RecentUnits(local.db(), {}, 5));
    EXPECT_EQ(ReferenceNames(pg.db()), ReferenceNames(local.db()));

    ResultsTableModel localTable(local.db());
    ResultsTableModel lineTable(pg.db());
    ResultFilter filter;
    filter.refName = "ARRAY NL8";
    for (ResultsTableModel* m : {&localTable, &lineTable})
        ASSERT_TRUE(m->SetFilter(filter)) << m->lastError();
    ASSERT_GT(lineTable.rowCount(), 0);
    ASSERT_EQ(lineTable.rowCount(), localTable.rowCount());
    for (int row = 0; row < lineTable.rowCount(); ++row)
        for (int column = 0; column < ResultsTableModel::ColumnCount; ++column)
            EXPECT_EQ(lineTable.data(lineTable.index(row, column)), localTable.data(localTable.index(row, column)))
                << row << "," << column;

    const qint64 count = pg.Value("SELECT COUNT(*) FROM records").toLongLong();
    for (const char* sql : {"UPDATE records SET verdict = 'OK'", "DELETE FROM records", "TRUNCATE records",
                            "DELETE FROM schema_version"}) {
        SCOPED_TRACE(sql);
        EXPECT_NE(pg.Exec(sql).find("append-only"), std::string::npos);
    }
    EXPECT_EQ(pg.Value("SELECT COUNT(*) FROM records").toLongLong(), count);
}

}  // namespace
}  // namespace qlx
