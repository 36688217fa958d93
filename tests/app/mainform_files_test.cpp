#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/mainform.h"
#include "model/curve_file.h"
#include "scripted_file_dialogs.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::WriteAll;

CurveLines SampleCurve(const char* terminal, const char* flags)
{
    CurveLines c{};
    FillDefaults(c);
    c[TerminalLine] = terminal;
    c[FlagsLine] = flags;
    c[NameLine] = "[SPK-1       ]";
    c[MemoSlot] = "line1\r\nline2";
    for (int j = 0; j < 120; ++j)
        c[PointSlot(0, j)] = std::to_string(60 + j);
    return c;
}

struct FilesFixture : ::testing::Test {
    TempDir dir;
    qlxtest::ScriptedFileDialogs dialogs;
    Settings settings;
    std::unique_ptr<TMainForm> form;

    void SetUp() override { form = std::make_unique<TMainForm>(settings, dialogs); }

    std::string Write(const std::string& name, const CurveLines& c)
    {
        const std::string path = dir.file(name);
        EXPECT_TRUE(WriteCurveFile(path, c).ok);
        return path;
    }
};

TEST_F(FilesFixture, OpenMeasuredCurveShowsFieldsAndEnablesSaving)
{
    const std::string path = Write("spk one.q5imp", SampleCurve("E", "I"));
    form->ui.PageControl->setCurrentIndex(2);
    dialogs.answers.push_back(QString::fromStdString(path));
    form->ui.menus.ImpCurveOpenAction->trigger();

    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].title, "測定カーブを開く");
    EXPECT_EQ(dialogs.asked[0].filter, "測定カーブ(*.q5imp)");
    EXPECT_TRUE(form->curves.ImpLoaded);
    EXPECT_EQ(form->curves.ImpFilePath, path);
    EXPECT_EQ(form->settings.ImpCurveDir, dir.path().string() + "/");
    EXPECT_EQ(form->ui.imp.ImpFileNameEdit->text(), "spk one");
    EXPECT_EQ(form->ui.imp.ImpNameEdit->text(), "SPK-1       ");
    EXPECT_EQ(form->ui.imp.ImpMemo->toPlainText(), "line1\nline2");
    EXPECT_EQ(form->ui.imp.ImpTerminalEdit->text(), "NL 4");
    EXPECT_EQ(form->ui.PageControl->currentIndex(), 0);
    EXPECT_TRUE(form->ui.menus.ImpFileSaveMenu->isEnabled());
    EXPECT_TRUE(form->ui.menus.ImpFileSaveAsMenu->isEnabled());
    EXPECT_TRUE(form->ui.menus.FileImpCsvSaveMenu->isEnabled());
    EXPECT_FALSE(form->ui.menus.RefFileSaveMenu->isEnabled());
    // Showing the fields did not rewrite the lines.
    EXPECT_EQ(form->curves.ImpLines[NameLine], "[SPK-1       ]");
    EXPECT_EQ(form->curves.ImpLines[MemoSlot], "line1\r\nline2");

    // The remembered folder is offered the next time.
    form->ui.menus.ImpCurveOpenAction->trigger();
    EXPECT_EQ(dialogs.asked[1].initialFolder.toStdString(), dir.path().string() + "/");
}

TEST_F(FilesFixture, OpenReferenceCurveDecodesHeaderAndEnablesUpload)
{
    CurveLines ref = SampleCurve("G", "G");
    ref[ThresholdLine] = std::string("[") + CodeChar(60) + "AAA" + CodeChar(30) + "AAA" + CodeChar(40) + "AAA]";
    const std::string path = Write("ref.q5imp", ref);
    dialogs.answers.push_back(QString::fromStdString(path));
    form->ui.menus.RefCurveOpenAction->trigger();
    EXPECT_EQ(dialogs.asked[0].title, "リファレンス・カーブを開く");
    EXPECT_TRUE(form->curves.RefLoaded);
    EXPECT_EQ(form->curves.RefNg1[0], 60);
    EXPECT_EQ(form->ui.imp.RefTerminalBox->currentIndex(), 2);
    EXPECT_TRUE(form->ui.imp.RefProtectCheckBox->isChecked());
    EXPECT_TRUE(form->ui.upload.OpenRefCurveUploadButton->isEnabled());
    EXPECT_TRUE(form->ui.menus.RefFileSaveMenu->isEnabled());
    EXPECT_FALSE(form->ui.menus.ImpFileSaveMenu->isEnabled());

    form->ui.imp.RefProtectCheckBox->click();
    EXPECT_EQ(form->curves.RefLines[FlagsLine], "C");
    form->ui.imp.RefTerminalBox->setCurrentIndex(1);
    emit form->ui.imp.RefTerminalBox->activated(1);
    EXPECT_EQ(form->curves.RefLines[TerminalLine], "E");
}

