#include <gtest/gtest.h>

#include <algorithm>

#include "db_fixture.h"
#include "record_fixture.h"
#include "results/result_store.h"
#include "results/results_queries.h"

namespace qlx {
namespace {

using test::QueryRecord;
using test::RawSqlite;

constexpr std::int64_t kT0 = 1733616000000;  // 2024-12-08 00:00 UTC
constexpr std::int64_t kMinute = 60000;

// Eleven records a minute apart, written newest first so that their order
// in the file is not their order in time.
class Queries : public ::testing::Test {
protected:
    void SetUp() override
    {
        struct Row {
            const char* verdict;
            const char* ref;
            RunOutcome outcome;
        };
        const Row rows[] = {
            {"OK", "A", RunOutcome::Completed},   {"NG1H", "A", RunOutcome::Completed},
            {"OK", "B", RunOutcome::Completed},   {"NG3L", "A", RunOutcome::Completed},
            {"", "A", RunOutcome::Cancelled},     {"OK", "ウーファー18", RunOutcome::Completed},
            {"NG3L", "B", RunOutcome::Completed}, {kNoReferenceVerdict, "", RunOutcome::Completed},
            {"", "A", RunOutcome::Failed},        {"OK", "A", RunOutcome::Completed},
            {"NG2L", "A", RunOutcome::Completed},
        };
        for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
            ResultRecord r = QueryRecord(kT0 + i * kMinute, rows[i].verdict, rows[i].ref, rows[i].outcome);
            if (std::string(rows[i].ref).empty())
                r.refName.reset();
            records.push_back(r);
        }
        records[9].f0Hz = 52.5;
        records[10].f0Hz = 47.0;
        records[10].refF0Hz = 52.0;
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            ASSERT_TRUE(store.Append({*it}).written);
    }

