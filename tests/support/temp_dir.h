#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace qlxtest {

// A fresh folder under the system temp directory, removed with its content
// when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);
// The names in a folder; none when it cannot be read.
std::set<std::string> EntriesOf(const std::string& folder);

}  // namespace qlxtest
