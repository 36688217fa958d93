#pragma once

#include <QSettings>

#include <memory>
#include <string>

namespace qlx {

// The optional database shared by the stations of a line (PostgreSQL).
struct LineDatabaseSettings {
    bool enabled = false;
    std::string host;  // name, address, or the folder of a Unix socket
    int port = 5432;
    std::string database = "qlx50";
    std::string user;
    std::string password;  // empty: libpq's own means (~/.pgpass, peer)
    std::string options;   // further libpq connection options, "key=value;..."

    bool operator==(const LineDatabaseSettings&) const = default;
};

// Settings of the results log, in the program's own configuration file.
struct ResultsSettings {
    bool logOn = true;
    std::string databasePath;  // empty: the default location
    LineDatabaseSettings line;

    bool operator==(const ResultsSettings&) const = default;
};

// $XDG_CONFIG_HOME/qlx50-manager/qlx50-manager.conf (~/.config when unset).
std::string ProgramSettingsPath();
// The configuration file at ProgramSettingsPath(), in INI form.
std::unique_ptr<QSettings> OpenProgramSettings();

// $XDG_DATA_HOME/qlx50-manager/results.sqlite (~/.local/share when unset).
std::string DefaultResultsDatabasePath();
// The database the settings name, or the default one.
std::string ResultsDatabasePath(const ResultsSettings& settings);

// Missing keys read as the defaults above.
ResultsSettings LoadResultsSettings(const QSettings& file);
void SaveResultsSettings(QSettings& file, const ResultsSettings& settings);

}  // namespace qlx
