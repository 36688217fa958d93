#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/mainform.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "scripted_file_dialogs.h"
#include "support/settled_commands.h"
#include "support/temp_dir.h"
#include "ui/dlg_sinkou.h"

namespace qlx {
namespace {

using qlxtest::TempDir;

const std::string kStatus = "RSTT\x03";
const std::string kSweep = "RSWP\n2\n040\n049\x03";  // BINDING POST, grid 40..49

// The main window connected to a simulated QLX-50 (a full sweep takes
// 100 ms), with every message dialog answered by OK and recorded.
struct MeasureFixture : ::testing::Test {
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 5, std::nullopt, {}}};
    TempDir dir;
    qlxtest::ScriptedFileDialogs dialogs;
    Settings settings;
    std::unique_ptr<TMainForm> form;
    std::vector<std::string> shown;  // "dialog: text" of each message shown

    void SetUp() override
    {
        settings.ComPortName = sim.devicePath();
        form = std::make_unique<TMainForm>(settings, dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        const std::pair<const char*, TExtendMsgDlg*> boxes[] = {
            {"Rs232cOpenErr", &form->MsgDlgs.Rs232cOpenErrMsgDlg},
            {"Rs232cErr", &form->MsgDlgs.Rs232cErrMsgDlg},
            {"Qlx50ModeErr", &form->MsgDlgs.Qlx50ModeErrDlg},
        };
        for (const auto& [name, dlg] : boxes) {
            dlg->SetShowStep([this, name = std::string(name)](MsgBoxWindow& box) {
                shown.push_back(name + ": " + box.findChild<QLabel*>(QStringLiteral("Message"))->text().toStdString());
                box.Button(MsgBtn::OK)->click();
            });
        }
    }

    // The simulator's first BINDING POST reference with the judgement range
    // 40..49 on every channel, opened as the reference curve.
    void OpenReference()
    {
        CurveLines ref = sim.Memory().ref[0];
        for (int ch = 0; ch < kChannelCount; ++ch) {
            SetCodeAt(ref[FreqRangeLine], 2 + 2 * ch, 40);
            SetCodeAt(ref[FreqRangeLine], 3 + 2 * ch, 49);
        }
        const std::string path = dir.file("ref.q5imp");
        ASSERT_TRUE(WriteCurveFile(path, ref).ok);
        form->OpenCurve(CurveKind::Reference, path);
        ASSERT_EQ(form->curves.RefMinFreq[0], 40);
    }

    // A measured curve opened from a file, as the previous result.
    void OpenMeasured()
    {
        const std::string path = dir.file("previous.q5imp");
        ASSERT_TRUE(WriteCurveFile(path, sim.Memory().meas[3]).ok);
        form->OpenCurve(CurveKind::Measured, path);
        ASSERT_TRUE(form->curves.ImpLoaded);
    }

    std::vector<std::string> Commands() { return qlxtest::SettledCommands(sim); }
};

TEST_F(MeasureFixture, F9MeasuresAndShowsTheCurveJudgedAgainstTheReference)
{
    OpenReference();
    form->ui.imp.ImpMemo->setPlainText(QStringLiteral("first unit"));
    form->ui.menus.CursorOnMenu->trigger();
    ASSERT_FALSE(form->ui.imp.CursorPercentEdit->isEnabled());  // no measured curve yet
    const CurveLines ref = form->curves.RefLines;

    QTest::keyClick(form.get(), Qt::Key_F9);

    EXPECT_EQ(Commands(), (std::vector<std::string>{kStatus, kSweep}));
    const CurveState& c = form->curves;
    EXPECT_TRUE(c.ImpLoaded);
    EXPECT_EQ(c.ImpLines[StampLine], ref[NameLine]);
    EXPECT_EQ(c.ImpLines[NameLine], ref[NameLine]);
    EXPECT_EQ(c.ImpLines[FlagsLine], std::string(1, static_cast<char>(0x40 + (c.RefFlags | 8))));
    EXPECT_EQ(c.ImpLines[FreqRangeLine], ref[FreqRangeLine]);
    EXPECT_EQ(c.ImpLines[MemoSlot], "first unit");
    EXPECT_NE(c.ImpLines[PointSlot(0, 45)], "0");
    EXPECT_EQ(c.ImpLines[PointSlot(0, 10)], "0");  // outside the swept range
    EXPECT_EQ(c.ImpLines[PointSlot(1, 45)], "0");  // a channel the terminal lacks
    EXPECT_TRUE(c.ImpFilePath.empty());
    EXPECT_TRUE(form->ui.imp.ImpFileNameEdit->text().isEmpty());
    EXPECT_EQ(form->ui.imp.ImpNameEdit->text().trimmed(), QStringLiteral("WOOFER-16A"));
    EXPECT_EQ(form->ui.imp.ImpTerminalEdit->text(), QStringLiteral("BINDING POST"));
    EXPECT_EQ(c.DrawMinFreq, 40);
    EXPECT_EQ(c.DrawMaxFreq, 49);
    for (QAction* a :
         {form->ui.menus.ImpFileSaveMenu, form->ui.menus.ImpFileSaveAsMenu, form->ui.menus.FileImpCsvSaveMenu})
        EXPECT_TRUE(a->isEnabled());
    EXPECT_NE(form->judgeResult, JudgeResult::None);
    for (QWidget* w : std::initializer_list<QWidget*>{form->ui.imp.CursorImpEdit, form->ui.imp.CursorMaxButton,
                                                      form->ui.imp.CursorMinButton, form->ui.imp.CursorPercentEdit,
                                                      form->ui.imp.HensaMaxButton})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(form->Rs232c.opened());
    EXPECT_EQ(TDlgSinkou::Instance(), nullptr);
}

TEST_F(MeasureFixture, ButtonActsOnlyWithFocusAndTheMenuItemAlways)
{
    OpenReference();
    form->ui.imp.ImpMemo->setFocus();
    form->MeasStartButton2Click(form->ui.imp.MeasStartButton);
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(form->curves.ImpLoaded);

    QTest::mouseClick(form->ui.imp.MeasStartButton, Qt::LeftButton);
    EXPECT_EQ(Commands(), (std::vector<std::string>{kStatus, kSweep}));
    EXPECT_TRUE(form->curves.ImpLoaded);

    sim.ClearLog();
    form->ui.imp.ImpMemo->setFocus();
    form->ui.menus.RemoteMeasureMenu->trigger();
    EXPECT_EQ(Commands(), (std::vector<std::string>{kStatus, kSweep}));
}

TEST_F(MeasureFixture, FailedOrCancelledRunLeavesThePreviousCurveAsItWas)
{
    struct Case {
        const char* what;
        qlxsim::SimFaults faults;
        bool cancel;
        std::vector<std::string> commands;
        std::vector<std::string> messages;
    };
    qlxsim::SimFaults nak;
    nak.wrongFirstByte = 0x15;
    const Case cases[] = {
        {"NAK instead of ACK", nak, false, {kStatus, kSweep}, {std::string("Rs232cErr: ") + kCannotCommunicateText}},
        {"cancel while sweeping", {}, true, {kStatus, kSweep, "RSTP\x03"}, {}},
    };
    OpenReference();
    OpenMeasured();
    const CurveState before = form->curves;
    const QString fileName = form->ui.imp.ImpFileNameEdit->text();
    const QString name = form->ui.imp.ImpNameEdit->text();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        sim.ClearLog();
        sim.SetFaults(k.faults);
        shown.clear();
        QTimer canceller;
        if (k.cancel) {
            QObject::connect(&canceller, &QTimer::timeout, [] {
                if (TDlgSinkou* d = TDlgSinkou::Instance())
                    d->btnToriyame->click();
            });
            canceller.start(100);
        }
        form->ui.menus.RemoteMeasureMenu->trigger();
        canceller.stop();

        EXPECT_EQ(Commands(), k.commands);
        EXPECT_EQ(shown, k.messages);
        EXPECT_EQ(form->curves.ImpLines, before.ImpLines);
        EXPECT_EQ(form->curves.ImpFilePath, before.ImpFilePath);
        EXPECT_EQ(form->curves.ImpMinFreq, before.ImpMinFreq);
        EXPECT_EQ(form->curves.ImpMaxFreq, before.ImpMaxFreq);
        EXPECT_EQ(form->ui.imp.ImpFileNameEdit->text(), fileName);
        EXPECT_EQ(form->ui.imp.ImpNameEdit->text(), name);
        EXPECT_EQ(form->Rs232c.rxtimeout, 2000);
        EXPECT_FALSE(form->Rs232c.opened());
        EXPECT_EQ(TDlgSinkou::Instance(), nullptr);
    }
}

TEST_F(MeasureFixture, SecondMeasurementDuringOneDoesNothing)
{
    OpenReference();
    int tries = 0;
    bool portOpenAfterSecond = false;
    QTimer second;
    QObject::connect(&second, &QTimer::timeout, [&] {
        if (!TDlgSinkou::Instance() || tries > 0)
            return;
        ++tries;
        form->ui.menus.RemoteMeasureMenu->trigger();
        portOpenAfterSecond = form->Rs232c.opened();
    });
    second.start(50);
    form->ui.menus.RemoteMeasureMenu->trigger();
    second.stop();

    EXPECT_EQ(tries, 1);
    EXPECT_TRUE(portOpenAfterSecond);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(Commands(), (std::vector<std::string>{kStatus, kSweep}));
    EXPECT_TRUE(form->curves.ImpLoaded);
}

}  // namespace
}  // namespace qlx
