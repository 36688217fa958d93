#pragma once

#include <QSqlDatabase>

#include <string>

#include "model/file_io.h"
#include "results/result_filter.h"

namespace qlx {

enum class CsvEncoding { ShiftJis, Utf8 };

// Writes the records the filter selects, newest first as the table shows
// them, as CSV: a heading line, then one line per record with its fields and
// the 120 points in ohm; lines end in CR LF. Shift-JIS like the program's
// other CSV files (a character Shift-JIS lacks becomes "?"), or UTF-8 with a
// byte-order mark, which spreadsheet programs need to read it as UTF-8.
// The file is replaced only when written completely.
IoResult ExportResultsCsv(QSqlDatabase db, const ResultFilter& filter, const std::string& path, CsvEncoding encoding);

// A point line (0.1 ohm) as ohm in the shortest form ("1234" 123.4, "980"
// 98, "5" 0.5, "-12" -1.2); a line that is no number stays as it is.
std::string PointOhmText(const std::string& point);

}  // namespace qlx
