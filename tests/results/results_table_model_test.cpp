#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "db_fixture.h"
#include "record_fixture.h"
#include "results/result_store.h"
#include "results/results_table_model.h"

namespace qlx {
namespace {

using test::QueryRecord;
using test::RawSqlite;

constexpr std::int64_t kT0 = 1733616000000;  // 2024-12-08 00:00 UTC

class Table : public ::testing::Test {
protected:
    // `count` records a second apart, written in shuffled order; record i
    // is reference "A" when i is even, verdict NG3H when i % 3 == 0.
    void Write(int count)
    {
        std::vector<ResultRecord> records;
        for (int i = 0; i < count; ++i)
            records.push_back(QueryRecord(kT0 + i * 1000, i % 3 == 0 ? "NG3H" : "OK", i % 2 == 0 ? "A" : "B"));
        std::shuffle(records.begin(), records.end(), std::mt19937(7));
        ASSERT_TRUE(store.Append(records).written);
        for (const ResultRecord& r : records)
            uuidAt[r.measuredAtMs] = r.uuid;
    }

    std::string Uuid(const ResultsTableModel& m, int row) const
    {
        return m.data(m.index(row, 0), ResultsTableModel::kUuidRole).toString().toStdString();
    }

    qlxtest::TempDir dir;
    std::string path = dir.file("results.sqlite");
    ResultStore store{path};
    RawSqlite raw{path};
    std::map<std::int64_t, std::string> uuidAt;  // by time
};

TEST_F(Table, RowsAreNewestFirstAcrossPages)
{
    const int count = 2 * ResultsTableModel::kPageRows + 40;
    Write(count);
    ResultsTableModel model(raw.db());
    ASSERT_TRUE(model.SetFilter({})) << model.lastError();
    ASSERT_EQ(model.rowCount(), count);
    EXPECT_EQ(model.columnCount(), ResultsTableModel::ColumnCount);
    // Read from the end first, so that pages are fetched out of order.
    std::vector<std::string> shown(count);
    for (int row = count - 1; row >= 0; --row)
        shown[row] = Uuid(model, row);
    std::vector<std::string> newestFirst;
    for (auto it = uuidAt.rbegin(); it != uuidAt.rend(); ++it)
        newestFirst.push_back(it->second);
    EXPECT_EQ(shown, newestFirst);
    EXPECT_FALSE(model.data(model.index(count, 0)).isValid());
}

TEST_F(Table, FilterSelectsTheRowsAndTheirCount)
{
    Write(300);
    struct Case {
        const char* what;
        ResultFilter filter;
        int rows;
    };
    ResultFilter refA;
    refA.refName = "A";
    ResultFilter ng3hOfA = refA;
    ng3hOfA.verdicts = {"NG3H"};
    ResultFilter span;
    span.fromMs = kT0 + 100 * 1000;
    span.toMs = kT0 + 110 * 1000;
    const Case cases[] = {{"reference A", refA, 150}, {"NG3H of A", ng3hOfA, 50}, {"ten seconds", span, 10}};
    ResultsTableModel model(raw.db());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(model.SetFilter(c.filter));
        ASSERT_EQ(model.rowCount(), c.rows);
        for (int row = 0; row < c.rows; ++row) {
            const QString verdict = model.data(model.index(row, ResultsTableModel::VerdictColumn)).toString();
            const QString ref = model.data(model.index(row, ResultsTableModel::ReferenceColumn)).toString();
            if (c.filter.refName) {
                EXPECT_EQ(ref.toStdString(), *c.filter.refName);
            }
            if (!c.filter.verdicts.empty()) {
                EXPECT_EQ(verdict, "NG3H");
            }
        }
    }
    EXPECT_EQ(Uuid(model, 0), uuidAt[kT0 + 109 * 1000]);
}

TEST_F(Table, RecordsWrittenAfterOpeningAppearOnRefreshAtTheTop)
{
    Write(10);
    ResultsTableModel model(raw.db());
    ASSERT_TRUE(model.SetFilter({}));
    const std::string first = Uuid(model, 0);
    const ResultRecord late = QueryRecord(kT0 + 3600 * 1000, "OK", "A");
    ASSERT_TRUE(store.Append({late}).written);
    // What the table shows holds still until it is refreshed.
    EXPECT_EQ(model.rowCount(), 10);
    EXPECT_EQ(Uuid(model, 0), first);
    ASSERT_TRUE(model.Refresh());
    EXPECT_EQ(model.rowCount(), 11);
    EXPECT_EQ(Uuid(model, 0), late.uuid);
    EXPECT_EQ(Uuid(model, 1), first);
}

TEST_F(Table, CellsShowTheRecordAtTheStationsLocalTime)
{
    ResultRecord ok = QueryRecord(1733648833123, "OK", "ウーファー18");  // 09:07:13 UTC
    ok.utcOffsetS = 9 * 3600;
    ok.terminal = "E";
    ok.channel = 2;
    ok.worstDeviationPct = -12;
    ok.worstDeviationHz = 47.4;
    ok.f0Hz = 52.26;
    ok.qts = 0.437;
    ResultRecord cancelled = QueryRecord(1733648833123 - 60000, "", "ウーファー18", RunOutcome::Cancelled);
    cancelled.utcOffsetS = -5 * 3600;
    ResultRecord noRef = QueryRecord(1733648833123 - 120000, kNoReferenceVerdict, "");
    noRef.refName.reset();
    noRef.terminal = "G";
    ASSERT_TRUE(store.Append({ok, cancelled, noRef}).written);

    ResultsTableModel model(raw.db());
    ASSERT_TRUE(model.SetFilter({}));
    auto cell = [&model](int row, int column) { return model.data(model.index(row, column)).toString().toStdString(); };
    using M = ResultsTableModel;
    EXPECT_EQ(cell(0, M::TimeColumn), "2024-12-08 18:07:13");
    EXPECT_EQ(cell(0, M::StationColumn), "line-3-station");
    EXPECT_EQ(cell(0, M::OperatorColumn), "tanaka");
    EXPECT_EQ(cell(0, M::ReferenceColumn), "ウーファー18");
    EXPECT_EQ(cell(0, M::TerminalColumn), "NL 4");
    EXPECT_EQ(cell(0, M::ChannelColumn), "2");
    EXPECT_EQ(cell(0, M::VerdictColumn), "OK");
    EXPECT_EQ(cell(0, M::DeviationColumn), "-12%");
    EXPECT_EQ(cell(0, M::DeviationHzColumn), "47.4");
    EXPECT_EQ(cell(0, M::F0Column), "52.3");
    EXPECT_EQ(cell(0, M::QtsColumn), "0.44");
    EXPECT_EQ(cell(1, M::TimeColumn), "2024-12-08 04:06:13");
    EXPECT_EQ(cell(1, M::VerdictColumn), "中止");
    EXPECT_EQ(model.data(model.index(1, 0), M::kVerdictRole).toString(), "cancelled");
    EXPECT_EQ(cell(1, M::ChannelColumn), "");
    EXPECT_EQ(cell(2, M::VerdictColumn), "リファレンスなし");
    EXPECT_EQ(cell(2, M::TerminalColumn), "NL 8");
    EXPECT_EQ(cell(2, M::ReferenceColumn), "");
    EXPECT_EQ(model.headerData(M::VerdictColumn, Qt::Horizontal).toString(), "判定");
}

TEST(TableOnABrokenFile, IsEmptyAndSaysWhy)
{
    qlxtest::TempDir dir;
    qlxtest::WriteAll(dir.file("results.sqlite"), std::string(8192, 'x'));
    RawSqlite raw(dir.file("results.sqlite"));
    ResultsTableModel model(raw.db());
    EXPECT_FALSE(model.SetFilter({}));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.lastError().empty());
}

}  // namespace
}  // namespace qlx
