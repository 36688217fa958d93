#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace qlx {

// Input queue of the serial component while its event thread owns the
// device's input: the thread appends, the owner's reads take.
class InputQueue {
public:
    using Clock = std::chrono::steady_clock;

    void Clear()
    {
        std::lock_guard lock(mutex_);
        bytes_.clear();
        ended_ = false;
    }

    // No more bytes will come (the line is gone): once the queue is empty a
    // waiting or later Take fails at once instead of at its deadline.
    void End()
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }

    // Appends a byte; false (byte lost) when the queue already holds `limit`.
    bool Push(unsigned char b, std::size_t limit)
    {
        std::lock_guard lock(mutex_);
        if (bytes_.size() >= limit)
            return false;
        bytes_.push_back(b);
        changed_.notify_all();
        return true;
    }

    std::size_t Size()
    {
        std::lock_guard lock(mutex_);
        return bytes_.size();
    }

    // Takes one byte, waiting until `deadline` at most.
    bool Take(unsigned char& out, Clock::time_point deadline)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_until(lock, deadline, [this] { return !bytes_.empty() || ended_; });
        if (bytes_.empty())
            return false;
        out = bytes_.front();
        bytes_.pop_front();
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<unsigned char> bytes_;
    bool ended_ = false;
};

}  // namespace qlx
