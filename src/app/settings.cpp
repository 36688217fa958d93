#include "app/settings.h"

#include <array>
#include <functional>

#include "model/file_io.h"

namespace qlx {

namespace {

std::array<std::string*, 8> Fields(Settings& s)
{
    return {&s.ComPortName, &s.RefDownloadDir, &s.ImpDownloadDir, &s.ImpCurveDir,
            &s.RefCurveDir, &s.RefListDir,     &s.BmpDir,         &s.CsvDir};
}

}  // namespace

std::string SettingsPathIn(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/')
        return folder + "Default.dat";
    return folder + "/Default.dat";
}

bool LoadSettings(const std::string& path, Settings& s)
{
    std::string bytes;
    if (!FileExists(path) || !ReadFileBytes(path, bytes))
        return false;
    size_t pos = 0;
    for (std::string* field : Fields(s)) {
        std::string line;
        if (pos < bytes.size()) {
            size_t end = bytes.find('\n', pos);
            if (end == std::string::npos)
                end = bytes.size();
            line = bytes.substr(pos, end - pos);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            pos = end + 1;
        }
        *field = line;
    }
    return true;
}

bool SaveSettingsIfPresent(const std::string& path, const Settings& s)
{
    if (!FileExists(path))
        return false;
    Settings copy = s;
    std::string bytes;
    for (std::string* field : Fields(copy))
        bytes += *field + "\r\n";
    return WriteFileBytes(path, bytes).ok;
}

}  // namespace qlx
