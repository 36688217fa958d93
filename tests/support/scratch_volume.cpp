#include "support/scratch_volume.h"

#include <sched.h>
#include <sys/mount.h>
#include <cerrno>
#include <cstring>

namespace qlxtest {

namespace {

std::string Failed(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

ScratchVolume::ScratchVolume(const std::string& folder, std::size_t bytes) : folder_(folder), bytes_(bytes)
{
    // CLONE_NEWNS gives this thread a copy of the mounts (and its own file
    // system context); private propagation keeps the new mount out of the
    // machine's namespace.
    if (::unshare(CLONE_NEWNS) != 0) {
        reason_ = Failed("unshare(CLONE_NEWNS)");
        return;
    }
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        reason_ = Failed("private mounts");
        return;
    }
    const std::string options = "size=" + std::to_string(bytes_) + ",mode=0755";
    if (::mount("qlxtest", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        reason_ = Failed("mount tmpfs");
        return;
    }
    mounted_ = true;
}

ScratchVolume::~ScratchVolume()
{
    for (; covers_ > 0; --covers_)
        ::umount2(folder_.c_str(), MNT_DETACH);
    if (mounted_)
        ::umount2(folder_.c_str(), MNT_DETACH);
}

bool ScratchVolume::MakeReadOnly()
{
    const std::string options = "size=" + std::to_string(bytes_);
    if (::mount("qlxtest", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, options.c_str()) !=
        0) {
        reason_ = Failed("remount read-only");
        return false;
    }
    return true;
}

bool ScratchVolume::CoverReadOnly()
{
    // A bind mount of its own has no writers yet, so it can be made
    // read-only while files of the volume below are open for writing.
    if (::mount(folder_.c_str(), folder_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        reason_ = Failed("bind mount");
        return false;
    }
    ++covers_;
    if (::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        reason_ = Failed("read-only bind mount");
        return false;
    }
    return true;
}

}  // namespace qlxtest
