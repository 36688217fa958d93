#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace qlxtest {

// Guards a wait that might never end, so that a test fails instead of
// hanging: unless Done() comes within `patience`, `release` runs (in a
// thread of the guard's own) to end the wait, and released() says so.
class HangGuard {
public:
    HangGuard(std::chrono::milliseconds patience, std::function<void()> release)
        : thread_([this, patience, release = std::move(release)] {
              std::unique_lock lock(mutex_);
              if (done_.wait_for(lock, patience, [this] { return finished_; }))
                  return;
              released_ = true;
              lock.unlock();
              release();
          })
    {}
    ~HangGuard()
    {
        Done();
        thread_.join();
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

    // The guarded wait has ended.
    void Done()
    {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
    }
    bool released() const
    {
        std::lock_guard lock(mutex_);
        return released_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    bool released_ = false;
    std::thread thread_;  // last: starts when the rest is made
};

}  // namespace qlxtest
