#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "results/results_settings.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

// Sets (or unsets) an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ResultsSettingsFile, MissingKeysGiveTheDefaults)
{
    qlxtest::TempDir dir;
    QSettings file(QString::fromStdString(dir.file("empty.conf")), QSettings::IniFormat);
    const ResultsSettings s = LoadResultsSettings(file);
    EXPECT_TRUE(s.logOn);
    EXPECT_EQ(s.databasePath, "");
    EXPECT_FALSE(s.line.enabled);
    EXPECT_EQ(s.line.port, 5432);
    EXPECT_EQ(s.line.database, "qlx50");
}

TEST(ResultsSettingsFile, EverySettingSurvivesSavingAndLoading)
{
    qlxtest::TempDir dir;
    const QString path = QString::fromStdString(dir.file("qlx50-manager.conf"));
    ResultsSettings s;
    s.logOn = false;
    s.databasePath = "/data/測定/results.sqlite";
    s.line = {true, "db.line3.example", 6543, "line3", "station7", "secret", "sslmode=require"};
    {
        QSettings file(path, QSettings::IniFormat);
        SaveResultsSettings(file, s);
    }
    QSettings again(path, QSettings::IniFormat);
    EXPECT_EQ(LoadResultsSettings(again), s);
}

TEST(ResultsSettingsFile, PlacesFollowTheXdgFoldersOrTheHomeFolder)
{
    struct Case {
        const char* configHome;
        const char* dataHome;
        const char* settings;
        const char* database;
    };
    const Case cases[] = {
        {"/cfg", "/data", "/cfg/qlx50-manager/qlx50-manager.conf", "/data/qlx50-manager/results.sqlite"},
        {nullptr, nullptr, "/home/op/.config/qlx50-manager/qlx50-manager.conf",
         "/home/op/.local/share/qlx50-manager/results.sqlite"},
        // Relative XDG folders are to be ignored.
        {"cfg", "", "/home/op/.config/qlx50-manager/qlx50-manager.conf",
         "/home/op/.local/share/qlx50-manager/results.sqlite"},
    };
    ScopedEnv home("HOME", "/home/op");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        ScopedEnv config("XDG_CONFIG_HOME", c.configHome);
        ScopedEnv data("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(ProgramSettingsPath(), c.settings);
        EXPECT_EQ(OpenProgramSettings()->fileName().toStdString(), c.settings);
        EXPECT_EQ(DefaultResultsDatabasePath(), c.database);
        EXPECT_EQ(ResultsDatabasePath({}), c.database);
    }
    ResultsSettings chosen;
    chosen.databasePath = "/srv/results.sqlite";
    EXPECT_EQ(ResultsDatabasePath(chosen), "/srv/results.sqlite");
}

}  // namespace
}  // namespace qlx
