#pragma once

#include <functional>
#include <string>

namespace qlx {

// A calendar date as the run folder's name uses it.
struct RunDate {
    int year = 2000;
    int month = 1;
    int day = 1;
};

// The date part of a run folder's name: the date in the given short date
// format (Qt's format letters, as QLocale::dateFormat(QLocale::ShortFormat)
// gives them) with every "/" and "." removed; "yyyy/MM/dd" gives 20241208.
// A format whose fields are not a four-digit year, a two-digit month and a
// two-digit day in that order ("M/d/yy", "dd.MM.yy", "d MMM yyyy") would let
// two dates share a name or folders sort out of date order; it gives
// yyyyMMdd instead.
std::string RunFolderDate(const RunDate& date, const std::string& shortDateFormat);

// The first of stem + extension, stem + "_1" + extension, stem + "_2" +
// extension, ... that `taken` does not report.
std::string FirstFreeName(const std::string& stem, const std::string& extension,
                          const std::function<bool(const std::string& name)>& taken);

// Text of Shift-JIS bytes for a file name (UTF-8): decoded as code page 932
// (a byte without a character becomes U+FFFD), then every "\", "/", ":",
// "*", "?", "<", ">", "|" and every control character (NUL included) "_".
// Decoded before replacing, so a double-byte character whose second byte is
// 0x5C or 0x7C ("ソ", "表") stays whole.
std::string FileNameText(const std::string& sjisBytes);

// "Ref_No" + number + "_" + the name + ".q5imp", the name being the curve's
// 12 name characters (fewer when the instrument sent fewer) without the
// blanks at their end.
std::string RefCurveFileName(int number, const std::string& nameBytes);

// The name of a downloaded measured curve from its StampLine ("[" YYMMDDhhmmss
// "]") and NameLine: the name without trailing blanks + "_20" + YY + "_" + MMDD
// + "_" + hhmm + "_" + ss + ".q5imp" ("Woofer A_2024_1208_1530_12.q5imp").
// Characters a short line lacks are left out. The name and each part of the
// stamp are decoded on their own, so a cut double-byte character cannot
// swallow the "_" after it; a leading "." becomes "_" so that the file is
// never hidden.
std::string ImpCurveFileName(const std::string& stampLine, const std::string& nameLine);

}  // namespace qlx
