#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>

#include "model/curve_file.h"
#include "model/file_io.h"
#include "model/ref_list_editor.h"
#include "support/memory_limit.h"
#include "support/temp_dir.h"

namespace {

using qlx::RefListEditor;
using qlx::SaveAnswer;
using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::WriteAll;

// Answers the editor's questions and dialogs from a script and records what
// it was asked.
struct ScriptedUi : qlx::RefListUi {
    std::deque<SaveAnswer> changeSave;
    bool insertYes = true;
    std::optional<std::string> openList, saveList, curve, csv;
    std::vector<std::string> asked;  // dialogs shown, with their arguments
    std::vector<std::string> errors;
    int pageShown = 0;

    SaveAnswer AskChangeSave() override
    {
        asked.push_back("changeSave");
        SaveAnswer a = changeSave.front();
        changeSave.pop_front();
        return a;
    }
    bool ConfirmRowInsert() override
    {
        asked.push_back("rowInsert");
        return insertYes;
    }
    std::optional<std::string> ChooseListToOpen(const std::string& folder) override
    {
        asked.push_back("open:" + folder);
        return openList;
    }
    std::optional<std::string> ChooseListToSave(const std::string& folder, const std::string& name) override
    {
        asked.push_back("save:" + folder + "|" + name);
        return saveList;
    }
    std::optional<std::string> ChooseCurveToRegister(const std::string& folder) override
    {
        asked.push_back("curve:" + folder);
        return curve;
    }
    std::optional<std::string> ChooseCsvToSave(const std::string& name) override
    {
        asked.push_back("csv:" + name);
        return csv;
    }
    void FileError(const std::string& text) override { errors.push_back(text); }
    void ShowUploadPage() override { ++pageShown; }
};

class RefListEditorTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string refListDir, refCurveDir, csvDir;
    ScriptedUi ui;
    RefListEditor editor{{refListDir, refCurveDir, csvDir}, ui};

    std::string Dir() const { return dir.path().string(); }

    // A curve file whose NameLine carries `name`.
    std::string MakeCurve(const std::string& file, const std::string& name)
    {
        qlx::CurveLines lines{};
        qlx::FillDefaults(lines);
        lines[qlx::NameLine] = qlx::NameLineFor(name);
        const std::string path = dir.file(file);
        EXPECT_TRUE(qlx::WriteCurveFile(path, lines));
        return path;
    }
};

TEST_F(RefListEditorTest, NewListSavedAtOnceIs128Commas)
{
    refListDir = Dir();
    editor.New();
    EXPECT_TRUE(ui.asked.empty());  // nothing was modified: no question
    EXPECT_EQ(editor.Controls, (qlx::RefListControls{true, true, true, true, true}));
    ui.saveList = dir.file("new");
    editor.Save(false);
    EXPECT_EQ(ui.asked.back(), "save:" + Dir() + "|RefList.q5lst");
    std::string commas;
    for (int i = 0; i < 128; ++i)
        commas += ",\r\n";
    EXPECT_EQ(ReadAll(dir.file("new.q5lst")), commas);
    EXPECT_FALSE(qlx::FileExists(dir.file("new")));
    // The written name is kept, so the next save needs no dialog.
    EXPECT_EQ(editor.RefListFilePath, dir.file("new.q5lst"));
    EXPECT_EQ(editor.ShownFileName, "new");
    EXPECT_FALSE(editor.Controls.SaveMenu);
    ui.asked.clear();
    editor.Save(true);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(ui.pageShown, 2);  // New, then the menu save
}

TEST_F(RefListEditorTest, SaveAsProposalDependsOnTheRememberedFolder)
{
    struct Case {
        std::string path;
        bool folderExists;
        std::string expected;
    };
    const Case cases[] = {
        {"", true, "|RefList.q5lst"},
        {"/x/list", true, "|/x/list.q5lst"},
        {"/x/list.Q5LST", true, "|/x/list.Q5LST.q5lst"},
        {"/x/list.q5lst", true, "|/x/list.q5lst"},
        {"/x/list.q5lst", false, "save:|"},
    };
    for (const Case& c : cases) {
        refListDir = c.folderExists ? Dir() : "/no/such/folder";
        ui.asked.clear();
        EXPECT_FALSE(editor.SaveRefListAs(c.path));  // cancelled
        const std::string expected = c.folderExists ? "save:" + Dir() + c.expected : c.expected;
        EXPECT_EQ(ui.asked.back(), expected) << c.path;
    }
}

