#include <gtest/gtest.h>

#include <QSettings>

#include "app/re_memory.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

TEST(ReMemory, KeepsOneReEachReferenceFileAcrossSessions)
{
    qlxtest::TempDir dir;
    const QString path = QString::fromStdString(dir.file("program.conf"));
    const std::string woofer = "/data/refs/ウーファー 18.q5imp";
    const std::string tweeter = "/data/refs/T-25.q5imp";
    {
        QSettings file(path, QSettings::IniFormat);
        ReMemory memory(file);
        EXPECT_FALSE(memory.Get(woofer).has_value());
        memory.Set(woofer, 6.2);
        memory.Set(tweeter, 3.6);
        memory.Set("", 9.9);  // a curve without a file keeps nothing
    }
    QSettings file(path, QSettings::IniFormat);
    ReMemory memory(file);
    EXPECT_EQ(memory.Get(woofer), 6.2);
    EXPECT_EQ(memory.Get(tweeter), 3.6);
    EXPECT_FALSE(memory.Get("").has_value());
    EXPECT_FALSE(memory.Get("/data/refs").has_value());  // a prefix of a path is another file

    memory.Set(tweeter, std::nullopt);
    memory.Set(woofer, -1.0);  // no Re can be negative: forgotten
    EXPECT_FALSE(memory.Get(tweeter).has_value());
    EXPECT_FALSE(memory.Get(woofer).has_value());
}

}  // namespace
}  // namespace qlx
