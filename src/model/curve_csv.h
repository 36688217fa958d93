#pragma once

#include <optional>
#include <string>

#include "model/curve_lines.h"
#include "model/curve_state.h"

namespace qlx {

// A point (0.1 ohm) in ohm as the CSV writes it: the text read as a decimal
// number, divided by 10, held with four decimals (halves away from zero) and
// written with as many decimals as it needs ("5" -> "0.5", "1230" -> "123",
// "-12" -> "-1.2"). No value when the text is no decimal number.
std::optional<std::string> PointInOhm(const std::string& point);

// The measured curve's table: 120 rows of frequency and four channel fields,
// each row ended by CR LF. A field is empty outside its channel's valid range
// (minFreq..maxFreq), for an empty point and for a channel the terminal does
// not use. Building stops at the first point that is no number: `bytes` then
// holds the complete rows before it and `badPoint` that point's text.
struct CurveCsv {
    std::string bytes;
    std::optional<std::string> badPoint;
};
CurveCsv CurveCsvBytes(const CurveLines& lines, const ChannelInts& minFreq, const ChannelInts& maxFreq);

enum class CsvExportStatus { Written, NotANumber, FileError };

// `error` is a UTF-8 text for the user: the file layer's message, or the
// conversion error naming the point's text.
struct CsvExportResult {
    CsvExportStatus status = CsvExportStatus::Written;
    std::string error;
    explicit operator bool() const { return status == CsvExportStatus::Written; }
};

// The conversion error shown for a point that is no number (Shift-JIS text).
std::string NotANumberMessage(const std::string& sjisText);

// Writes the table to path. On a point that is no number the rows before it
// are still written and the result says NotANumber; a failure of the file
// layer wins over that.
CsvExportResult WriteCurveCsv(const std::string& path, const CurveLines& lines, const ChannelInts& minFreq,
                              const ChannelInts& maxFreq);

}  // namespace qlx
