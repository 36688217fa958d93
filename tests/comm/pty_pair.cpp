#include "pty_pair.h"

#include "raw_pty.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include <poll.h>
#include <unistd.h>

namespace qlxtest {

PtyPair::PtyPair() { slavePath_ = qlxsim::OpenRawPty(master_, slave_); }

PtyPair::~PtyPair()
{
    CloseMaster();
    if (slave_ >= 0)
        ::close(slave_);
}

void PtyPair::CloseMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

void PtyPair::Send(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n <= 0)
            throw std::runtime_error("pty write");
        sent += static_cast<std::size_t>(n);
    }
}

std::string PtyPair::Receive(std::size_t count, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string out;
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            break;
        char buf[512];
        const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - out.size()));
        if (n <= 0)
            break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

}  // namespace qlxtest