TEST_F(RefListEditorTest, NewAsksAboutUnsavedChanges)
{
    editor.List.Row(1) = {"a", "a", "/d", false};
    editor.DeleteRow(5);
    ASSERT_TRUE(editor.RefListModified);

    ui.changeSave = {SaveAnswer::Cancel};
    editor.New();
    EXPECT_EQ(editor.List.Row(1).name, "a");

    ui.changeSave = {SaveAnswer::Yes};  // save dialog cancelled: nothing happens
    editor.New();
    EXPECT_EQ(editor.List.Row(1).name, "a");
    EXPECT_TRUE(editor.RefListModified);

    ui.changeSave = {SaveAnswer::Yes};
    ui.saveList = dir.file("kept.q5lst");
    editor.New();
    EXPECT_NE(ReadAll(dir.file("kept.q5lst")).find("[a           ]"), std::string::npos);
    EXPECT_EQ(editor.List.Row(1).name, "");
    EXPECT_FALSE(editor.RefListModified);
    EXPECT_TRUE(editor.RefListFilePath.empty());
    EXPECT_TRUE(editor.ShownFileName.empty());

    editor.List.Row(1) = {"b", "b", "/d", false};
    editor.InsertRow(1);
    ui.changeSave = {SaveAnswer::No};
    editor.New();
    EXPECT_EQ(editor.List.Row(2), qlx::RefListRow{});
    EXPECT_EQ(ui.asked,
              (std::vector<std::string>{"changeSave", "changeSave", "save:|", "changeSave", "save:|", "changeSave"}));
}

TEST_F(RefListEditorTest, OpenThroughTheDialogReadsTheListAndRemembersItsFolder)
{
    const std::string curve = MakeCurve("c1.q5imp", "abc");
    WriteAll(dir.file("list.q5lst"), "[abc         ]\r\n" + curve + "\r\n,\r\n,\r\n");
    refListDir = Dir();
    ui.openList = dir.file("list.q5lst");
    editor.RefListModified = true;
    editor.Open();
    EXPECT_EQ(ui.asked, std::vector<std::string>{"open:" + Dir()});
    EXPECT_EQ(editor.RefListFilePath, dir.file("list.q5lst"));
    EXPECT_EQ(refListDir, Dir());
    EXPECT_EQ(editor.ShownFileName, "list");
    EXPECT_EQ(ui.pageShown, 1);
    EXPECT_FALSE(editor.RefListModified);
    EXPECT_EQ(editor.List.Row(1), (qlx::RefListRow{"abc         ", "c1", Dir(), false}));
    EXPECT_EQ(editor.Controls, (qlx::RefListControls{true, true, false, true, true}));
    EXPECT_TRUE(ui.errors.empty());

    // A cancelled dialog forgets the path and keeps the rows.
    ui.openList.reset();
    editor.Open();
    EXPECT_TRUE(editor.RefListFilePath.empty());
    EXPECT_EQ(editor.List.Row(1).fileName, "c1");
}

TEST_F(RefListEditorTest, OpenFromStartKeepsTheRememberedFolderAndLooksBesideTheList)
{
    MakeCurve("moved.q5imp", "m");
    WriteAll(dir.file("start.q5lst"), "[m           ]\n/elsewhere/moved.q5imp\n");
    refListDir = "/remembered";
    editor.Open(dir.file("start.q5lst"));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(refListDir, "/remembered");
    EXPECT_EQ(editor.List.Row(1), (qlx::RefListRow{"m           ", "moved", Dir(), false}));
}

TEST_F(RefListEditorTest, OpenOfAMissingFileLoadsNothingAndReportsNothing)
{
    editor.List.Row(1).name = "keep";
    editor.Open(dir.file("absent.q5lst"));
    EXPECT_EQ(editor.List.Row(1).name, "keep");
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(editor.ShownFileName, "absent");
}

TEST_F(RefListEditorTest, OpenOfAFileThatIsNoListWarnsOnceAndFillsNoRow)
{
    const char notes[] = "shopping\nmilk\n\x01\x02\0\xff\n";
    WriteAll(dir.file("notes.q5lst"), std::string(notes, sizeof notes - 1));
    editor.Open(dir.file("notes.q5lst"));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("notes"), std::string::npos);
    EXPECT_EQ(editor.List.Row(1), qlx::RefListRow{});
    EXPECT_EQ(editor.List.Row(2), qlx::RefListRow{});
    EXPECT_EQ(editor.Controls, qlx::RefListControls{});
}

// A path line of 200 MiB (here zero bytes, a sparse file) is recognised as
// no entry: its row stays empty, the one warning is shown, and the line is
// neither converted nor kept.
TEST_F(RefListEditorTest, OpenOfAListWithAHugePathLineLeavesItsRowEmptyAndWarnsOnce)
{
    const std::string path = dir.file("huge.q5lst");
    WriteAll(path, ",\n/");
    std::filesystem::resize_file(path, std::uintmax_t{200} << 20);
    {
        std::ofstream tail(path, std::ios::binary | std::ios::app);
        tail << ".q5imp\n[next        ]\n,\n";
    }
    editor.List.Row(1).name = "old";
    editor.Open(path);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("huge"), std::string::npos);
    EXPECT_EQ(editor.List.Row(1), qlx::RefListRow{});
    EXPECT_EQ(editor.Controls, qlx::RefListControls{});
}

