#include <gtest/gtest.h>

#include "db_fixture.h"
#include "judge/thresholds.h"
#include "model/sjis.h"
#include "record_fixture.h"
#include "results/record_sql.h"
#include "results/result_store.h"
#include "results/results_schema.h"

namespace qlx {
namespace {

using test::CurvesAfterRun;
using test::FixedContext;
using test::RawSqlite;

class Store : public ::testing::Test {
protected:
    qlxtest::TempDir dir;
    std::string path = dir.file("data/qlx50-manager/results.sqlite");
};

// Runs of every kind a measurement leaves.
std::vector<std::vector<ResultRecord>> KindsOfRuns()
{
    std::vector<std::vector<ResultRecord>> runs;
    CurveState ok = CurvesAfterRun(0, 0);
    for (int j = 0; j < kPointCount; ++j)
        ok.ImpLines[PointSlot(0, j)] = ok.RefLines[PointSlot(0, j)];
    runs.push_back(MakeRunRecords(ok, {RunOutcome::Completed, {0}}, FixedContext()));

    CurveState ng = ok;
    const int k = ReferenceMinimumIndex(ng.RefLines, 0, ng.RefMinFreq[0], ng.RefMaxFreq[0]);
    ng.ImpLines[PointSlot(0, k)] = "9999";
    runs.push_back(MakeRunRecords(ng, {RunOutcome::Completed, {0}}, FixedContext()));

    runs.push_back(MakeRunRecords(CurvesAfterRun(3, 9), {RunOutcome::Completed, {0, 1, 2, 3}}, FixedContext()));

    CurveState noRef = CurvesAfterRun(0, 6);
    noRef.RefLoaded = false;
    runs.push_back(MakeRunRecords(noRef, {RunOutcome::Completed, {0}}, FixedContext()));

    runs.push_back(MakeRunRecords(CurvesAfterRun(2, 2), {RunOutcome::Cancelled, {}}, FixedContext()));
    runs.push_back(MakeRunRecords(CurvesAfterRun(2, 2), {RunOutcome::Failed, {}}, FixedContext()));

    // What the resonance analysis adds, a Japanese reference and file name,
    // and a point line that is no number, with a byte above 0x7F.
    CurveState odd = CurvesAfterRun(4, 4);
    odd.RefFilePath = "/home/tanaka/リファレンス/ウーファー18.q5imp";
    odd.ImpLines[PointSlot(0, 7)] = std::string("12\x83", 3);
    std::vector<ResultRecord> analysed = MakeRunRecords(odd, {RunOutcome::Completed, {0}}, FixedContext(-5000));
    analysed[0].f0Hz = 41.25;
    analysed[0].zmaxOhm = 57.9;
    analysed[0].qts = 0.4375;
    analysed[0].zminOhm = 6.1;
    analysed[0].zminHz = 237.0;
    analysed[0].refF0Hz = 41.0;
    analysed[0].utcOffsetS = -4 * 3600 - 1800;
    runs.push_back(analysed);
    return runs;
}

TEST_F(Store, RecordsOfEveryKindReadBackFieldByField)
{
    const auto runs = KindsOfRuns();
    ASSERT_EQ(runs[0][0].verdict, "OK");
    ASSERT_EQ(runs[1][0].verdict, "NG1H");
    {
        ResultStore store(path);
        for (const auto& run : runs) {
            const AppendResult written = store.Append(run);
            EXPECT_TRUE(written.written);
            EXPECT_EQ(written.kept, 0u);
            EXPECT_FALSE(written.report);
        }
    }
    // Read back through a connection of its own, after the store has gone.
    RawSqlite raw(path);
    for (const auto& run : runs) {
        SCOPED_TRACE(run[0].verdict.value_or(OutcomeText(run[0].outcome)));
        std::string error;
        const auto back = RecordsOfRun(raw.db(), run[0].runUuid, &error);
        ASSERT_TRUE(back) << error;
        ASSERT_EQ(back->size(), run.size());
        for (std::size_t i = 0; i < run.size(); ++i)
            EXPECT_EQ((*back)[i], run[i]) << "record " << i;
    }
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records").toInt(), 10);
    // Without points the column is NULL, not an empty text.
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records WHERE points IS NULL").toInt(), 2);
}

TEST_F(Store, FileIsWriteAheadLoggedVersionedAndAppendOnly)
{
    {
        ResultStore store(path);
        ASSERT_TRUE(store.Append(KindsOfRuns()[0]).written);
        ASSERT_FALSE(store.ResetCounter(1733648833123, "line-3-station", "tanaka"));
    }
    ResultStore again(path);  // a second session finds the tables made
    ASSERT_TRUE(again.Append(KindsOfRuns()[1]).written);

    RawSqlite raw(path);
    EXPECT_EQ(raw.Value("PRAGMA journal_mode").toString(), "wal");
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM schema_version").toInt(), 1);
    EXPECT_EQ(raw.Value("SELECT version FROM schema_version").toInt(), kResultsSchemaVersion);
    ASSERT_TRUE(raw.Exec("INSERT INTO forwarded (target, first_record_id, last_record_id, forwarded_at) "
                         "VALUES ('x', 1, 1, 0)")
                    .empty());

    struct Attempt {
        const char* table;
        const char* sql;
    };
    const Attempt attempts[] = {
        {"records", "UPDATE records SET verdict = 'OK'"}, {"records", "DELETE FROM records"},
        {"records", "DELETE FROM records WHERE id = 1"},  {"counter_resets", "UPDATE counter_resets SET reset_at = 0"},
        {"counter_resets", "DELETE FROM counter_resets"}, {"forwarded", "UPDATE forwarded SET last_record_id = 99"},
        {"forwarded", "DELETE FROM forwarded"},           {"schema_version", "UPDATE schema_version SET version = 0"},
        {"schema_version", "DELETE FROM schema_version"},
    };
    for (const Attempt& a : attempts) {
        SCOPED_TRACE(a.sql);
        const QString count = QString("SELECT COUNT(*) FROM %1").arg(a.table);
        const int before = raw.Value(count).toInt();
        EXPECT_NE(raw.Exec(a.sql).find("append-only"), std::string::npos);
        EXPECT_EQ(raw.Value(count).toInt(), before);
    }
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records WHERE verdict = 'OK'").toInt(), 1);
}

TEST_F(Store, FileOfANewerProgramIsNotWrittenAndTheRecordIsKept)
{
    {
        ResultStore create(path);
    }
    {
        RawSqlite raw(path);
        ASSERT_EQ(raw.Exec("INSERT INTO schema_version (version, applied_at) VALUES (2, 0)"), "");
    }
    ResultStore store(path);
    const AppendResult result = store.Append(KindsOfRuns()[0]);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.kept, 1u);
    ASSERT_TRUE(result.report);
    EXPECT_EQ(result.report->file, path);
    EXPECT_NE(result.report->reason.find("schema version 2"), std::string::npos) << result.report->reason;
    RawSqlite raw(path);
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records").toInt(), 0);
}

TEST_F(Store, CounterResetsAreRowsOfTheirOwn)
{
    ResultStore store(path);
    ASSERT_TRUE(store.Append(KindsOfRuns()[0]).written);
    EXPECT_FALSE(store.ResetCounter(1000, "line-3-station", "tanaka"));
    EXPECT_FALSE(store.ResetCounter(2000, "line-3-station", "suzuki"));
    RawSqlite raw(path);
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM counter_resets").toInt(), 2);
    EXPECT_EQ(raw.Value("SELECT operator FROM counter_resets WHERE reset_at = 2000").toString(), "suzuki");
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records").toInt(), 1);
}

TEST(StoreFailureMessage, NamesTheFileAndTheReason)
{
    const std::string text =
        StoreFailureText({"/home/tanaka/.local/share/qlx50-manager/results.sqlite", "database or disk is full"});
    EXPECT_NE(text.find("/home/tanaka/.local/share/qlx50-manager/results.sqlite"), std::string::npos);
    EXPECT_NE(text.find("database or disk is full"), std::string::npos);
    EXPECT_TRUE(Utf8ToSjis(text).has_value());  // shown like every other message of the program
}

}  // namespace
}  // namespace qlx
