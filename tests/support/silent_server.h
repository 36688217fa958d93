#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace qlxtest {

// A TCP port on the loopback that takes connections and never answers: a
// database server that stopped responding. A client's connect succeeds and
// what it sends is acknowledged, so neither keep-alive probes nor a limit on
// unacknowledged data end its wait; only its own time limits do, or Close().
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    bool listening() const { return listener_ >= 0; }
    const std::string& whyNot() const { return whyNot_; }
    int port() const { return port_; }

    // Waits up to `timeout` for a client and holds its connection open;
    // false when none came.
    bool WaitForClient(std::chrono::milliseconds timeout);
    // Resets every connection and stops listening: a waiting client fails at
    // once. Safe from another thread.
    void Close();

private:
    std::mutex mutex_;
    int listener_ = -1;
    int port_ = 0;
    std::vector<int> clients_;
    std::string whyNot_;
};

}  // namespace qlxtest
