#pragma once

#include <cstddef>
#include <string>

namespace qlxtest {

// A small file system of the test's own mounted on an existing folder: a
// tmpfs of `bytes` in a mount namespace private to the calling thread, so
// that nothing outside the test sees it. Root ignores file permissions; this
// gives a destination that really runs full or really is read-only. Where no
// namespace can be made (no privilege), mounted() is false and reason() says
// why.
class ScratchVolume {
public:
    ScratchVolume(const std::string& folder, std::size_t bytes);
    ~ScratchVolume();
    ScratchVolume(const ScratchVolume&) = delete;
    ScratchVolume& operator=(const ScratchVolume&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }
    // Remounts the volume read-only; false with reason() on failure. The
    // system refuses (busy) while a file on it is open for writing.
    bool MakeReadOnly();
    // Puts a read-only view of the volume over it, as a destination that
    // turns read-only under a running program: files opened before keep
    // their writes, whatever is opened, created or renamed afterwards meets
    // a read-only file system. False with reason() on failure.
    bool CoverReadOnly();

private:
    std::string folder_;
    std::size_t bytes_;
    bool mounted_ = false;
    int covers_ = 0;
    std::string reason_;
};

}  // namespace qlxtest
