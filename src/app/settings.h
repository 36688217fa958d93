#pragma once

#include <string>

namespace qlx {

// The eight lines of "Default.dat", in file order. Values are kept exactly as
// read (bytes); folders may or may not end in a path separator.
struct Settings {
    std::string ComPortName = "COM1";
    std::string RefDownloadDir;
    std::string ImpDownloadDir;
    std::string ImpCurveDir;
    std::string RefCurveDir;
    std::string RefListDir;
    std::string BmpDir;
    std::string CsvDir;
};

// "Default.dat" in the given folder (the working directory at start).
std::string SettingsPathIn(const std::string& folder);

// Reads the settings file when it exists: its first eight lines in order, a
// missing line (or one longer than any path) giving an empty setting; no
// more of the file than eight lines can use is read. Returns false (and
// leaves `s` alone) when there is no file or it cannot be read.
bool LoadSettings(const std::string& path, Settings& s);

// Rewrites the settings file with CR LF line ends, but only when it exists:
// the program never creates it. Returns false when nothing was written.
bool SaveSettingsIfPresent(const std::string& path, const Settings& s);

}  // namespace qlx