TEST_F(FilesFixture, CancelledOpenChangesNothing)
{
    dialogs.answers.push_back(std::nullopt);
    form->ui.menus.ImpCurveOpenAction->trigger();
    EXPECT_FALSE(form->curves.ImpLoaded);
    EXPECT_TRUE(form->curves.ImpFilePath.empty());
    EXPECT_FALSE(form->ui.menus.ImpFileSaveMenu->isEnabled());
}

TEST_F(FilesFixture, UnreadableFileIsReportedAndLeavesCurveAsItWas)
{
    const std::string good = Write("good.q5imp", SampleCurve("B", "@"));
    form->OpenCurve(CurveKind::Measured, good);
    const CurveLines before = form->curves.ImpLines;
    const std::string missing = dir.file("gone.q5imp");
    form->OpenCurve(CurveKind::Measured, missing);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("gone.q5imp"));
    EXPECT_EQ(form->curves.ImpLines, before);
    EXPECT_EQ(form->curves.ImpFilePath, good);
    EXPECT_EQ(form->ui.imp.ImpFileNameEdit->text(), "good");
}

TEST_F(FilesFixture, SaveWritesToCurrentFileWithoutDialog)
{
    const std::string path = Write("a.q5imp", SampleCurve("B", "@"));
    form->OpenCurve(CurveKind::Measured, path);
    form->ui.imp.ImpNameEdit->setText(QStringLiteral("NEW"));
    form->ui.menus.ImpFileSaveMenu->trigger();
    EXPECT_TRUE(dialogs.asked.isEmpty());
    CurveLines back{};
    ASSERT_TRUE(ReadCurveFile(path, back).ok);
    EXPECT_EQ(back[NameLine], "[NEW         ]");
}

TEST_F(FilesFixture, SaveOfDeletedFileAsksAndCancelWritesNothing)
{
    const std::string path = Write("a.q5imp", SampleCurve("B", "@"));
    form->OpenCurve(CurveKind::Measured, path);
    std::filesystem::remove(path);
    dialogs.answers.push_back(std::nullopt);
    form->ui.menus.ImpFileSaveMenu->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].title, "測定カーブに名前を付けて保存");
    EXPECT_EQ(dialogs.asked[0].defaultSuffix, "q5imp");
    EXPECT_TRUE(form->curves.ImpFilePath.empty());
    EXPECT_FALSE(std::filesystem::exists(path));

    // With no current file the next save asks again and writes where chosen.
    const std::string chosen = dir.file("b.q5imp");
    dialogs.answers.push_back(QString::fromStdString(chosen));
    form->ui.menus.ImpFileSaveMenu->trigger();
    EXPECT_EQ(dialogs.asked.size(), 2);
    EXPECT_EQ(form->curves.ImpFilePath, chosen);
    EXPECT_EQ(form->ui.imp.ImpFileNameEdit->text(), "b");
    EXPECT_EQ(ReadAll(chosen), CurveFileBytes(form->curves.ImpLines));
}

TEST_F(FilesFixture, SaveDialogKeepsTheLastChosenNameAndSaveAsClearsIt)
{
    form->OpenCurve(CurveKind::Measured, Write("opened.q5imp", SampleCurve("B", "@")));
    form->OpenCurve(CurveKind::Reference, Write("ref.q5imp", SampleCurve("B", "@")));
    const std::string first = dir.file("unit1.q5imp");
    dialogs.answers.push_back(QString::fromStdString(first));
    form->ui.menus.ImpFileSaveAsMenu->trigger();
    EXPECT_TRUE(dialogs.asked.back().fileName.isEmpty());

    // The file is gone: Save asks again with the name last chosen in its dialog.
    std::filesystem::remove(first);
    dialogs.answers.push_back(std::nullopt);
    form->ui.menus.ImpFileSaveMenu->trigger();
    EXPECT_EQ(dialogs.asked.back().fileName, "unit1.q5imp");

    // Save As starts with an empty name; the reference dialog has its own.
    dialogs.answers.push_back(std::nullopt);
    form->ui.menus.ImpFileSaveAsMenu->trigger();
    EXPECT_TRUE(dialogs.asked.back().fileName.isEmpty());
    dialogs.answers.push_back(std::nullopt);
    std::filesystem::remove(dir.file("ref.q5imp"));
    form->ui.menus.RefFileSaveMenu->trigger();
    ASSERT_EQ(dialogs.asked.size(), 4);
    EXPECT_TRUE(dialogs.asked.back().fileName.isEmpty());
}

