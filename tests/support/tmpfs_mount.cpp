#include "support/tmpfs_mount.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace qlxtest {

TmpfsMount::TmpfsMount(std::size_t bytes) : options_("size=" + std::to_string(bytes) + ",mode=0755")
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qlxtmpfs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        whyNot_ = std::string("mkdtemp: ") + std::strerror(errno);
        return;
    }
    path_ = pattern;
    if (mount("tmpfs", path_.c_str(), "tmpfs", 0, options_.c_str()) != 0) {
        whyNot_ = "cannot mount a tmpfs on " + path_ + ": " + std::strerror(errno) + " (needs root)";
        rmdir(path_.c_str());
        return;
    }
    mounted_ = true;
}

TmpfsMount::~TmpfsMount()
{
    if (mounted_)
        umount2(path_.c_str(), MNT_DETACH);
    if (!path_.empty())
        rmdir(path_.c_str());
}

bool TmpfsMount::SetReadOnly(bool readOnly)
{
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return mount("tmpfs", path_.c_str(), "tmpfs", flags, options_.c_str()) == 0;
}

std::size_t FillUp(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return 0;
    std::size_t total = 0;
    const std::vector<char> block(4096, 'x');
    // Whole blocks first, then single bytes into the last partial page.
    for (std::size_t size : {block.size(), std::size_t{1}}) {
        for (;;) {
            const ssize_t n = write(fd, block.data(), size);
            if (n <= 0)
                break;
            total += static_cast<std::size_t>(n);
        }
    }
    close(fd);
    return total;
}

}  // namespace qlxtest
