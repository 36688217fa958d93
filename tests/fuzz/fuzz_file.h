#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qlxfuzz {

// The fuzzer's bytes as a regular file the readers open by path: a memory
// file reached through /proc, so that no run touches the disk.
class FuzzFile {
public:
    FuzzFile() : fd_(::memfd_create("qlx-fuzz", MFD_CLOEXEC)), path_("/proc/self/fd/" + std::to_string(fd_)) {}
    ~FuzzFile() { ::close(fd_); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    // Replaces the file's content; the path stays.
    const std::string& Holding(const std::uint8_t* data, std::size_t size)
    {
        if (::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, data, size, 0) < 0)
            std::abort();
        return path_;
    }

private:
    int fd_;
    std::string path_;
};

// Stops the run with a message, as a failed assertion of a fuzz target.
[[noreturn]] inline void Violated(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace qlxfuzz
