#include "comm/output_drain.h"

#include <thread>

#include <sys/ioctl.h>

namespace qlx {

int QueuedOutput(int fd)
{
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0)
        return -1;
    if (queued > 0)
        return queued;
    // The driver queue is empty; a UART may still be sending its last byte.
    unsigned lineStatus = 0;
    if (::ioctl(fd, TIOCSERGETLSR, &lineStatus) == 0 && !(lineStatus & TIOCSER_TEMT))
        return 1;
    return queued;
}

bool WaitOutputSent(const std::function<int()>& queued, std::chrono::steady_clock::time_point deadline)
{
    // A byte takes 0.3 ms at 38400 bit/s: looking every millisecond costs
    // little and adds at most that to a write.
    constexpr auto kLook = std::chrono::milliseconds(1);
    for (;;) {
        if (queued() <= 0)
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kLook, deadline - now));
    }
}

}  // namespace qlx
