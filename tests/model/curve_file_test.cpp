#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/curve_file.h"
#include "support/memory_limit.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::WriteAll;

CurveLines DefaultCurve()
{
    CurveLines c{};
    FillDefaults(c);
    return c;
}

std::string NumberedLines(int count, const char* eol = "\n")
{
    std::string s;
    for (int i = 1; i <= count; ++i)
        s += "L" + std::to_string(i) + eol;
    return s;
}

TEST(CurveFile, DefaultCurveIsWrittenByteForByte)
{
    std::string expected = "[            ]\nB\n@\n";
    for (int block = 0; block < 4; ++block) {
        if (block > 0)
            expected += "[            ]\n@\n@\n";
        for (int j = 0; j < 120; ++j)
            expected += "0\n";
    }
    expected += "\n";  // the empty memo record
    EXPECT_EQ(CurveFileBytes(DefaultCurve()), expected);

    TempDir dir;
    ASSERT_TRUE(WriteCurveFile(dir.file("a.q5imp"), DefaultCurve()).ok);
    EXPECT_EQ(ReadAll(dir.file("a.q5imp")), expected);
}

TEST(CurveFile, RoundTripKeepsHighBytesAndMemo)
{
    CurveLines c = DefaultCurve();
    c[FlagsLine] = "\xC7";
    c[ThresholdLine] = "[\xA3\xA3\xA3\xA3YYYYffff]";
    c[NameLine] = "[\x83\x65\x83\x58\x83\x67    ]";  // テスト
    c[MemoSlot] = "a\r\n\r\nb";
    EXPECT_NE(CurveFileBytes(c).find("a\r\n\r\nb\n"), std::string::npos);

    TempDir dir;
    ASSERT_TRUE(WriteCurveFile(dir.file("c.q5imp"), c).ok);
    CurveLines back = DefaultCurve();
    ASSERT_TRUE(ReadCurveFile(dir.file("c.q5imp"), back).ok);
    for (int i = 0; i < MemoSlot; ++i)
        ASSERT_EQ(back[i], c[i]) << i;
    // The blank memo line does not survive reading: blank lines never count.
    EXPECT_EQ(back[MemoSlot], "a\r\nb");
}

TEST(CurveFile, CrLfBlankLinesAndLeadingBlanksReadTheSame)
{
    const std::string plain = CurveFileBytes(DefaultCurve());
    std::string crlf, spaced;
    for (char ch : plain) {
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        spaced += ch == '\n' ? std::string("\n\n  \t") : std::string(1, ch);
    }
    CurveLines a{}, b{}, c{};
    StoreCurveFileLines(SplitCurveFileLines(plain), a);
    StoreCurveFileLines(SplitCurveFileLines(crlf), b);
    StoreCurveFileLines(SplitCurveFileLines(spaced), c);
    EXPECT_EQ(a, DefaultCurve());
    EXPECT_EQ(b, a);
    EXPECT_EQ(c, a);
    EXPECT_EQ(SplitCurveFileLines("   123\n")[0], "123");
    EXPECT_EQ(SplitCurveFileLines("1\r2\n")[0], "12");
}

TEST(CurveFile, SixHundredLinesFillSlotsAndTwentyMemoLines)
{
    CurveLines c = DefaultCurve();
    StoreCurveFileLines(SplitCurveFileLines(NumberedLines(600)), c);
    EXPECT_EQ(c[0], "L1");
    EXPECT_EQ(c[491], "L492");
    std::string memo = "L493";
    for (int i = 494; i <= 512; ++i)
        memo += "\r\nL" + std::to_string(i);
    EXPECT_EQ(c[MemoSlot], memo);
}

TEST(CurveFile, ShortFileLeavesOtherSlotsAndClearsMemo)
{
    CurveLines c = DefaultCurve();
    c[20] = "keep";
    c[MemoSlot] = "old memo";
    StoreCurveFileLines(SplitCurveFileLines(NumberedLines(10, "\r\n")), c);
    EXPECT_EQ(c[9], "L10");
    EXPECT_EQ(c[10], "0");
    EXPECT_EQ(c[20], "keep");
    EXPECT_EQ(c[MemoSlot], "");
}

