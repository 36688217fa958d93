#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>

#include "db_fixture.h"
#include "record_fixture.h"
#include "results/record_sql.h"
#include "results/result_store.h"
#include "support/tmpfs_mount.h"

namespace qlx {
namespace {

using test::RawSqlite;

// Where the results file lies while a test breaks it.
struct FailureFixture {
    explicit FailureFixture(bool onTmpfs)
    {
        if (onTmpfs)
            tmpfs = std::make_unique<qlxtest::TmpfsMount>(2 << 20);
        path = onTmpfs ? tmpfs->file("results.sqlite") : dir.file("results.sqlite");
    }
    qlxtest::TempDir dir;
    std::unique_ptr<qlxtest::TmpfsMount> tmpfs;  // a file system small enough to fill
    std::string path;
    std::unique_ptr<ResultStore> store;
    std::unique_ptr<RawSqlite> locker;
};

// The file breaks after the first run was written and mends before the
// fourth: runs two and three are kept, the first failure is reported, and
// all four arrive once, in order, with the fourth.
struct Breakage {
    const char* name;
    bool onTmpfs;
    const char* reasonPart;  // of SQLite's own words
    // Breaks the file; may end the session and start a new one, as a file
    // read-only from the start of a session is the way it happens.
    std::function<void(FailureFixture&)> breakIt;
    std::function<void(FailureFixture&)> mendIt;
};

void PrintTo(const Breakage& b, std::ostream* os) { *os << b.name; }

class StoreFailure : public ::testing::TestWithParam<Breakage> {};

std::vector<ResultRecord> NthRun(int i) { return {test::QueryRecord(1733648833123 + i * 1000, "OK", "WOOFER-16A")}; }

TEST_P(StoreFailure, KeepsRecordsReportsOnceAndWritesThemWhenMended)
{
    const Breakage& b = GetParam();
    FailureFixture f(b.onTmpfs);
    if (f.tmpfs && !f.tmpfs->mounted())
        GTEST_SKIP() << f.tmpfs->whyNot();
    f.store = std::make_unique<ResultStore>(f.path);
    const std::vector<std::vector<ResultRecord>> runs{NthRun(1), NthRun(2), NthRun(3), NthRun(4)};
    ASSERT_TRUE(f.store->Append(runs[0]).written);

    b.breakIt(f);
    const AppendResult second = f.store->Append(runs[1]);
    EXPECT_FALSE(second.written);
    EXPECT_EQ(second.kept, 1u);
    ASSERT_TRUE(second.report);
    EXPECT_EQ(second.report->file, f.path);
    EXPECT_NE(second.report->reason.find(b.reasonPart), std::string::npos) << second.report->reason;

    const AppendResult third = f.store->Append(runs[2]);
    EXPECT_FALSE(third.written);
    EXPECT_EQ(third.kept, 2u);
    EXPECT_FALSE(third.report);  // once per session

    b.mendIt(f);
    const AppendResult fourth = f.store->Append(runs[3]);
    EXPECT_TRUE(fourth.written);
    EXPECT_EQ(fourth.kept, 0u);
    EXPECT_FALSE(fourth.report);
    f.store.reset();

    RawSqlite raw(f.path);
    QSqlQuery q(raw.db());
    ASSERT_TRUE(q.exec("SELECT uuid FROM records ORDER BY id"));
    std::vector<std::string> uuids;
    while (q.next())
        uuids.push_back(q.value(0).toString().toStdString());
    ASSERT_EQ(uuids.size(), runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i)
        EXPECT_EQ(uuids[i], runs[i][0].uuid) << "run " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Results, StoreFailure,
    ::testing::Values(Breakage{"DiskFull", true, "full",
                               [](FailureFixture& f) { ASSERT_GT(qlxtest::FillUp(f.tmpfs->file("filler")), 0u); },
                               [](FailureFixture& f) { ASSERT_EQ(unlink(f.tmpfs->file("filler").c_str()), 0); }},
                      Breakage{"ReadOnlyFileSystem", true, "unable to open",
                               [](FailureFixture& f) {
                                   f.store.reset();  // the session ends; the next starts on a read-only file
                                   ASSERT_TRUE(f.tmpfs->SetReadOnly(true));
                                   f.store = std::make_unique<ResultStore>(f.path);
                               },
                               [](FailureFixture& f) { ASSERT_TRUE(f.tmpfs->SetReadOnly(false)); }},
                      Breakage{"LockedByAnotherWriter", false, "locked",
                               [](FailureFixture& f) {
                                   f.locker = std::make_unique<RawSqlite>(f.path);
                                   ASSERT_EQ(f.locker->Exec("BEGIN IMMEDIATE"), "");
                               },
                               [](FailureFixture& f) {
                                   ASSERT_EQ(f.locker->Exec("COMMIT"), "");
                                   f.locker.reset();
                               }}),
    [](const ::testing::TestParamInfo<Breakage>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qlx