TEST_F(FilesFixture, SaveAsWritesChosenFileAndRemembersFolder)
{
    const std::string path = Write("ref.q5imp", SampleCurve("G", "@"));
    form->OpenCurve(CurveKind::Reference, path);
    std::filesystem::create_directory(dir.path() / "out");
    const std::string chosen = (dir.path() / "out" / "copy.q5imp").string();
    dialogs.answers.push_back(QString::fromStdString(chosen));
    form->ui.menus.RefFileSaveAsMenu->trigger();
    EXPECT_EQ(dialogs.asked.back().title, "リファレンス・カーブに名前を付けて保存");
    EXPECT_EQ(form->curves.RefFilePath, chosen);
    EXPECT_EQ(form->settings.RefCurveDir, (dir.path() / "out").string() + "/");
    EXPECT_EQ(form->ui.imp.RefFileNameEdit->text(), "copy");
    EXPECT_EQ(ReadAll(chosen), ReadAll(path));
}

TEST_F(FilesFixture, StartFileOpensMeasuredCurveWithoutDialog)
{
    const std::string path = Write("start.q5imp", SampleCurve("B", "@"));
    form->OpenStartFile(path, false);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_TRUE(form->curves.ImpLoaded);
    EXPECT_EQ(form->ui.imp.ImpFileNameEdit->text(), "start");
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

// A memo over 600 bytes as a file may hold it: every edit that shortens it is
// taken, none that lengthens it.
TEST_F(FilesFixture, AnOverlongMemoFromAFileCanBeShortened)
{
    CurveLines c = SampleCurve("B", "@");
    c[MemoSlot] = std::string(700, 'm');
    form->OpenCurve(CurveKind::Measured, Write("long.q5imp", c));
    QPlainTextEdit* memo = form->ui.imp.ImpMemo;
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);

    QTest::keyClick(memo, Qt::Key_Backspace);
    EXPECT_EQ(form->curves.ImpLines[MemoSlot], std::string(699, 'm'));
    QTest::keyClicks(memo, QStringLiteral("x"));  // still over the limit and longer: refused
    EXPECT_EQ(form->curves.ImpLines[MemoSlot], std::string(699, 'm'));
    EXPECT_EQ(memo->toPlainText(), QString(699, QLatin1Char('m')));
    memo->selectAll();
    QTest::keyClicks(memo, QStringLiteral("ok"));  // a replacement that fits
    EXPECT_EQ(form->curves.ImpLines[MemoSlot], "ok");
}

// Bytes that have no text form (a damaged or foreign file) stay exactly as
// they are when the user edits around them, in the name and in the memo.
TEST_F(FilesFixture, BytesWithoutATextFormSurviveAnEditAroundThem)
{
    CurveLines c = SampleCurve("B", "@");
    c[NameLine] = std::string("[AB\xFF") + std::string(9, ' ') + "]";
    c[MemoSlot] = "x\x80y";
    form->OpenCurve(CurveKind::Measured, Write("odd.q5imp", c));
    QLineEdit* name = form->ui.imp.ImpNameEdit;
    EXPECT_EQ(name->text().size(), 12);  // the byte shows as one character

    name->setFocus();
    name->setText(name->text().trimmed());  // as a click in the field leaves it
    name->end(false);
    QTest::keyClicks(name, QStringLiteral("C"));
    EXPECT_EQ(form->curves.ImpLines[NameLine], std::string("[AB\xFF") + "C" + std::string(8, ' ') + "]");

    QPlainTextEdit* memo = form->ui.imp.ImpMemo;
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, QStringLiteral("z"));
    EXPECT_EQ(form->curves.ImpLines[MemoSlot], "x\x80yz");
}

}  // namespace
}  // namespace qlx
