#include "support/bad_destinations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "support/temp_dir.h"

namespace qlxtest {

const BadPlace kBadPlaces[6] = {BadPlace::ReadOnlyVolume, BadPlace::ReadOnlyFolder, BadPlace::FullVolume,
                                BadPlace::FullDevice,     BadPlace::Pipe,           BadPlace::MissingFolder};

namespace {

constexpr const char* kNotRegular = "通常のファイルではありません。";

// Writes a filler file until the volume has no room left.
void Fill(const std::string& folder)
{
    const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const std::string chunk(4096, 'F');
    while (::write(fd, chunk.data(), chunk.size()) > 0) {
    }
    ::close(fd);
}

}  // namespace

const char* BadPlaceName(BadPlace place)
{
    switch (place) {
    case BadPlace::ReadOnlyVolume: return "read-only file system";
    case BadPlace::ReadOnlyFolder: return "folder without write permission";
    case BadPlace::FullVolume: return "full file system";
    case BadPlace::FullDevice: return "full device";
    case BadPlace::Pipe: return "named pipe";
    case BadPlace::MissingFolder: return "missing folder";
    }
    return "";
}

BadDestinations::BadDestinations(std::string root) : root_(std::move(root)) { ::chmod(root_.c_str(), 0755); }

std::optional<BadDestination> BadDestinations::Make(BadPlace place, const std::string& fileName, std::string& why)
{
    std::string folder = root_ + "/place-XXXXXX";
    if (!::mkdtemp(folder.data()) || ::chmod(folder.c_str(), 0755) != 0) {
        why = std::string("mkdtemp: ") + std::strerror(errno);
        return std::nullopt;
    }
    BadDestination d;
    d.path = folder + "/" + fileName;
    const std::string old = "the file as it was before\n";
    switch (place) {
    case BadPlace::ReadOnlyVolume:
    case BadPlace::FullVolume: {
        const bool full = place == BadPlace::FullVolume;
        auto& volume = volumes_.emplace_back(std::make_unique<ScratchVolume>(folder, full ? 64 * 1024 : 1 << 20));
        if (!volume->mounted()) {
            why = volume->reason();
            return std::nullopt;
        }
        WriteAll(d.path, old);
        d.oldBytes = old;
        if (full) {
            Fill(folder);
            d.reason = std::strerror(ENOSPC);
        } else {
            if (!volume->MakeReadOnly()) {
                why = volume->reason();
                return std::nullopt;
            }
            d.reason = std::strerror(EROFS);
        }
        break;
    }
    case BadPlace::ReadOnlyFolder:
        ::chmod(folder.c_str(), 0555);
        d.reason = std::strerror(EACCES);
        d.asOrdinaryUser = true;
        break;
    case BadPlace::FullDevice:
        if (::mknod(d.path.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
            why = std::string("mknod: ") + std::strerror(errno);
            return std::nullopt;
        }
        d.reason = kNotRegular;
        break;
    case BadPlace::Pipe:
        if (::mkfifo(d.path.c_str(), 0666) != 0) {
            why = std::string("mkfifo: ") + std::strerror(errno);
            return std::nullopt;
        }
        d.reason = kNotRegular;
        break;
    case BadPlace::MissingFolder:
        d.path = folder + "/missing/" + fileName;
        d.reason = std::strerror(ENOENT);
        break;
    }
    return d;
}

}  // namespace qlxtest
