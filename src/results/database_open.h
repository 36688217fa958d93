#pragma once

#include <QSqlDatabase>
#include <QString>

#include <string>

#include "results/results_settings.h"

namespace qlx {

constexpr int kStoreBusyTimeoutMs = 200;  // a writer holds the file for milliseconds only

struct ResultsFileOptions {
    int busyTimeoutMs = kStoreBusyTimeoutMs;
    // FULL: every commit reaches the disk before the write returns; NORMAL
    // may lose the last commits at a power cut (never the file's integrity).
    bool fullSync = true;
};

// Opens `db` (a QSQLITE connection) on the results file: the folder is made,
// the journal is the write-ahead log (readers never wait for the writer),
// waits for a locked file up to the busy time-out, and the tables are made
// when missing. Returns "" or the reason it failed.
std::string OpenResultsFile(QSqlDatabase db, const std::string& path, const ResultsFileOptions& options = {});

// libpq's connection options for the line database: time limits on the
// connection, keep-alive probes and a limit on unacknowledged data, so that
// a server or network that went away fails the connection within a minute
// instead of holding the forwarder; then the user's own options, which
// override them (libpq takes the last value of a keyword).
QString LineConnectOptions(const LineDatabaseSettings& line);

// Opens `db` (a QPSQL connection) on the line database with
// LineConnectOptions and makes its tables when missing. Returns "" or the
// reason.
std::string OpenLineDatabase(QSqlDatabase db, const LineDatabaseSettings& line);

}  // namespace qlx