TEST(CurveFile, CtrlZEndsTheFile)
{
    EXPECT_EQ(SplitCurveFileLines("A\nB\x1A"
                                  "C\nD\n"),
              (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(SplitCurveFileLines("A\n\x1A\nD\n"), (std::vector<std::string>{"A"}));
}

TEST(CurveFile, FailedReadLeavesCurveUntouchedAndNamesTheFile)
{
    TempDir dir;
    CurveLines c = DefaultCurve();
    c[5] = "55";
    IoResult r = ReadCurveFile(dir.file("missing.q5imp"), c);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("missing.q5imp"), std::string::npos);
    EXPECT_EQ(r.error.rfind("ファイルを読み込めません。", 0), 0u) << r.error;
    EXPECT_EQ(c[5], "55");
}

// A line longer than any curve line keeps its first 4096 bytes; the rest of
// it is passed over and the next line is the next slot.
TEST(CurveFile, AnOverlongLineIsCutAndTheNextLineFollows)
{
    const std::vector<std::string> lines = SplitCurveFileLines("[x]\n" + std::string(10000, 'A') + "\r\nB\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], std::string(4096, 'A'));
    EXPECT_EQ(lines[2], "B");
}

// Only a regular file is read: a device never ends (a link to /dev/zero
// would grow until the program dies), a pipe blocks the open. The file
// layer's message names the file, and the curve stays as it was.
TEST(CurveFile, WhatIsNoRegularFileIsRefusedWithTheFileLayerMessage)
{
    TempDir dir;
    ASSERT_EQ(symlink("/dev/zero", dir.file("zero.q5imp").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.file("pipe.q5imp").c_str(), 0644), 0);
    ASSERT_EQ(mkdir(dir.file("folder.q5imp").c_str(), 0755), 0);
    for (const char* name : {"zero.q5imp", "pipe.q5imp", "folder.q5imp"}) {
        SCOPED_TRACE(name);
        CurveLines c = DefaultCurve();
        c[5] = "55";
        const IoResult r = ReadCurveFile(dir.file(name), c);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error.rfind("ファイルを読み込めません。\n" + dir.file(name) + "\n", 0), 0u) << r.error;
        EXPECT_EQ(c[5], "55");
    }
}

// A gigabyte file is read only as far as 512 lines can reach, so a process
// whose memory may grow by 64 MB opens it (reading it whole ended the program
// with an uncaught std::bad_alloc).
TEST(CurveFile, AHugeFileOpensUnderAMemoryLimit)
{
    if (!qlxtest::MemoryLimitUsable())
        GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    TempDir dir;
    const std::string path = dir.file("huge.q5imp");
    // The curve's first lines, then zero bytes up to a gigabyte (sparse).
    WriteAll(path, "[huge        ]\nB\n");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
    const int status = qlxtest::RunWithMemoryLimit(64u << 20, [&] {
        CurveLines c = DefaultCurve();
        const IoResult r = ReadCurveFile(path, c);
        return r.ok && c[0] == "[huge        ]" && c[1] == "B" && c[2] == "@" ? 0 : 1;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(CurveFile, FailedReplaceLeavesNoTemporaryFileBehind)
{
    // A folder where the file should be: the data is written, but the final
    // replace fails, and nothing of the attempt may stay in the folder.
    TempDir dir;
    const std::string path = dir.file("taken.q5imp");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    WriteAll(path + "/inside", "x");
    IoResult r = WriteCurveFile(path, DefaultCurve());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("taken.q5imp"), std::string::npos);
    EXPECT_EQ(r.error.rfind("ファイルを書き込めません。", 0), 0u) << r.error;
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

// Runs `body` in a child process as an ordinary user (nobody when the tests
// run as root, since root ignores file permissions) and returns its exit code.
template <typename Body>
int AsOrdinaryUser(Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(CurveFile, WritableFileInReadOnlyFolderIsRewrittenInPlace)
{
    TempDir dir;
    const std::string path = dir.file("shared.q5imp");
    WriteAll(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    const int rc = AsOrdinaryUser([&] { return WriteCurveFile(path, DefaultCurve()).ok ? 0 : 1; });
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ReadAll(path), CurveFileBytes(DefaultCurve()));
}

TEST(CurveFile, ReadOnlyFileIsRefusedAndKept)
{
    TempDir dir;
    const std::string path = dir.file("locked.q5imp");
    WriteAll(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const int rc = AsOrdinaryUser([&] { return WriteCurveFile(path, DefaultCurve()).ok ? 0 : 1; });
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(ReadAll(path), "old");
}

TEST(CurveFile, WriteIntoMissingFolderFailsWithMessage)
{
    TempDir dir;
    IoResult r = WriteCurveFile(dir.file("no/such/dir/a.q5imp"), DefaultCurve());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("a.q5imp"), std::string::npos);
}

TEST(CurveFile, WriteReplacesThroughSymlinkAndKeepsMode)
{
    TempDir dir;
    const std::string target = dir.file("real.q5imp");
    WriteAll(target, "old");
    chmod(target.c_str(), 0640);
    const std::string link = dir.file("link.q5imp");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteCurveFile(link, DefaultCurve()).ok);
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadAll(target), CurveFileBytes(DefaultCurve()));
}

TEST(FilePaths, DisplayNameFolderAndExtension)
{
    EXPECT_EQ(DisplayName("/a/b/curve.q5imp"), "curve");
    EXPECT_EQ(DisplayName("C:\\My Curves\\a.b.q5imp"), "a.b");
    EXPECT_EQ(DisplayName("noext"), "noext");
    EXPECT_EQ(FolderOf("/a/b/curve.q5imp"), "/a/b/");
    EXPECT_EQ(FolderOf("C:\\x\\y.q5imp"), "C:\\x\\");
    EXPECT_EQ(FolderOf("y.q5imp"), "");
    EXPECT_EQ(FileNameOf("/a/b/curve.q5imp"), "curve.q5imp");
    EXPECT_EQ(FileNameOf("C:\\x\\y.z.q5imp"), "y.z.q5imp");
    EXPECT_EQ(FileNameOf("/mixed\\sep/last"), "last");
    EXPECT_EQ(FileNameOf("/a/b/"), "");
    EXPECT_EQ(ExtensionOf("/a.b/c.Q5IMP"), ".Q5IMP");
    EXPECT_EQ(ExtensionOf("/a.b/c"), "");
}

}  // namespace
}  // namespace qlx
