#include "support/silent_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qlxtest {

namespace {

// Closes with a reset, not an orderly end: the client's wait fails at once.
void Reset(int socket)
{
    linger reset{1, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(socket);
}

}  // namespace

SilentServer::SilentServer()
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0) {
        whyNot_ = std::string("socket: ") + std::strerror(errno);
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // a free port
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        whyNot_ = std::string("listen on the loopback: ") + std::strerror(errno);
        ::close(listener_);
        listener_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() { Close(); }

bool SilentServer::WaitForClient(std::chrono::milliseconds timeout)
{
    int listener = -1;
    {
        std::lock_guard lock(mutex_);
        listener = listener_;
    }
    if (listener < 0)
        return false;
    pollfd p{listener, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(timeout.count())) != 1)
        return false;
    const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0)
        return false;
    std::lock_guard lock(mutex_);
    clients_.push_back(client);
    return true;
}

void SilentServer::Close()
{
    std::lock_guard lock(mutex_);
    for (int client : clients_)
        Reset(client);
    clients_.clear();
    if (listener_ < 0)
        return;
    // Connections not taken yet are reset as well.
    for (;;) {
        const int pending = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (pending < 0)
            break;
        Reset(pending);
    }
    ::close(listener_);
    listener_ = -1;
}

}  // namespace qlxtest
