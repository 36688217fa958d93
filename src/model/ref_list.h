#pragma once

#include <array>
#include <string>

#include "model/byte_source.h"
#include "model/file_io.h"

namespace qlx {

constexpr int kRefListRows = 64;

// One row of the reference list: reference No. r gets the curve file
// Folder + "/" + FileName + ".q5imp".
struct RefListRow {
    std::string name;      // curve name, Shift-JIS bytes (12 with trailing blanks when from a file)
    std::string fileName;  // file name without folder and extension (file-system bytes)
    std::string folder;    // folder without trailing separator (file-system bytes)
    bool missing = false;  // the curve file was not found when the list was read

    bool operator==(const RefListRow&) const = default;
};

// The 64 rows of a reference list; Rows[0] is reference No. 1.
struct RefList {
    std::array<RefListRow, kRefListRows> Rows{};

    RefListRow& Row(int r) { return Rows[static_cast<size_t>(r - 1)]; }
    const RefListRow& Row(int r) const { return Rows[static_cast<size_t>(r - 1)]; }

    void Clear() { Rows.fill(RefListRow{}); }
    // Moves rows t..63 one down (row 64 is lost) and empties row t; false
    // (nothing changed) when t is not a row number.
    bool InsertRow(int t);
    // Moves rows t+1..64 one up and empties row 64; false when t is not a row.
    bool DeleteRow(int t);
};

constexpr const char* kCurveExt = ".q5imp";
constexpr const char* kRefListExt = ".q5lst";

// Curve file of a row: Folder + "/" + FileName + ".q5imp".
std::string RowCurvePath(const RefListRow& row);

// The lines of a list file, without line ends: line 2k is the name line of
// row k + 1 ("[" + name padded with blanks to 12 bytes + "]"), line 2k + 1 its
// path line (Folder + "/" + FileName + ".q5imp"); "," stands for an empty
// name or an empty folder. The list upload sends from these same lines.
constexpr int kRefListLineCount = 2 * kRefListRows;
using RefListLines = std::array<std::string, kRefListLineCount>;
RefListLines BuildRefListLines(const RefList& list);

// An entry of a list line: "," is the empty entry.
std::string ListEntryText(const std::string& line);

// The list file image: the 128 lines of BuildRefListLines, each ended by `eol`.
std::string RefListFileBytes(const RefList& list, const char* eol = "\r\n");

// Reads a list into `list`. Rows after the file's last entry are emptied. A
// curve file missing at its stored path is looked for as FileName + ".q5imp"
// in `listFolder` (where the list lies); a row whose file is found nowhere is
// marked Missing. Stored paths with "\" separators or drive letters are taken
// apart without harm. Returns how many entries read are not in the form of a
// list entry (a name line that is neither "," nor bracketed, a NUL byte, a
// path longer than any file name): non-zero means the file is no sound
// reference list. The row of such an entry stays empty.
int ParseRefList(ByteSource& in, const std::string& listFolder, RefList& list);
int ParseRefListBytes(const std::string& bytes, const std::string& listFolder, RefList& list);

// Reads a list file as ParseRefList, no more of it than 64 entries can use;
// a file that holds more bytes than that counts as one more odd entry in
// `odd`. Something that is no regular file is refused, a failed allocation is
// a failure; on failure `list` and `odd` are left as they were.
IoResult ReadRefListFile(const std::string& path, const std::string& listFolder, RefList& list, int& odd);

// CSV export: per row `r,"name","file.q5imp","folder"` ended by CR LF;
// an empty file name gives `""`. The whole file is Shift-JIS: the name is
// written byte for byte, file name and folder are converted from the file
// system's UTF-8 (a character without a Shift-JIS form becomes "?"; bytes
// that are Shift-JIS already and no UTF-8 stay as they are).
std::string RefListCsvBytes(const RefList& list);

// A folder without its trailing separator ("/" stays "/").
std::string WithoutTrailingSeparator(const std::string& folder);
// Folder of a path without its trailing separator.
std::string FolderWithoutSeparator(const std::string& path);
// `folder` + "/" + `name`, without doubling a separator the folder ends with.
std::string JoinPath(const std::string& folder, const std::string& name);

// The five controls whose enabling the list editor drives.
struct RefListControls {
    bool UploadButton = false;
    bool SaveButton = false;
    bool SaveMenu = false;
    bool SaveAsMenu = false;
    bool CsvMenu = false;

    void SetAll(bool on) { UploadButton = SaveButton = SaveMenu = SaveAsMenu = CsvMenu = on; }
    bool operator==(const RefListControls&) const = default;
};

// Enabling after a list was read: rows are looked at in order; a missing or
// empty row disables all five; the first row naming a found file enables
// all but the save menu item and ends the scan.
void ApplyEnablingAfterOpen(const RefList& list, RefListControls& controls);

}  // namespace qlx
