#include "results/results_settings.h"

#include <cstdlib>

namespace qlx {

namespace {

constexpr const char* kFolderName = "qlx50-manager";

// An XDG base folder: the variable when it holds an absolute path (relative
// ones are to be ignored), else the fallback under the home folder.
std::string BaseFolder(const char* variable, const char* homeFallback)
{
    if (const char* v = std::getenv(variable); v && v[0] == '/')
        return v;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + homeFallback;
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

std::string ProgramSettingsPath()
{
    return BaseFolder("XDG_CONFIG_HOME", ".config") + "/" + kFolderName + "/" + kFolderName + ".conf";
}

std::unique_ptr<QSettings> OpenProgramSettings()
{
    return std::make_unique<QSettings>(Text(ProgramSettingsPath()), QSettings::IniFormat);
}

std::string DefaultResultsDatabasePath()
{
    return BaseFolder("XDG_DATA_HOME", ".local/share") + "/" + kFolderName + "/results.sqlite";
}

std::string ResultsDatabasePath(const ResultsSettings& settings)
{
    return settings.databasePath.empty() ? DefaultResultsDatabasePath() : settings.databasePath;
}

ResultsSettings LoadResultsSettings(const QSettings& file)
{
    ResultsSettings s;
    LineDatabaseSettings& l = s.line;
    s.logOn = file.value("ResultsLog/Enabled", s.logOn).toBool();
    s.databasePath = file.value("ResultsLog/Database", Text(s.databasePath)).toString().toStdString();
    l.enabled = file.value("LineDatabase/Enabled", l.enabled).toBool();
    l.host = file.value("LineDatabase/Host", Text(l.host)).toString().toStdString();
    l.port = file.value("LineDatabase/Port", l.port).toInt();
    l.database = file.value("LineDatabase/Database", Text(l.database)).toString().toStdString();
    l.user = file.value("LineDatabase/User", Text(l.user)).toString().toStdString();
    l.password = file.value("LineDatabase/Password", Text(l.password)).toString().toStdString();
    l.options = file.value("LineDatabase/Options", Text(l.options)).toString().toStdString();
    return s;
}

void SaveResultsSettings(QSettings& file, const ResultsSettings& s)
{
    file.setValue("ResultsLog/Enabled", s.logOn);
    file.setValue("ResultsLog/Database", Text(s.databasePath));
    file.setValue("LineDatabase/Enabled", s.line.enabled);
    file.setValue("LineDatabase/Host", Text(s.line.host));
    file.setValue("LineDatabase/Port", s.line.port);
    file.setValue("LineDatabase/Database", Text(s.line.database));
    file.setValue("LineDatabase/User", Text(s.line.user));
    file.setValue("LineDatabase/Password", Text(s.line.password));
    file.setValue("LineDatabase/Options", Text(s.line.options));
}

}  // namespace qlx
