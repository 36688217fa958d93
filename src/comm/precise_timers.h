#pragma once

namespace qlx {

// While an instrument operation runs, the thread's sleeps and read time
// limits end when they are due. The kernel lets a sleep end up to the
// thread's timer slack late (50 µs by default, more on a busy machine),
// and an operation sleeps before every command and waits for every byte:
// on a 64-slot run that lateness alone is a visible part of its time. The
// number of wake-ups stays the same; only their lateness goes. The
// thread's own slack comes back when the guard ends.
class PreciseTimers {
public:
    PreciseTimers();
    ~PreciseTimers();
    PreciseTimers(const PreciseTimers&) = delete;
    PreciseTimers& operator=(const PreciseTimers&) = delete;

private:
    long saved_;
};

// The calling thread's timer slack, in ns.
long ThreadTimerSlackNs();

}  // namespace qlx
