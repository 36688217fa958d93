#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "results/result_forwarder.h"
#include "results/result_store.h"
#include "results/results_settings.h"

namespace qlx {

// Which Qt SQL drivers the results log can use here.
struct SqlDriverCheck {
    bool sqlite = false;    // QSQLITE, package libqt6sql6-sqlite
    bool postgres = false;  // QPSQL, package libqt6sql6-psql
};
SqlDriverCheck CheckSqlDrivers();

// The start-up check: the message to show when a driver the settings need is
// missing (the log then stays off, or forwarding does); none when all is there.
std::optional<std::string> MissingDriverText(const ResultsSettings& settings, const SqlDriverCheck& drivers);

// The message when the log is switched off (or its driver is missing under
// new settings) while `count` records could not be written to `file`: they
// are dropped, and the user is told how many and why.
std::string DiscardedRecordsText(std::size_t count, const std::string& file, const std::string& reason);

// The results log of a session as the settings make it: the station's file
// and, with a line database, the forwarder. Nothing at all when the log is
// off or its driver is missing.
class ResultsLog {
public:
    explicit ResultsLog(const ResultsSettings& settings, const SqlDriverCheck& drivers = CheckSqlDrivers(),
                        ForwarderOptions forwarding = {});

    bool on() const { return store_ != nullptr; }
    // After each remote measurement, with the records of the run: the
    // session's first write failure to show, if this is it.
    std::optional<StoreFailure> Record(const std::vector<ResultRecord>& records);

    ResultStore* store() { return store_.get(); }
    ResultForwarder* forwarder() { return forwarder_.get(); }

private:
    std::unique_ptr<ResultStore> store_;
    std::unique_ptr<ResultForwarder> forwarder_;
};

}  // namespace qlx
