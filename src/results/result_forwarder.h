#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "results/results_settings.h"

namespace qlx {

struct ForwarderOptions {
    int batchRecords = 200;
    std::chrono::milliseconds retryInterval{5000};  // after a failed connection or batch
    std::chrono::milliseconds pollInterval{30000};  // looks for records without a wake-up
};

struct ForwardStatus {
    std::int64_t forwardedUpTo = 0;  // every local record with an id up to this is in the line database
    bool connected = false;
    std::string lastError;  // of the last failed attempt; "" after a success
};

// The key under which the forwarded table tracks a line database.
std::string LineTarget(const LineDatabaseSettings& line);

// Forwards the station's records to the line database in a thread of its own
// with its own connections. Records go in id order, in batches; each batch
// is inserted on the server in one transaction, a record already there left
// as it is, and then noted locally in the forwarded table. An outage only
// delays: the batch is sent again once the server answers, and a batch the
// server took just before the outage is not duplicated.
class ResultForwarder {
public:
    ResultForwarder(std::string localPath, LineDatabaseSettings line, ForwarderOptions options = {});
    ~ResultForwarder();
    ResultForwarder(const ResultForwarder&) = delete;
    ResultForwarder& operator=(const ResultForwarder&) = delete;

    // New records were committed locally.
    void Wake();
    ForwardStatus Status() const;
    // Waits until every record up to `recordId` is forwarded; false when the
    // time ran out first.
    bool WaitForwarded(std::int64_t recordId, std::chrono::milliseconds timeout) const;

private:
    void Run();
    // Sleeps until woken, stopped, or `interval` passed; false when stopped.
    bool Pause(std::chrono::milliseconds interval);
    void Report(bool connected, const std::string& error);

    const std::string localPath_;
    const LineDatabaseSettings line_;
    const std::string target_;
    const ForwarderOptions options_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    mutable std::condition_variable progress_;
    bool stop_ = false;
    bool woken_ = false;
    ForwardStatus status_;
    std::thread thread_;  // last: starts when everything above is made
};

}  // namespace qlx
