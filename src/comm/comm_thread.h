#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace qlx {

class Trs232c;

// Event thread of Trs232c. It owns the device's input while it runs: it waits
// in poll() on the device and on a wake pipe (no busy waiting), moves received
// bytes into the component's queue, and posts the line events the component
// asked for to the owner's thread. Modem-line and error counters are looked at
// every 20 ms through TIOCGICOUNT when such events are wanted and the device
// has them (a pseudo-terminal has not: those events are then never raised);
// the output queue is looked at the same way only while a write is draining.
class tcommthread {
public:
    tcommthread(Trs232c& component, int fd);
    ~tcommthread();  // requests the stop and joins
    tcommthread(const tcommthread&) = delete;
    tcommthread& operator=(const tcommthread&) = delete;

    void Start();
    // Tells the thread that output was written (for the output-empty event).
    void NoteWrite();
    unsigned lastEvents() const { return lastEvents_.load(); }

private:
    void Run();
    unsigned Wait();
    unsigned ReadInput();
    unsigned CheckCounters();
    void Dispatch(unsigned events);
    void Wake();

    static constexpr int kCounters = 6;

    Trs232c& component_;
    int fd_;
    // Taken from the component at the start: the owner may change its
    // properties while the thread runs.
    unsigned mask_;
    bool packetWanted_;
    bool rxcharWanted_;
    int packetsize_;
    std::size_t queueLimit_;
    unsigned char evtChar_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> txPending_{false};
    std::atomic<unsigned> lastEvents_{0};
    bool inputGone_ = false;
    bool countersUsable_ = true;
    bool countersKnown_ = false;
    int counters_[kCounters] = {};
    std::thread thread_;
};

}  // namespace qlx
