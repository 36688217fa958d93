#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

// HOME and XDG_DATA_HOME of the test's own, and a working folder of its own,
// so that the machine's trash stays untouched; restored afterwards.
class OwnHome {
public:
    OwnHome(const std::string& home, const std::string& dataHome, const std::string& workingFolder)
        : home_(qgetenv("HOME")),
          dataHome_(qgetenv("XDG_DATA_HOME")),
          hadDataHome_(qEnvironmentVariableIsSet("XDG_DATA_HOME")),
          working_(QDir::currentPath())
    {
        qputenv("HOME", QByteArray::fromStdString(home));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome));
        QDir::setCurrent(QString::fromStdString(workingFolder));
    }
    ~OwnHome()
    {
        qputenv("HOME", home_);
        if (hadDataHome_)
            qputenv("XDG_DATA_HOME", dataHome_);
        else
            qunsetenv("XDG_DATA_HOME");
        QDir::setCurrent(working_);
    }

private:
    QByteArray home_, dataHome_;
    bool hadDataHome_;
    QString working_;
};

// A run folder with a file and a subfolder, as a cancelled download leaves it.
std::string MakeRunFolder(const std::string& parent)
{
    const std::string run = parent + "/Ref_20241208";
    EXPECT_TRUE(QDir().mkpath(QString::fromStdString(run + "/sub")));
    qlxtest::WriteAll(run + "/Ref_20241208.q5lst", ",\n,\n");
    return run;
}

TEST(QtInstrumentUi, MoveToTrashPutsAFolderIntoTheHomeTrash)
{
    // A fresh account: the data folder (~/.local/share) does not exist yet.
    qlxtest::TempDir dir;
    const std::string home = dir.file("home");
    const std::string work = dir.file("work");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home + "/downloads")));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(work)));
    const OwnHome own(home, home + "/.local/share", work);
    const std::string run = MakeRunFolder(home + "/downloads");
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);

    EXPECT_TRUE(ui.MoveToTrash(run));

    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(run)));
    const std::string trash = home + "/.local/share/Trash";
    EXPECT_EQ(qlxtest::ReadAll(trash + "/files/Ref_20241208/Ref_20241208.q5lst"), ",\n,\n");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(trash + "/files/Ref_20241208/sub")).isDir());
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(trash + "/info/Ref_20241208.trashinfo")));
    EXPECT_TRUE(QDir(QString::fromStdString(work)).isEmpty()) << "nothing lands in the working folder";
}

TEST(QtInstrumentUi, TrashThatCannotBeSetUpRefusesAndLeavesTheFolder)
{
    // The data folder cannot exist: a file stands where its parent should be.
    qlxtest::TempDir dir;
    const std::string home = dir.file("home");
    const std::string work = dir.file("work");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home + "/downloads")));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(work)));
    qlxtest::WriteAll(home + "/.local", "not a folder");
    const OwnHome own(home, home + "/.local/share", work);
    const std::string run = MakeRunFolder(home + "/downloads");
    qlx::MainMsgDlgs dialogs;
    qlx::QtInstrumentUi ui(dialogs);

    EXPECT_FALSE(ui.MoveToTrash(run));

    EXPECT_EQ(qlxtest::ReadAll(run + "/Ref_20241208.q5lst"), ",\n,\n");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(run + "/sub")).isDir());
    EXPECT_TRUE(QDir(QString::fromStdString(work)).isEmpty()) << "nothing lands in the working folder";
}

}  // namespace
