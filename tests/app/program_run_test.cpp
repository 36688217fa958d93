#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QProgressBar>
#include <QTimer>

#include "app/mainform.h"
#include "app/program_run.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "scripted_file_dialogs.h"
#include "support/settled_commands.h"
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

}  // namespace
}  // namespace qlx
