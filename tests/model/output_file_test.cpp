#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

#include "model/file_io.h"
#include "model/output_file.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::WriteAll;

TEST(OutputFile, PiecesLandInOrderAndCreateEmptiesAnOldFile)
{
    TempDir dir;
    const std::string path = dir.file("curve.q5imp");
    WriteAll(path, "an older and longer content");
    OutputFile file;
    ASSERT_TRUE(file.Create(path).ok);
    ASSERT_TRUE(file.Append("[block 0]\n").ok);
    // A piece is there on disk before the file is closed.
    EXPECT_EQ(ReadAll(path), "[block 0]\n");
    ASSERT_TRUE(file.Append(std::string("\x83\x5C\0", 3)).ok);
    ASSERT_TRUE(file.Close().ok);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadAll(path), std::string("[block 0]\n\x83\x5C\0", 13));
    EXPECT_TRUE(file.Close().ok) << "a second close is harmless";
}

TEST(OutputFile, FailuresNameTheFileAndTheReason)
{
    TempDir dir;
    struct Case {
        const char* what;
        std::string path;
        bool createFails;
        const char* reason;
    };
    ASSERT_EQ(::mkdir(dir.file("folder.q5imp").c_str(), 0755), 0);
    const Case cases[] = {
        {"a folder where the file should be", dir.file("folder.q5imp"), true, "Is a directory"},
        {"a missing folder", dir.file("gone/a.q5imp"), true, "No such file or directory"},
        // The device that is always full: the create succeeds, the write fails.
        {"a full disk", "/dev/full", false, "No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OutputFile file;
        IoResult r = file.Create(c.path);
        EXPECT_EQ(r.ok, !c.createFails);
        if (r.ok)
            r = file.Append("data");
        ASSERT_FALSE(r.ok);
        EXPECT_EQ(r.error, "ファイルを書き込めません。\n" + c.path + "\n" + c.reason);
    }
}

TEST(FileLayer, MakeFolderNeedsItsParentAndNamesTheFolder)
{
    TempDir dir;
    ASSERT_TRUE(MakeFolder(dir.file("Ref_20241208")).ok);
    EXPECT_TRUE(DirExists(dir.file("Ref_20241208")));
    const IoResult again = MakeFolder(dir.file("Ref_20241208"));
    EXPECT_EQ(again.error, "フォルダーを作成できません。\n" + dir.file("Ref_20241208") + "\nFile exists");
    const IoResult deep = MakeFolder(dir.file("a/b"));
    EXPECT_EQ(deep.error, "フォルダーを作成できません。\n" + dir.file("a/b") + "\nNo such file or directory");
}

TEST(FileLayer, RenameNeverReplacesAnEntry)
{
    TempDir dir;
    const std::string from = dir.file("temp.q5imp");
    const std::string to = dir.file("Woofer_2024_1208_1530_12.q5imp");
    WriteAll(from, "second");
    WriteAll(to, "first");
    const IoResult r = RenameFile(from, to);
    EXPECT_EQ(r.error, "ファイルの名前を変更できません。\n" + from + " → " + to + "\nFile exists");
    EXPECT_EQ(ReadAll(from), "second");
    EXPECT_EQ(ReadAll(to), "first");

    const std::string free = dir.file("Woofer_2024_1208_1530_12_1.q5imp");
    ASSERT_TRUE(RenameFile(from, free).ok);
    EXPECT_FALSE(EntryExists(from));
    EXPECT_EQ(ReadAll(free), "second");
}

TEST(FileLayer, EntryExistsSeesEveryKindOfEntry)
{
    TempDir dir;
    WriteAll(dir.file("file"), "x");
    ASSERT_EQ(::mkdir(dir.file("folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("/no/such/target", dir.file("dangling").c_str()), 0);
    for (const char* name : {"file", "folder", "dangling"})
        EXPECT_TRUE(EntryExists(dir.file(name))) << name;
    EXPECT_FALSE(EntryExists(dir.file("nothing")));
    EXPECT_FALSE(EntryExists(""));
    EXPECT_FALSE(EntryExists(dir.file("file") + std::string("\0x", 2)));
}

TEST(FileLayer, RemoveTreeTakesTheFolderButNotWhatItsLinksPointTo)
{
    TempDir dir;
    const std::string outside = dir.file("outside");
    ASSERT_EQ(::mkdir(outside.c_str(), 0755), 0);
    WriteAll(outside + "/keep.q5imp", "kept");
    const std::string run = dir.file("Imp_20241208");
    ASSERT_EQ(::mkdir(run.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((run + "/sub").c_str(), 0755), 0);
    WriteAll(run + "/sub/a.q5imp", "a");
    WriteAll(run + "/temp.q5imp", "t");
    ASSERT_EQ(::symlink(outside.c_str(), (run + "/link").c_str()), 0);

    EXPECT_TRUE(RemoveTree(run));
    EXPECT_FALSE(EntryExists(run));
    EXPECT_EQ(ReadAll(outside + "/keep.q5imp"), "kept");
    EXPECT_TRUE(RemoveTree(dir.file("never-there"))) << "nothing is left of what never was";
}

}  // namespace
}  // namespace qlx
