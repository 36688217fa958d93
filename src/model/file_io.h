#pragma once

#include <string>

namespace qlx {

// Result of a file operation; `error` is a UTF-8 text for the user that names
// the file and the reason given by the system.
struct IoResult {
    bool ok = true;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Reads the whole file into `bytes`. On failure `bytes` is left unchanged.
IoResult ReadFileBytes(const std::string& path, std::string& bytes);

// Writes `bytes` to path through a temporary file in the same folder that
// replaces the target only when complete, so a full disk or a broken write
// never leaves a half-written file where the old one was.
IoResult WriteFileBytes(const std::string& path, const std::string& bytes);

// A path with a NUL byte names nothing (the system would read it cut short).
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);

// Folder of a path including its trailing separator ("" when there is none);
// both "/" and "\" count as separators.
std::string FolderOf(const std::string& path);
// File name without its folder (both separators count).
std::string FileNameOf(const std::string& path);
// File name without folder and without its last extension.
std::string DisplayName(const std::string& path);
// Extension of the file name including the dot ("" when there is none).
std::string ExtensionOf(const std::string& path);

}  // namespace qlx
