// The connection to the line database against a server that stopped
// answering: libpq's own time limits, and the forwarder's end that does not
// wait for the network.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QStringList>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "record_fixture.h"
#include "results/database_open.h"
#include "results/result_forwarder.h"
#include "results/result_store.h"
#include "results/sql_connection.h"
#include "support/hang_guard.h"
#include "support/silent_server.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using namespace std::chrono_literals;
using qlxtest::HangGuard;
using qlxtest::SilentServer;

// A wait that ends by itself ends long before this; one that does not is
// released then and fails the test.
constexpr auto kPatience = 60s;

// The options as libpq reads them: a later value of a keyword wins.
std::map<std::string, std::string> ParsedOptions(const QString& options)
{
    std::map<std::string, std::string> parsed;
    for (const QString& option : options.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = option.indexOf(QLatin1Char('='));
        EXPECT_GT(eq, 0) << option.toStdString();
        parsed[option.left(eq).trimmed().toStdString()] = option.mid(eq + 1).trimmed().toStdString();
    }
    return parsed;
}

int IntOption(const std::map<std::string, std::string>& options, const std::string& key)
{
    const auto it = options.find(key);
    EXPECT_NE(it, options.end()) << key;
    return it == options.end() ? 0 : std::stoi(it->second);
}

TEST(LineConnectOptions, EveryWaitOnAServerThatWentAwayIsLimitedAndTheUsersOptionsWin)
{
    LineDatabaseSettings line{true, "db.line3.example", 5432, "line3", "station7", "", ""};
    const auto options = ParsedOptions(LineConnectOptions(line));
    // libpq's least connect time-out is 2 s; 0 would mean no limit.
    EXPECT_GE(IntOption(options, "connect_timeout"), 2);
    EXPECT_LE(IntOption(options, "connect_timeout"), 30);
    EXPECT_EQ(IntOption(options, "keepalives"), 1);
    const int idle = IntOption(options, "keepalives_idle");
    const int interval = IntOption(options, "keepalives_interval");
    const int count = IntOption(options, "keepalives_count");
    EXPECT_GT(idle, 0);
    EXPECT_GT(interval, 0);
    EXPECT_GT(count, 0);
    EXPECT_LE(idle + interval * count, 60);  // a silent peer is given up within a minute
    EXPECT_GT(IntOption(options, "tcp_user_timeout"), 0);
    EXPECT_LE(IntOption(options, "tcp_user_timeout"), 60000);  // ms

    line.options = "sslmode=require;connect_timeout=30";
    const auto withUsers = ParsedOptions(LineConnectOptions(line));
    EXPECT_EQ(withUsers.at("sslmode"), "require");
    EXPECT_EQ(withUsers.at("connect_timeout"), "30");
    EXPECT_EQ(withUsers.at("keepalives"), "1");
}

class UnansweringServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            GTEST_SKIP() << "no Qt PostgreSQL driver (package libqt6sql6-psql)";
        ASSERT_TRUE(server.listening()) << server.whyNot();
    }

    LineDatabaseSettings Line(const std::string& options = "") const
    {
        return {true, "127.0.0.1", server.port(), "postgres", "station7", "", options};
    }

    SilentServer server;
};

TEST_F(UnansweringServer, TheConnectionFailsByItself)
{
    SqlConnection connection(QStringLiteral("QPSQL"));
    std::string reason;
    {
        HangGuard guard(kPatience, [this] { server.Close(); });
        reason = OpenLineDatabase(connection.db(), Line());
        guard.Done();
        EXPECT_FALSE(guard.released()) << "the connection waited until the server was closed";
    }
    EXPECT_NE(reason, "");
}

// Even with libpq's time limit lifted by the user's options (a connection
// that waits for ever), the forwarder's end returns; its thread ends once
// the connection does.
TEST_F(UnansweringServer, TheForwardersEndDoesNotWaitForIt)
{
    qlxtest::TempDir dir;
    const std::string path = dir.file("results.sqlite");
    {
        ResultStore store(path);
        ASSERT_TRUE(store.Append({test::QueryRecord(1000, "OK", "A")}).written);
    }
    const int before = ResultForwarder::ThreadsRunning();
    auto forwarder =
        std::make_unique<ResultForwarder>(path, Line("connect_timeout=0"), ForwarderOptions{200, 50ms, 50ms, 200ms});
    ASSERT_TRUE(server.WaitForClient(kPatience));  // connecting, and held there
    {
        HangGuard guard(kPatience, [this] { server.Close(); });
        forwarder.reset();
        guard.Done();
        EXPECT_FALSE(guard.released()) << "the end waited until the server was closed";
    }
    EXPECT_EQ(ResultForwarder::ThreadsRunning(), before + 1);

    server.Close();
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (ResultForwarder::ThreadsRunning() > before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ResultForwarder::ThreadsRunning(), before);
}

}  // namespace
}  // namespace qlx
