#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "results/results_settings.h"

namespace qlx {

struct ForwarderOptions {
    int batchRecords = 200;
    std::chrono::milliseconds retryInterval{5000};  // after a failed connection or batch
    std::chrono::milliseconds pollInterval{30000};  // looks for records without a wake-up
    // How long the end of the forwarder (and so of the program) waits for a
    // batch under way; a thread still held by the network after this is left
    // to end by itself.
    std::chrono::milliseconds stopWait{2000};
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
//
// Its end waits at most ForwarderOptions::stopWait: a thread blocked in the
// network (a server that stopped answering in the middle of a batch, a host
// name that does not resolve) is left running with the state it shares, and
// ends on its own once the call returns; nothing it holds is lost, since
// every record is in the station's file and forwarding is idempotent.
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

    // Forwarder threads of this process not ended yet, including those left
    // running by an end that did not wait for them.
    static int ThreadsRunning();

private:
    struct Shared;

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace qlx
