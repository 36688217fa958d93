#include <gtest/gtest.h>

#include <filesystem>

#include <sys/wait.h>

#include "app/settings.h"
#include "support/memory_limit.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::WriteAll;

TEST(Settings, NoFileGivesDefaultsAndIsNeverCreated)
{
    TempDir dir;
    const std::string path = SettingsPathIn(dir.path().string());
    Settings s;
    EXPECT_FALSE(LoadSettings(path, s));
    EXPECT_EQ(s.ComPortName, "COM1");
    EXPECT_EQ(s.CsvDir, "");
    s.ComPortName = "COM4";
    EXPECT_FALSE(SaveSettingsIfPresent(path, s));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Settings, OneLineFileLeavesOthersEmptyAndIsRewrittenWithEightLines)
{
    TempDir dir;
    const std::string path = SettingsPathIn(dir.path().string() + "/");
    EXPECT_EQ(path, dir.file("Default.dat"));
    WriteAll(path, "COM3\r\n");
    Settings s;
    s.RefListDir = "stale";
    ASSERT_TRUE(LoadSettings(path, s));
    EXPECT_EQ(s.ComPortName, "COM3");
    EXPECT_EQ(s.RefListDir, "");
    ASSERT_TRUE(SaveSettingsIfPresent(path, s));
    EXPECT_EQ(ReadAll(path), "COM3\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(Settings, AllEightLinesInOrderWithLfOrCrLf)
{
    TempDir dir;
    const std::string path = dir.file("Default.dat");
    WriteAll(path, "/dev/ttyUSB0\n/r\r\n/i\n/ic/\n/rc/\n/l\n/b\n/c\nextra\n");
    Settings s;
    ASSERT_TRUE(LoadSettings(path, s));
    EXPECT_EQ(s.ComPortName, "/dev/ttyUSB0");
    EXPECT_EQ(s.RefDownloadDir, "/r");
    EXPECT_EQ(s.ImpDownloadDir, "/i");
    EXPECT_EQ(s.ImpCurveDir, "/ic/");
    EXPECT_EQ(s.RefCurveDir, "/rc/");
    EXPECT_EQ(s.RefListDir, "/l");
    EXPECT_EQ(s.BmpDir, "/b");
    EXPECT_EQ(s.CsvDir, "/c");
    ASSERT_TRUE(SaveSettingsIfPresent(path, s));
    EXPECT_EQ(ReadAll(path), "/dev/ttyUSB0\r\n/r\r\n/i\r\n/ic/\r\n/rc/\r\n/l\r\n/b\r\n/c\r\n");
}

TEST(Settings, EmptyFileGivesEmptyPortName)
{
    TempDir dir;
    const std::string path = dir.file("Default.dat");
    WriteAll(path, "");
    Settings s;
    ASSERT_TRUE(LoadSettings(path, s));
    EXPECT_EQ(s.ComPortName, "");
}

// No setting is longer than a path: a longer line is no setting and reads as
// an empty one; the lines after it are read as usual.
TEST(Settings, ALineLongerThanAnyPathIsAnEmptySetting)
{
    TempDir dir;
    const std::string path = dir.file("Default.dat");
    WriteAll(path, std::string(10000, 'C') + "\r\n/r\r\n" + std::string(4096, 'i') + "\r\n");
    Settings s;
    ASSERT_TRUE(LoadSettings(path, s));
    EXPECT_EQ(s.ComPortName, "");
    EXPECT_EQ(s.RefDownloadDir, "/r");
    EXPECT_EQ(s.ImpDownloadDir, std::string(4096, 'i'));
}

// Only what eight lines can use is read: a gigabyte settings file is read
// by a process whose memory may grow by 64 MB.
TEST(Settings, AHugeFileIsReadUnderAMemoryLimit)
{
    if (!qlxtest::MemoryLimitUsable())
        GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    TempDir dir;
    const std::string path = dir.file("Default.dat");
    WriteAll(path, "COM3\r\n");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
    const int status = qlxtest::RunWithMemoryLimit(64u << 20, [&] {
        Settings s;
        return LoadSettings(path, s) && s.ComPortName == "COM3" && s.RefDownloadDir.empty() ? 0 : 1;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace qlx
