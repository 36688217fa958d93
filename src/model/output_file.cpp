#include "model/output_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace qlx {

OutputFile::~OutputFile() { (void)Close(); }

IoResult OutputFile::Create(const std::string& path)
{
    (void)Close();
    path_ = path;
    if (path.find('\0') != std::string::npos)
        return IoFailure(IoAction::Write, path, EINVAL);
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        return IoFailure(IoAction::Write, path, errno);
    return {};
}

IoResult OutputFile::Append(std::string_view bytes)
{
    if (fd_ < 0)
        return IoFailure(IoAction::Write, path_, EBADF);
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return IoFailure(IoAction::Write, path_, errno);
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return {};
}

IoResult OutputFile::Close()
{
    if (fd_ < 0)
        return {};
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0 && errno != EINTR)
        return IoFailure(IoAction::Write, path_, errno);
    return {};
}

}  // namespace qlx