    qlxtest::TempDir dir;
    std::string path = dir.file("results.sqlite");
    ResultStore store{path};
    RawSqlite raw{path};
    std::vector<ResultRecord> records;
};

// ok, total, {NG1H, NG1L, NG2H, NG2L, NG3H, NG3L}, no reference, cancelled, failed
YieldCounts Counts(std::int64_t ok, std::int64_t total, std::array<std::int64_t, 6> ng, std::int64_t noReference = 0,
                   std::int64_t cancelled = 0, std::int64_t failed = 0)
{
    YieldCounts y;
    y.ok = ok;
    y.total = total;
    y.ng = ng;
    y.noReference = noReference;
    y.cancelled = cancelled;
    y.failed = failed;
    return y;
}

TEST_F(Queries, YieldCountsEachKindOfTheSelectedRecords)
{
    struct Case {
        const char* what;
        ResultFilter filter;
        YieldCounts expected;
        double percent;
    };
    ResultFilter refA;
    refA.refName = "A";
    ResultFilter window;
    window.fromMs = kT0 + 3 * kMinute;
    window.toMs = kT0 + 7 * kMinute;
    ResultFilter ng3l;
    ng3l.verdicts = {"NG3L"};
    ResultFilter notCompleted;
    notCompleted.outcomes = {RunOutcome::Cancelled, RunOutcome::Failed};
    ResultFilter japanese;
    japanese.refName = "ウーファー18";
    ResultFilter nothing;
    nothing.refName = "C";
    const Case cases[] = {
        {"everything", {}, Counts(4, 8, {1, 0, 0, 1, 0, 2}, 1, 1, 1), 50.0},
        {"reference A", refA, Counts(2, 5, {1, 0, 0, 1, 0, 1}, 0, 1, 1), 40.0},
        {"from 00:03 to before 00:07", window, Counts(1, 3, {0, 0, 0, 0, 0, 2}, 0, 1, 0), 100.0 / 3},
        {"verdict NG3L", ng3l, Counts(0, 2, {0, 0, 0, 0, 0, 2}), 0.0},
        {"cancelled and failed runs", notCompleted, Counts(0, 0, {}, 0, 1, 1), 0.0},
        {"a Japanese reference name", japanese, Counts(1, 1, {}), 100.0},
        {"an unknown reference", nothing, Counts(0, 0, {}), 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        const auto y = CountYield(raw.db(), c.filter, &error);
        ASSERT_TRUE(y) << error;
        EXPECT_EQ(*y, c.expected);
        EXPECT_DOUBLE_EQ(y->Percent(), c.percent);
    }
}

TEST_F(Queries, YieldSinceACounterResetCountsOnlyLaterRecords)
{
    ResultFilter refB;
    refB.refName = "B";
    ResultFilter late;
    late.fromMs = kT0 + 10 * kMinute;

    EXPECT_EQ(LastCounterReset(raw.db()), std::nullopt);
    EXPECT_EQ(CountYieldSinceReset(raw.db(), {}), CountYield(raw.db(), {}));

    ASSERT_FALSE(store.ResetCounter(kT0 + 5 * kMinute, "line-3-station", "tanaka"));
    EXPECT_EQ(LastCounterReset(raw.db()), kT0 + 5 * kMinute);
    EXPECT_EQ(CountYieldSinceReset(raw.db(), {}), Counts(2, 4, {0, 0, 0, 1, 0, 1}, 1, 0, 1));
    EXPECT_EQ(CountYieldSinceReset(raw.db(), refB), Counts(0, 1, {0, 0, 0, 0, 0, 1}));
    // A filter starting later than the reset keeps its own start.
    EXPECT_EQ(CountYieldSinceReset(raw.db(), late), Counts(0, 1, {0, 0, 0, 1, 0, 0}));

    ASSERT_FALSE(store.ResetCounter(kT0 + 9 * kMinute, "line-3-station", "suzuki"));
    EXPECT_EQ(CountYieldSinceReset(raw.db(), {}), Counts(1, 2, {0, 0, 0, 1, 0, 0}));
    // The filtered yield itself ignores the counter.
    EXPECT_EQ(CountYield(raw.db(), {})->total, 8);
}

TEST_F(Queries, RecentUnitsAreTheLastMeasuredChannelsOldestFirst)
{
    const auto last3 = RecentUnits(raw.db(), {}, 3);
    ASSERT_TRUE(last3);
    ASSERT_EQ(last3->size(), 3u);
    // The failed run at 00:08 is no unit.
    EXPECT_EQ((*last3)[0], (RecentUnit{kT0 + 7 * kMinute, kNoReferenceVerdict, {}, {}}));
    EXPECT_EQ((*last3)[1], (RecentUnit{kT0 + 9 * kMinute, "OK", 52.5, {}}));
    EXPECT_EQ((*last3)[2], (RecentUnit{kT0 + 10 * kMinute, "NG2L", 47.0, 52.0}));

    ResultFilter refA;
    refA.refName = "A";
    const auto ofA = RecentUnits(raw.db(), refA, 100);
    ASSERT_TRUE(ofA);
    std::vector<std::int64_t> minutes;
    for (const RecentUnit& u : *ofA)
        minutes.push_back((u.measuredAtMs - kT0) / kMinute);
    EXPECT_EQ(minutes, (std::vector<std::int64_t>{0, 1, 3, 9, 10}));
}

TEST_F(Queries, ReferenceNamesAreEachNameOnceSorted)
{
    const auto names = ReferenceNames(raw.db());
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{"A", "B", "ウーファー18"}));
}

TEST(QueriesOnABrokenFile, FailWithTheReason)
{
    qlxtest::TempDir dir;
    qlxtest::WriteAll(dir.file("results.sqlite"), std::string(8192, 'x'));
    RawSqlite raw(dir.file("results.sqlite"));
    std::string error;
    EXPECT_FALSE(CountYield(raw.db(), {}, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(RecentUnits(raw.db(), {}, 5, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace qlx
