#include "support/memory_limit.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qlxtest {

namespace {

// Size of the address space now, from /proc/self/statm (in pages).
std::size_t AddressSpaceBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

bool MemoryLimitUsable()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

int RunWithMemoryLimit(std::size_t headroomBytes, const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const rlimit limit{AddressSpaceBytes() + headroomBytes, AddressSpaceBytes() + headroomBytes};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(100);
        // An exception must never reach the test runner's code in the child:
        // it ends the child as it would end the program.
        try {
            ::_exit(body());
        } catch (...) {
            std::abort();
        }
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("waitpid failed");
    }
    return status;
}

}  // namespace qlxtest
