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
    // Remounts the volume read-only; false with reason() on failure.
    bool MakeReadOnly();

private:
    std::string folder_;
    std::size_t bytes_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace qlxtest
