#include "support/unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>

namespace qlxtest {

namespace {

constexpr uid_t kNobody = 65534;

bool WriteWhole(int fd, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::string> RunAsOrdinaryUser(const std::function<std::string()>& body)
{
    int p[2];
    if (::pipe(p) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(p[0]);
        ::close(p[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(p[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(99);
        ::_exit(WriteWhole(p[1], body()) ? 0 : 98);
    }
    ::close(p[1]);
    std::string out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(p[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(p[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return out;
}

}  // namespace qlxtest
