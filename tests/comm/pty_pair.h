#pragma once

#include <string>

namespace qlxtest {

// A pseudo-terminal for component tests: the test speaks on the master side,
// the component opens the slave by its path. The fixture keeps one slave
// descriptor of its own (raw mode) so that the master never sees a hang-up
// between the component's opens.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }
    int slave() const { return slave_; }

    void Send(const std::string& bytes);
    // Bytes that arrive on the master within timeoutMs, at most `count`.
    std::string Receive(std::size_t count, int timeoutMs = 5000);
    void CloseMaster();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace qlxtest
