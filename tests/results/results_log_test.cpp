#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "db_fixture.h"
#include "model/file_io.h"
#include "record_fixture.h"
#include "results/results_log.h"

namespace qlx {
namespace {

using test::QueryRecord;
using test::RawSqlite;

TEST(ResultsLogOfSession, OffWritesNothing)
{
    qlxtest::TempDir dir;
    ResultsSettings settings;
    settings.logOn = false;
    settings.databasePath = dir.file("results.sqlite");
    ResultsLog log(settings, {true, true});
    EXPECT_FALSE(log.on());
    EXPECT_FALSE(log.Record({QueryRecord(1000, "OK", "A")}));
    EXPECT_FALSE(FileExists(settings.databasePath));
}

TEST(ResultsLogOfSession, OnWritesEachRunToTheChosenFile)
{
    qlxtest::TempDir dir;
    ResultsSettings settings;
    settings.databasePath = dir.file("line/results.sqlite");
    {
        ResultsLog log(settings, {true, true});
        ASSERT_TRUE(log.on());
        EXPECT_EQ(log.forwarder(), nullptr);
        EXPECT_FALSE(log.Record({QueryRecord(1000, "OK", "A"), QueryRecord(1000, "NG1H", "A")}));
        EXPECT_FALSE(log.Record({QueryRecord(2000, "OK", "A")}));
    }
    RawSqlite raw(settings.databasePath);
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records").toInt(), 3);
}

TEST(ResultsLogOfSession, MissingDriversAreNamedAndLeaveWhatStillWorks)
{
    struct Case {
        const char* what;
        bool lineEnabled;
        SqlDriverCheck drivers;
        const char* package;  // named in the message; nullptr: no message
        bool logOn;
        bool forwards;
    };
    const Case cases[] = {
        {"all there, no line database", false, {true, false}, nullptr, true, false},
        {"all there, line database", true, {true, true}, nullptr, true, true},
        {"no SQLite driver", false, {false, true}, "libqt6sql6-sqlite", false, false},
        {"no PostgreSQL driver for the line database", true, {true, false}, "libqt6sql6-psql", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qlxtest::TempDir dir;
        ResultsSettings settings;
        settings.databasePath = dir.file("results.sqlite");
        settings.line.enabled = c.lineEnabled;
        settings.line.host = dir.file("no-server");  // nothing answers there
        const auto text = MissingDriverText(settings, c.drivers);
        EXPECT_EQ(text.has_value(), c.package != nullptr);
        if (text && c.package) {
            EXPECT_NE(text->find(c.package), std::string::npos) << *text;
        }
        ResultsLog log(settings, c.drivers, {200, std::chrono::milliseconds(50), std::chrono::milliseconds(50)});
        EXPECT_EQ(log.on(), c.logOn);
        EXPECT_EQ(log.forwarder() != nullptr, c.forwards);
    }
    ResultsSettings off;
    off.logOn = false;
    EXPECT_FALSE(MissingDriverText(off, {false, false}));
}

TEST(ResultsLogOfSession, AnUnreachableLineDatabaseLeavesTheLocalRecordsAlone)
{
    qlxtest::TempDir dir;
    ResultsSettings settings;
    settings.databasePath = dir.file("results.sqlite");
    settings.line.enabled = true;
    settings.line.host = dir.path().string();  // a socket folder without a server
    settings.line.user = "nobody";
    ResultsLog log(settings, {true, true}, {200, std::chrono::milliseconds(50), std::chrono::milliseconds(50)});
    ASSERT_NE(log.forwarder(), nullptr);
    EXPECT_FALSE(log.Record({QueryRecord(1000, "OK", "A")}));
    // The forwarder finds out in its own thread.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (log.forwarder()->Status().lastError.empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const ForwardStatus status = log.forwarder()->Status();
    EXPECT_FALSE(status.connected);
    EXPECT_EQ(status.forwardedUpTo, 0);
    EXPECT_FALSE(status.lastError.empty());
    RawSqlite raw(settings.databasePath);
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records").toInt(), 1);
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM forwarded").toInt(), 0);
}

}  // namespace
}  // namespace qlx
