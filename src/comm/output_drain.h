#pragma once

#include <chrono>
#include <functional>

namespace qlx {

// Bytes the device behind fd still has to put on the line: its driver queue,
// and 1 while the transmitter is still shifting out the last byte. Negative
// when the device cannot tell (a pseudo-terminal holds no output at all).
int QueuedOutput(int fd);

// Waits until `queued` reports nothing left (or that it cannot tell) or the
// deadline passes; true when everything was sent in time.
bool WaitOutputSent(const std::function<int()>& queued, std::chrono::steady_clock::time_point deadline);

}  // namespace qlx
