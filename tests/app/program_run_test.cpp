#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <optional>

#include "app/mainform.h"
#include "app/program_run.h"
#include "app/results_recorder.h"
#include "model/curve_file.h"
#include "model/curve_state.h"
#include "qlx50_sim.h"
#include "results/result_forwarder.h"
#include "results_home.h"
#include "scripted_file_dialogs.h"
#include "support/hang_guard.h"
#include "support/settled_commands.h"
#include "support/silent_server.h"
#include "support/temp_dir.h"
#include "ui/dlg_sinkou.h"

namespace qlx {
namespace {

// Closing the window while a sweep runs ends the program the way it always
// ends: the sweep is stopped as its cancel button would, the port closed,
// the event loop left and the settings written.
TEST(ProgramRun, ClosingDuringAMeasurementEndsTheProgramAndKeepsTheSettings)
{
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 5, std::nullopt, {}}};
    qlxtest::TempDir dir;
    const std::string settingsPath = dir.file("Default.dat");
    qlxtest::WriteAll(settingsPath, sim.devicePath() + "\r\n");
    CurveLines ref = sim.Memory().ref[0];
    const std::string refPath = dir.file("ref.q5imp");
    ASSERT_TRUE(WriteCurveFile(refPath, ref).ok);
    qlxtest::ScriptedFileDialogs dialogs;
    dialogs.answers.push_back(QString::fromStdString(refPath));

    bool closedDuringTheSweep = false;
    bool stillRunning = false;
    QTimer closer;
    const int rc = RunProgram(settingsPath, {}, &dialogs, [&](TMainForm& window) {
        window.ui.menus.RefCurveOpenAction->trigger();  // remembers its folder in the settings
        // Once the sweep wait is under way, the user closes the window.
        QObject::connect(&closer, &QTimer::timeout, &window, [&] {
            TDlgSinkou* progress = TDlgSinkou::Instance();
            if (!progress || progress->pbSinkou->value() < 3)
                return;
            closer.stop();
            closedDuringTheSweep = true;
            window.close();
        });
        closer.start(10);
        QTimer::singleShot(0, &window, [&window] { window.ui.menus.RemoteMeasureMenu->trigger(); });
        // A program that does not end by itself is ended here, so the test
        // fails instead of hanging.
        QTimer::singleShot(30000, &window, [&stillRunning] {
            stillRunning = true;
            QCoreApplication::exit(1);
        });
    });

    EXPECT_FALSE(stillRunning);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(closedDuringTheSweep);
    EXPECT_EQ(TDlgSinkou::Instance(), nullptr);
    const std::vector<std::string> commands = qlxtest::SettledCommands(sim);  // fails while the port is held
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "RSTP\x03");
    const std::string written = qlxtest::ReadAll(settingsPath);
    EXPECT_EQ(written, sim.devicePath() + "\r\n\r\n\r\n\r\n" + dir.path().string() + "/\r\n\r\n\r\n\r\n");
}

// The settings are written as soon as the event loop ends, before the window
// and its results log are torn down; and a line database that stopped
// answering in the middle of a connection does not hold up the end.
TEST(ProgramRun, TheSettingsAreWrittenBeforeATeardownThatAnUnansweringLineDatabaseDoesNotHoldUp)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        GTEST_SKIP() << "no Qt PostgreSQL driver (package libqt6sql6-psql)";
    qlxtest::SilentServer server;
    ASSERT_TRUE(server.listening()) << server.whyNot();
    qlxtest::ResultsHome home;
    ResultsSettings log;
    // The user's options lift libpq's time limit: the connection waits for ever.
    log.line = {true, "127.0.0.1", server.port(), "postgres", "station7", "", "connect_timeout=0"};
    qlxtest::ResultsHome::Configure(log);

    qlxtest::TempDir dir;
    const std::string settingsPath = dir.file("Default.dat");
    qlxtest::WriteAll(settingsPath, "/dev/ttyS0\r\n");
    CurveState blank;
    blank.FillDefaultLines();
    const CurveLines ref = blank.RefLines;
    const std::string refPath = dir.file("ref.q5imp");
    ASSERT_TRUE(WriteCurveFile(refPath, ref).ok);
    qlxtest::ScriptedFileDialogs dialogs;
    dialogs.answers.push_back(QString::fromStdString(refPath));

    const int threadsBefore = ResultForwarder::ThreadsRunning();
    std::optional<std::string> atTeardown;
    bool forwarderConnected = false;
    int rc = -1;
    {
        qlxtest::HangGuard guard(std::chrono::seconds(60), [&server] { server.Close(); });
        rc = RunProgram(settingsPath, {}, &dialogs, [&](TMainForm& window) {
            window.ui.menus.RefCurveOpenAction->trigger();  // remembers its folder in the settings
            // A record for the forwarder to send: it connects and is held.
            window.resultsRecorder->MeasurementEnded(window.curves, {}, Outcome::Failed);
            // Destroyed with the window's children, after the results log.
            auto* probe = new QObject(&window);
            QObject::connect(probe, &QObject::destroyed, [&] { atTeardown = qlxtest::ReadAll(settingsPath); });
            QTimer::singleShot(0, &window, [&] {
                forwarderConnected = server.WaitForClient(std::chrono::seconds(60));
                window.close();
            });
        });
        guard.Done();
        EXPECT_FALSE(guard.released()) << "the end waited until the line database was closed";
    }
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(forwarderConnected);
    const std::string written = qlxtest::ReadAll(settingsPath);
    EXPECT_EQ(written, "/dev/ttyS0\r\n\r\n\r\n\r\n" + dir.path().string() + "/\r\n\r\n\r\n\r\n");
    ASSERT_TRUE(atTeardown);
    EXPECT_EQ(*atTeardown, written);

    // The forwarder's thread, left behind, ends with its connection.
    server.Close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ResultForwarder::ThreadsRunning() == threadsBefore; }, 60000));
}

}  // namespace
}  // namespace qlx
