#include "model/ref_list.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>

#include "model/curve_lines.h"
#include "model/file_io.h"
#include "model/sjis.h"

namespace qlx {

namespace {

const std::string kEmptyEntry = ",";

// The stored path as a file on this system: as written, or with "\" read as
// the separator of a list written on another system.
std::optional<std::string> ExistingCurve(const std::string& path)
{
    if (FileExists(path))
        return path;
    if (path.find('\\') != std::string::npos) {
        std::string local = path;
        std::replace(local.begin(), local.end(), '\\', '/');
        if (FileExists(local))
            return local;
    }
    return std::nullopt;
}

// Looks for the curve beside the list, under its stored name or, for a list
// written with Shift-JIS names, under the name's Unicode form.
bool FoundBesideList(const std::string& listFolder, RefListRow& row)
{
    if (row.fileName.empty())
        return false;
    if (FileExists(JoinPath(listFolder, row.fileName + kCurveExt)))
        return true;
    const bool ascii = std::all_of(row.fileName.begin(), row.fileName.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return false;
    const std::string decoded = SjisToUtf8(row.fileName);
    if (decoded.find("\xEF\xBF\xBD") != std::string::npos || !FileExists(JoinPath(listFolder, decoded + kCurveExt)))
        return false;
    row.fileName = decoded;
    return true;
}

// The longest path the system can open. A line cut at the reader's cap is
// longer still, so it is never an entry.
constexpr size_t kMaxPathBytes = 4096;
static_assert(kMaxLineBytes <= kMaxPathBytes);

bool IsListEntry(const std::string& nameLine, const std::string& pathLine)
{
    const bool nameForm = nameLine == kEmptyEntry || (!nameLine.empty() && nameLine.front() == '[');
    return nameForm && nameLine.find('\0') == std::string::npos && pathLine.find('\0') == std::string::npos &&
           pathLine.size() < kMaxPathBytes;
}

void FillRow(const std::string& nameLine, const std::string& pathLine, const std::string& listFolder, RefListRow& row)
{
    row = RefListRow{};
    const std::string name = ListEntryText(nameLine);
    row.name = BracketPayload(name);
    const std::string path = ListEntryText(pathLine);
    row.fileName = DisplayName(path);
    if (path.empty())
        return;
    if (std::optional<std::string> found = ExistingCurve(path)) {
        row.folder = FolderWithoutSeparator(*found);
    } else if (FoundBesideList(listFolder, row)) {
        row.folder = WithoutTrailingSeparator(listFolder);
    } else {
        row.folder = FolderWithoutSeparator(path);
        row.missing = true;
    }
}

// A file name or folder for the CSV, which is Shift-JIS like the curve
// names beside it. The grid holds file-system bytes (UTF-8); a character
// without a Shift-JIS form becomes "?" (a character no Windows file name
// holds). Bytes that are no UTF-8 but Shift-JIS text come from a list written
// with Shift-JIS paths whose file is missing here; they are kept.
std::string CsvPathText(const std::string& fileSystemBytes)
{
    if (!IsUtf8(fileSystemBytes) && IsSjis(fileSystemBytes))
        return fileSystemBytes;
    return Utf8ToSjisReplacing(fileSystemBytes);
}

}  // namespace

bool RefList::InsertRow(int t)
{
    if (t < 1 || t > kRefListRows)
        return false;
    std::move_backward(Rows.begin() + (t - 1), Rows.end() - 1, Rows.end());
    Row(t) = RefListRow{};
    return true;
}

bool RefList::DeleteRow(int t)
{
    if (t < 1 || t > kRefListRows)
        return false;
    std::move(Rows.begin() + t, Rows.end(), Rows.begin() + (t - 1));
    Rows.back() = RefListRow{};
    return true;
}

std::string WithoutTrailingSeparator(const std::string& folder)
{
    if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        return folder.substr(0, folder.size() - 1);
    return folder;
}

std::string FolderWithoutSeparator(const std::string& path) { return WithoutTrailingSeparator(FolderOf(path)); }

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string RowCurvePath(const RefListRow& row) { return JoinPath(row.folder, row.fileName + kCurveExt); }

RefListLines BuildRefListLines(const RefList& list)
{
    RefListLines lines;
    for (int k = 0; k < kRefListRows; ++k) {
        const RefListRow& row = list.Rows[static_cast<size_t>(k)];
        std::string& name = lines[static_cast<size_t>(2 * k)];
        if (row.name.empty()) {
            name = kEmptyEntry;
        } else {
            std::string padded = row.name;
            const size_t width = static_cast<size_t>(kNameBytes);
            if (padded.size() < width)
                padded.append(width - padded.size(), ' ');
            name = "[" + padded + "]";
        }
        lines[static_cast<size_t>(2 * k + 1)] = row.folder.empty() ? kEmptyEntry : RowCurvePath(row);
    }
    return lines;
}

std::string ListEntryText(const std::string& line) { return line == kEmptyEntry ? std::string() : line; }

std::string RefListFileBytes(const RefList& list, const char* eol)
{
    std::string out;
    for (const std::string& line : BuildRefListLines(list)) {
        out += line;
        out += eol;
    }
    return out;
}

int ParseRefList(ByteSource& in, const std::string& listFolder, RefList& list)
{
    list.Clear();
    int odd = 0;
    for (int r = 1; r <= kRefListRows; ++r) {
        if (!SkipBlankBytes(in))
            break;
        std::string nameLine, pathLine;
        const bool nameWhole = ReadLine(in, nameLine);
        const bool pathWhole = ReadLine(in, pathLine);
        // A line that is no entry names nothing: its row stays empty, and
        // nothing of it (its file, its folder) is looked at.
        if (!nameWhole || !pathWhole || !IsListEntry(nameLine, pathLine)) {
            ++odd;
            continue;
        }
        FillRow(nameLine, pathLine, listFolder, list.Row(r));
    }
    return odd;
}

int ParseRefListBytes(const std::string& bytes, const std::string& listFolder, RefList& list)
{
    StringSource in(bytes);
    return ParseRefList(in, listFolder, list);
}

IoResult ReadRefListFile(const std::string& path, const std::string& listFolder, RefList& list, int& odd)
{
    try {
        FileSource in(path, ReadBudget(2 * kRefListRows));
        RefList read;
        int count = ParseRefList(in, listFolder, read);
        if (!in.result())
            return in.result();
        // More bytes than any list needs for its entries: no sound list.
        if (in.cutShort())
            ++count;
        list = std::move(read);
        odd = count;
        return {};
    } catch (const std::bad_alloc&) {
        return ReadFailure(path, ENOMEM);
    }
}

std::string RefListCsvBytes(const RefList& list)
{
    std::string out;
    for (int r = 1; r <= kRefListRows; ++r) {
        const RefListRow& row = list.Row(r);
        const std::string file = row.fileName.empty() ? std::string() : CsvPathText(row.fileName) + kCurveExt;
        out += std::to_string(r) + ",\"" + row.name + "\",\"" + file + "\",\"" + CsvPathText(row.folder) + "\"\r\n";
    }
    return out;
}

void ApplyEnablingAfterOpen(const RefList& list, RefListControls& controls)
{
    for (const RefListRow& row : list.Rows) {
        if (row.missing || row.fileName.empty()) {
            controls.SetAll(false);
            continue;
        }
        controls.UploadButton = controls.SaveButton = controls.SaveAsMenu = controls.CsvMenu = true;
        return;
    }
}

}  // namespace qlx
