#include "app/settings.h"

#include <array>
#include <functional>
#include <new>

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
    if (!FileExists(path))
        return false;
    try {
        FileSource in(path, ReadBudget(static_cast<int>(Fields(s).size())));
        Settings read = s;
        for (std::string* field : Fields(read)) {
            // A line longer than any path is no setting: it reads as a
            // missing one.
            if (!ReadLine(in, *field))
                field->clear();
        }
        if (!in.result())
            return false;
        s = read;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
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
