#include "model/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace qlx {

namespace {

// The first line of the file layer's message.
const char* ActionText(IoAction action)
{
    switch (action) {
    case IoAction::Read: break;
    case IoAction::Write: return "ファイルを書き込めません。";
    case IoAction::CreateFolder: return "フォルダーを作成できません。";
    case IoAction::Rename: return "ファイルの名前を変更できません。";
    }
    return "ファイルを読み込めません。";
}

// A folder keeps the system's own reason; anything else that is no regular
// file gets one of ours (the system has none).
IoResult NotRegular(IoAction action, const std::string& path, mode_t mode)
{
    if (S_ISDIR(mode))
        return IoFailure(action, path, EISDIR);
    return IoResult{false, std::string(ActionText(action)) + "\n" + path + "\n通常のファイルではありません。"};
}

// Bytes fetched from a file with one read.
constexpr std::size_t kPieceBytes = 64 * 1024;

size_t NameStart(const std::string& path)
{
    size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? 0 : sep + 1;
}

bool WriteAllTo(int fd, const std::string& bytes)
{
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

IoResult WriteInPlace(const std::string& target, const std::string& path, const std::string& bytes)
{
    int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return IoFailure(IoAction::Write, path, errno);
    bool ok = WriteAllTo(fd, bytes) && ::fsync(fd) == 0;
    const int err = errno;
    ok = (::close(fd) == 0) && ok;
    return ok ? IoResult{} : IoFailure(IoAction::Write, path, err ? err : EIO);
}

}  // namespace

IoResult IoFailure(IoAction action, const std::string& path, int err)
{
    return IoResult{false, std::string(ActionText(action)) + "\n" + path + "\n" + std::strerror(err)};
}

IoResult ReadFailure(const std::string& path, int err) { return IoFailure(IoAction::Read, path, err); }

FileSource::FileSource(const std::string& path, std::size_t budget)
    : path_(path), left_(budget), pieceSize_(std::min(kPieceBytes, budget + 1))
{
    // A device or a pipe is never opened: opening one can block, change the
    // line (a serial port raises DTR) or yield bytes without end.
    struct stat st {};
    if (path.find('\0') != std::string::npos) {
        result_ = IoFailure(IoAction::Read, path, ENOENT);  // the system would read the name cut short
        return;
    }
    if (::stat(path.c_str(), &st) != 0) {
        result_ = IoFailure(IoAction::Read, path, errno);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        result_ = NotRegular(IoAction::Read, path, st.st_mode);
        return;
    }
    piece_ = std::make_unique<char[]>(pieceSize_);
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        result_ = IoFailure(IoAction::Read, path, errno);
        return;
    }
    // The name may have been replaced between the look and the open.
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        result_ = NotRegular(IoAction::Read, path, st.st_mode);
        Close();
    }
}

FileSource::~FileSource() { Close(); }

void FileSource::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool FileSource::Refill()
{
    if (fd_ < 0)
        return false;
    // One byte past the budget tells a file that holds more from one that
    // ends right there.
    const std::size_t want = left_ > 0 ? std::min(pieceSize_, left_) : 1;
    ssize_t n;
    do {
        n = ::read(fd_, piece_.get(), want);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        result_ = IoFailure(IoAction::Read, path_, errno);
    if (n > 0 && left_ == 0)
        cutShort_ = true;
    if (n <= 0 || left_ == 0) {
        Close();
        return false;
    }
    data_ = piece_.get();
    pos_ = 0;
    end_ = static_cast<std::size_t>(n);
    left_ -= end_;
    return true;
}

IoResult WriteFileBytes(const std::string& path, const std::string& bytes)
{
    // A symbolic link is written through, so the link itself survives.
    std::string target = path;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    mode_t mode = 0666 & ~[] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        st.st_mode = 0;
    } else {
        // A device or a pipe is neither opened (that can block, or change a
        // line) nor replaced by a file of ours: the rename below would put a
        // regular file where /dev/full or a serial port's node was.
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return NotRegular(IoAction::Write, path, st.st_mode);
        if (::access(target.c_str(), W_OK) != 0)
            return IoFailure(IoAction::Write, path, errno);
        mode = st.st_mode & 07777;
    }

    std::string temp = FolderOf(target) + "." + target.substr(NameStart(target)) + ".XXXXXX";
    if (FolderOf(target).empty())
        temp = "./" + temp;
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        // A writable file in a folder we may not create files in can still
        // be rewritten in place, without the protection of the replace.
        if ((errno == EACCES || errno == EPERM) && S_ISREG(st.st_mode))
            return WriteInPlace(target, path, bytes);
        return IoFailure(IoAction::Write, path, errno);
    }
    bool ok = WriteAllTo(fd, bytes) && ::fsync(fd) == 0;
    int err = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::chmod(temp.c_str(), mode) == 0 && ::rename(temp.c_str(), target.c_str()) == 0)
        return {};
    if (ok)
        err = errno;
    ::unlink(temp.c_str());
    return IoFailure(IoAction::Write, path, err ? err : EIO);
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0 &&
           S_ISREG(st.st_mode);
}

bool DirExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode);
}

bool EntryExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && path.find('\0') == std::string::npos && ::lstat(path.c_str(), &st) == 0;
}

IoResult MakeFolder(const std::string& path)
{
    if (path.find('\0') != std::string::npos)
        return IoFailure(IoAction::CreateFolder, path, EINVAL);
    if (::mkdir(path.c_str(), 0777) != 0)
        return IoFailure(IoAction::CreateFolder, path, errno);
    return {};
}

IoResult RenameFile(const std::string& from, const std::string& to)
{
    const std::string both = from + " → " + to;
    if (from.find('\0') != std::string::npos || to.find('\0') != std::string::npos)
        return IoFailure(IoAction::Rename, both, EINVAL);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return IoFailure(IoAction::Rename, both, errno);
    // A file system without the no-replace rename: look first, then rename.
    if (EntryExists(to))
        return IoFailure(IoAction::Rename, both, EEXIST);
    if (::rename(from.c_str(), to.c_str()) != 0)
        return IoFailure(IoAction::Rename, both, errno);
    return {};
}

bool RemoveTree(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    return !EntryExists(path);
}

std::string FolderOf(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string FileNameOf(const std::string& path) { return path.substr(NameStart(path)); }

std::string DisplayName(const std::string& path)
{
    std::string name = path.substr(NameStart(path));
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ExtensionOf(const std::string& path)
{
    std::string name = path.substr(NameStart(path));
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace qlx
