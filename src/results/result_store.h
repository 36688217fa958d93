#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "results/database_open.h"
#include "results/result_record.h"
#include "results/sql_connection.h"

class QSqlQuery;

namespace qlx {

// A write to the results file that did not succeed.
struct StoreFailure {
    std::string file;
    std::string reason;
};

// The message box text of a failure (file and reason named).
std::string StoreFailureText(const StoreFailure& failure);

struct AppendResult {
    bool written = false;     // these records and all kept before are in the file
    std::size_t kept = 0;     // records held in memory for the next write
    std::int64_t lastId = 0;  // local id of the last record written (when written)
    std::string reason;       // why this write failed, reported or not ("" when written)
    // The first failure of the session; later ones are not reported again.
    std::optional<StoreFailure> report;
};

// The station's results file, written from the window's thread only. It is
// append-only: records are inserted, never changed. A record that cannot be
// written (disk full, read-only, locked) is kept in memory and written with
// the next one; the session's first failure is reported once.
class ResultStore {
public:
    explicit ResultStore(std::string path, ResultsFileOptions options = {});
    ~ResultStore();
    ResultStore(const ResultStore&) = delete;
    ResultStore& operator=(const ResultStore&) = delete;

    // Writes the records of one run, after any kept from before, in one
    // transaction.
    AppendResult Append(const std::vector<ResultRecord>& records);
    // Writes what is kept (nothing new).
    AppendResult Flush() { return Append({}); }

    // Starts the yield counter afresh from `atMs` (a row of its own, nothing
    // is removed). Returns the failure, if any.
    std::optional<StoreFailure> ResetCounter(std::int64_t atMs, const std::string& station,
                                             const std::string& operatorName);

    const std::string& path() const { return path_; }
    std::size_t kept() const { return kept_.size(); }
    // Hands the records kept for a later write over to whatever replaces
    // this store (new settings), so that none is lost.
    std::vector<ResultRecord> TakeKept() { return std::exchange(kept_, {}); }

    // Called after each successful write (the forwarder's wake-up).
    std::function<void()> onWritten;

private:
    bool EnsureOpen(std::string& reason);
    void Close();
    bool WriteKept(std::string& reason, std::int64_t& lastId);
    AppendResult Failed(const std::string& reason);

    std::string path_;
    ResultsFileOptions options_;
    std::vector<ResultRecord> kept_;
    bool reported_ = false;
    SqlConnection connection_{QStringLiteral("QSQLITE")};
    std::unique_ptr<QSqlQuery> insert_;  // prepared while the file is open
};

}  // namespace qlx
