#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "results/result_record.h"

namespace qlx {

// INSERT of one record; a record whose uuid is there already is left as it
// is (the same statement serves the station's file and the line database).
QString InsertRecordSql();
// Binds the record's fields in the order of RecordColumnList().
void BindRecord(QSqlQuery& query, const ResultRecord& record);
// The record in the current row of a query that selected RecordColumnList()
// starting at column `first`.
ResultRecord RecordFromRow(const QSqlQuery& query, int first = 0);

// The 120 point lines joined by LF, as stored; none without points.
QByteArray PointsBlob(const std::vector<std::string>& points);
std::vector<std::string> PointsFromBlob(const QByteArray& blob);

// The records of a run, in the order they were written; none on failure.
std::optional<std::vector<ResultRecord>> RecordsOfRun(QSqlDatabase db, const std::string& runUuid,
                                                      std::string* error = nullptr);
// The record with that uuid; none when there is none or on failure.
std::optional<ResultRecord> RecordByUuid(QSqlDatabase db, const std::string& uuid, std::string* error = nullptr);

}  // namespace qlx
