#include <gtest/gtest.h>

#include "app/settings.h"
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

}  // namespace
}  // namespace qlx
