#pragma once

#include <string>
#include <string_view>

#include "model/file_io.h"

namespace qlx {

// A file written front to back in pieces as its data arrives, in place: what
// was appended before a failure stays in the file. (WriteFileBytes is for a
// whole file that must replace an old one only when complete.)
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file, or empties the one that is there; a file still open
    // is closed first.
    IoResult Create(const std::string& path);
    IoResult Append(std::string_view bytes);
    // Closes the file; harmless when none is open. A failure of the system's
    // close (a write it could not finish) is reported.
    IoResult Close();

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace qlx
