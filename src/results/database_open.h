#pragma once

#include <QSqlDatabase>

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

// Opens `db` (a QPSQL connection) on the line database and makes its tables
// when missing. Returns "" or the reason.
std::string OpenLineDatabase(QSqlDatabase db, const LineDatabaseSettings& line);

}  // namespace qlx