// No list needs more than 64 entries of the longest lines: what lies beyond
// that many bytes is not read, and the file is reported as no sound list.
TEST_F(RefListEditorTest, BytesBeyondWhatAListCanHoldAreNotReadAndWarned)
{
    const std::string curve = MakeCurve("c1.q5imp", "abc");
    WriteAll(dir.file("padded.q5lst"),
             "[abc         ]\n" + curve + "\n" + std::string(600 * 1024, '\n') + "[abc         ]\n" + curve + "\n");
    editor.Open(dir.file("padded.q5lst"));
    EXPECT_EQ(editor.List.Row(1).fileName, "c1");
    EXPECT_EQ(editor.List.Row(2), qlx::RefListRow{});
    EXPECT_EQ(ui.errors.size(), 1u);
}

// A gigabyte list file is read only as far as 64 entries can reach, so a
// process whose memory may grow by 64 MB opens it.
TEST_F(RefListEditorTest, AHugeListOpensUnderAMemoryLimit)
{
    if (!qlxtest::MemoryLimitUsable())
        GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    const std::string curve = MakeCurve("c1.q5imp", "abc");
    const std::string path = dir.file("huge.q5lst");
    WriteAll(path, "[abc         ]\n" + curve + "\n");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
    const int status = qlxtest::RunWithMemoryLimit(64u << 20, [&] {
        editor.Open(path);
        return editor.List.Row(1).fileName == "c1" ? 0 : 1;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(RefListEditorTest, InsertAtRow64AsksOnlyWhenItNamesAFile)
{
    editor.List.Row(63) = {"a", "a", "/d", true};
    ASSERT_TRUE(editor.InsertRow(64));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(editor.List.Row(63).fileName, "a");

    editor.List.Row(64) = {"z", "z", "/d", false};
    ui.insertYes = false;
    EXPECT_FALSE(editor.InsertRow(1));
    EXPECT_EQ(editor.List.Row(64).fileName, "z");
    ui.insertYes = true;
    editor.RefListModified = false;
    ASSERT_TRUE(editor.InsertRow(64));
    EXPECT_EQ(editor.List.Row(64), qlx::RefListRow{});
    EXPECT_TRUE(editor.RefListModified);
    EXPECT_EQ(ui.asked, (std::vector<std::string>{"rowInsert", "rowInsert"}));
    EXPECT_FALSE(editor.InsertRow(0));
}

TEST_F(RefListEditorTest, RegisterCurveFillsTheRowFromTheCurveFile)
{
    refCurveDir = Dir();
    ui.curve = MakeCurve("spk.q5imp", "\x83\x65\x83\x58");  // Shift-JIS "テス"
    editor.List.Row(3).missing = true;
    ASSERT_TRUE(editor.RegisterCurve(3));
    EXPECT_EQ(ui.asked, std::vector<std::string>{"curve:" + Dir()});
    EXPECT_EQ(editor.List.Row(3), (qlx::RefListRow{"\x83\x65\x83\x58        ", "spk", Dir(), true}));
    EXPECT_TRUE(editor.RefListModified);
    EXPECT_EQ(editor.Controls, (qlx::RefListControls{true, true, true, true, true}));
    EXPECT_EQ(refCurveDir, Dir());

    ui.curve.reset();
    editor.RefListModified = false;
    EXPECT_FALSE(editor.RegisterCurve(4));
    EXPECT_FALSE(editor.RefListModified);
}

TEST_F(RefListEditorTest, CsvExportProposesANameAndWritesTheRows)
{
    csvDir = Dir();
    editor.List.Row(1) = {"abc         ", "spk", "/data", false};
    ui.csv = dir.file("out.csv");
    editor.ExportCsv();
    EXPECT_EQ(ui.asked.back(), "csv:" + Dir() + "/ReferenceList.csv");
    const std::string csv = ReadAll(dir.file("out.csv"));
    EXPECT_TRUE(csv.starts_with("1,\"abc         \",\"spk.q5imp\",\"/data\"\r\n2,\"\",\"\",\"\"\r\n"));

    editor.ShownFileName = "mylist";
    ui.csv.reset();
    editor.ExportCsv();
    EXPECT_EQ(ui.asked.back(), "csv:" + Dir() + "/mylist.csv");
    csvDir = "/no/such";
    editor.ExportCsv();
    EXPECT_EQ(ui.asked.back(), "csv:");
    EXPECT_EQ(csvDir, "/no/such");  // a cancel remembers nothing
}

TEST_F(RefListEditorTest, WriteFailuresAreReportedAndEmptyPathIsRefused)
{
    EXPECT_FALSE(editor.WriteRefListFile(""));
    EXPECT_FALSE(editor.WriteRefListFile("/no/such/folder/list"));
    EXPECT_EQ(ui.errors.size(), 1u);
}

}  // namespace
