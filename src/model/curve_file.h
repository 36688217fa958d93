#pragma once

#include <string>
#include <vector>

#include "model/byte_source.h"
#include "model/curve_lines.h"
#include "model/file_io.h"

namespace qlx {

constexpr int kMaxFileLines = 512;

// Splits curve-file bytes into its non-blank lines: bytes up to 0x20 are
// skipped before each line, a line ends at LF (a CR inside it is dropped),
// Ctrl-Z ends the file, and at most maxLines lines are taken. A line keeps at
// most kMaxLineBytes bytes; the rest of a longer one is passed over.
std::vector<std::string> SplitCurveFileLines(ByteSource& in, int maxLines = kMaxFileLines);
std::vector<std::string> SplitCurveFileLines(const std::string& bytes, int maxLines = kMaxFileLines);

// Stores file lines into a curve: line i < 492 into slot i, line 492 into the
// memo and lines 493..511 appended to the memo with CR LF. The memo is cleared
// first; slots beyond the last line keep what they held.
void StoreCurveFileLines(const std::vector<std::string>& lines, CurveLines& curve);

// The file image of a curve: slots 0..492 each followed by LF.
std::string CurveFileBytes(const CurveLines& curve);

// Reads the lines of a curve file (as SplitCurveFileLines), no more of the
// file than 512 lines can use, so that its size costs neither time nor
// memory. Something that is no regular file is refused, and a failed
// allocation is a failure, not the end of the program. On failure `lines`
// is left as it was.
IoResult ReadCurveFileLines(const std::string& path, std::vector<std::string>& lines);

// Reads a curve file into `curve`. When the file cannot be read the curve is
// left exactly as it was.
IoResult ReadCurveFile(const std::string& path, CurveLines& curve);
IoResult WriteCurveFile(const std::string& path, const CurveLines& curve);

}  // namespace qlx
