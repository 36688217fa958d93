#pragma once

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QVariant>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "results/record_sql.h"
#include "results/results_schema.h"
#include "results/results_settings.h"
#include "results/sql_connection.h"
#include "support/temp_dir.h"

namespace qlxtest {

// XDG configuration and data folders of the test's own, so that the
// results log and the program's configuration start empty; the previous
// ones come back afterwards. Make it before the window.
class ResultsHome {
public:
    ResultsHome() : config_(Get("XDG_CONFIG_HOME")), data_(Get("XDG_DATA_HOME"))
    {
        setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
        setenv("XDG_DATA_HOME", dir_.file("data").c_str(), 1);
    }
    ~ResultsHome()
    {
        Restore("XDG_CONFIG_HOME", config_);
        Restore("XDG_DATA_HOME", data_);
    }
    ResultsHome(const ResultsHome&) = delete;
    ResultsHome& operator=(const ResultsHome&) = delete;

    // Settings of the log as the program will read them.
    static void Configure(const qlx::ResultsSettings& settings)
    {
        auto file = qlx::OpenProgramSettings();
        qlx::SaveResultsSettings(*file, settings);
        file->sync();
    }

    const std::filesystem::path& path() const { return dir_.path(); }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    static std::optional<std::string> Get(const char* name)
    {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& v)
    {
        v ? setenv(name, v->c_str(), 1) : unsetenv(name);
    }

    TempDir dir_;
    std::optional<std::string> config_;
    std::optional<std::string> data_;
};

// Every record of a results file, in the order written, read through a
// connection of the test's own.
inline std::vector<qlx::ResultRecord> StoredRecords(const std::string& path)
{
    std::vector<qlx::ResultRecord> records;
    qlx::SqlConnection c(QStringLiteral("QSQLITE"));
    c.db().setDatabaseName(QString::fromStdString(path));
    EXPECT_TRUE(c.db().open());
    {
        QSqlQuery q(c.db());
        EXPECT_TRUE(q.exec(QString::fromStdString("SELECT " + qlx::RecordColumnList() + " FROM records ORDER BY id")));
        while (q.next())
            records.push_back(qlx::RecordFromRow(q));
    }
    return records;
}

}  // namespace qlxtest
