#pragma once

#include <cstddef>
#include <string>

namespace qlxtest {

// A small tmpfs of its own on a new temporary folder, for tests of a full or
// read-only file system. Needs the right to mount (root in the test
// container); otherwise mounted() is false and whyNot() says why.
class TmpfsMount {
public:
    explicit TmpfsMount(std::size_t bytes);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // Remounts read-only or writable again; fails while a file is open for
    // writing on it (the system refuses with EBUSY).
    bool SetReadOnly(bool readOnly);

private:
    std::string path_;
    std::string options_;
    bool mounted_ = false;
    std::string whyNot_;
};

// Writes a file at `path` until the file system is full; returns the bytes
// written.
std::size_t FillUp(const std::string& path);

}  // namespace qlxtest
