#pragma once

#include <QSqlDatabase>

#include <string>

namespace qlx {

enum class SqlDialect { Sqlite, Postgres };

// Version of the tables this program writes; a row of schema_version per
// version applied.
constexpr int kResultsSchemaVersion = 1;

// Columns of a record in stored order (all but the local id), as a list for
// INSERT and SELECT.
const std::string& RecordColumnList();
constexpr int kRecordColumnCount = 27;

// Creates the tables, indexes and append-only triggers when the database has
// none yet. Fails (reason returned, "" on success) on a database of a newer
// schema version than this program's.
std::string EnsureResultsSchema(QSqlDatabase db, SqlDialect dialect);

// The SQL text of the schema, for the documentation and the tests.
std::string ResultsSchemaSql(SqlDialect dialect);

}  // namespace qlx
