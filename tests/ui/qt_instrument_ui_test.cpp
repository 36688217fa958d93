#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/temp_dir.h"
#include "ui/dlg_sinkou.h"
#include "ui/qt_instrument_ui.h"

namespace {

using qlx::MsgBtn;
using qlx::MsgDlg;

TEST(QtInstrumentUi, ShowMessageUsesTheNamedDialogAndReturnsItsResult)
{
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);
    QString shownText;
    QString caption;
    dialogs.UpLoadDlg.SetShowStep([&](qlx::MsgBoxWindow& box) {
        shownText = box.findChild<QLabel*>("Message")->text();
        caption = box.windowTitle();
        box.Button(MsgBtn::Yes)->click();
    });
    EXPECT_EQ(ui.ShowMessage(MsgDlg::UpLoad), qlx::mrYes);
    EXPECT_EQ(shownText, dialogs.UpLoadDlg.Message());
    EXPECT_EQ(caption, QStringLiteral("QLX-50 Manager"));
}

TEST(QtInstrumentUi, ReplacementTextIsShownOnceAndTheDesignedTextComesBack)
{
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);
    const QString designed = dialogs.Rs232cErrMsgDlg.Message();
    QStringList shown;
    dialogs.Rs232cErrMsgDlg.SetShowStep([&](qlx::MsgBoxWindow& box) {
        shown << box.findChild<QLabel*>("Message")->text();
        box.Button(MsgBtn::OK)->click();
    });
    EXPECT_EQ(ui.ShowMessage(MsgDlg::Rs232cErr, "通信できません。\r\nNo.3"), qlx::mrOk);
    EXPECT_EQ(ui.ShowMessage(MsgDlg::Rs232cErr), qlx::mrOk);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], QStringLiteral("通信できません。\r\nNo.3"));
    EXPECT_EQ(shown[1], designed);
    EXPECT_EQ(dialogs.Rs232cErrMsgDlg.Message(), designed);
}

TEST(QtInstrumentUi, ShowMessageRunsARealModalBox)
{
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);
    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);  // Esc on Yes/No/Cancel answers Cancel
    });
    EXPECT_EQ(ui.ShowMessage(MsgDlg::ChangeSave), qlx::mrCancel);
}

TEST(QtInstrumentUi, ProgressGoesThroughTheProgressDialog)
{
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);
    EXPECT_FALSE(ui.ProgressStep());
    ASSERT_TRUE(ui.ProgressOpen("通信中", 0, 2));
    ASSERT_NE(qlx::TDlgSinkou::Instance(), nullptr);
    EXPECT_EQ(qlx::TDlgSinkou::Instance()->windowTitle(), QStringLiteral("通信中"));
    EXPECT_TRUE(qlx::TDlgSinkou::Instance()->btnToriyame->isEnabled());
    EXPECT_FALSE(ui.ProgressOpen("通信中", 0, 5));
    EXPECT_TRUE(ui.ProgressStep());
    ui.ProgressClose();
    EXPECT_EQ(qlx::TDlgSinkou::Instance(), nullptr);
    EXPECT_FALSE(ui.ProgressStep());
    ui.ProgressClose();
}

TEST(QtInstrumentUi, ChooseFolderReturnsTheAcceptedFolderOrNothing)
{
    qlxtest::TempDir dir;
    const QString sub = QString::fromStdString(dir.file("保存先"));
    ASSERT_TRUE(QDir().mkpath(sub));
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);

    QString caption, instruction, startDir;
    ui.SetFolderStep([&](QFileDialog& dlg) {
        caption = dlg.windowTitle();
        instruction = dlg.findChild<QLabel*>("FolderInstruction")->text();
        startDir = dlg.directory().absolutePath();
        dlg.selectFile(sub);
        return true;
    });
    const auto chosen = ui.ChooseFolder("フォルダーを選択してください。", "保存フォルダーの選択", dir.path().string());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir(QString::fromStdString(*chosen)).canonicalPath(), QDir(sub).canonicalPath());
    EXPECT_EQ(caption, QStringLiteral("保存フォルダーの選択"));
    EXPECT_EQ(instruction, QStringLiteral("フォルダーを選択してください。"));
    EXPECT_EQ(QDir(startDir).canonicalPath(), QDir(QString::fromStdString(dir.path().string())).canonicalPath());

    ui.SetFolderStep([](QFileDialog&) { return false; });
    EXPECT_FALSE(ui.ChooseFolder("t", "s", dir.path().string()).has_value());
}

TEST(QtInstrumentUi, ProcessEventsDeliversPostedWork)
{
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    ui.ProcessEvents();
    EXPECT_TRUE(ran);
}

}  // namespace
