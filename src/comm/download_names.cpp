#include "comm/download_names.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "model/curve_lines.h"
#include "model/ref_list.h"
#include "model/sjis.h"

namespace qlx {

namespace {

// The double quote is no character of a file name on the FAT and NTFS media
// a download may be written to either.
constexpr std::string_view kReplaced = "\\/:*?<>|\"";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string Digits(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

std::string CompactDate(const RunDate& d) { return Digits(d.year, 4) + Digits(d.month, 2) + Digits(d.day, 2); }

std::string WithoutTrailingBlanks(std::string bytes)
{
    bytes.erase(bytes.find_last_not_of(' ') + 1);
    return bytes;
}

// Bytes first..first+count-1 (0-based) of a line, as many as it has.
std::string Part(const std::string& line, size_t first, size_t count)
{
    return first < line.size() ? line.substr(first, count) : std::string();
}

}  // namespace

std::string RunFolderDate(const RunDate& date, const std::string& shortDateFormat)
{
    std::string out;
    std::vector<std::string> fields;
    for (size_t i = 0; i < shortDateFormat.size();) {
        const char c = shortDateFormat[i];
        // "/" and "." go; so do blanks, which some file systems will not
        // take at the end of a folder name (a format like "yyyy. MM. dd.").
        if (c == '/' || c == '.' || c == ' ') {
            ++i;
            continue;
        }
        if (c == '\'')
            return CompactDate(date);  // quoted text in the format
        if (!IsAsciiLetter(c)) {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t end = i;
        while (end < shortDateFormat.size() && shortDateFormat[end] == c)
            ++end;
        const std::string field = shortDateFormat.substr(i, end - i);
        fields.push_back(field);
        if (field == "yyyy")
            out += Digits(date.year, 4);
        else if (field == "MM")
            out += Digits(date.month, 2);
        else if (field == "dd")
            out += Digits(date.day, 2);
        i = end;
    }
    if (fields != std::vector<std::string>{"yyyy", "MM", "dd"})
        return CompactDate(date);
    return out;
}

std::string FirstFreeName(const std::string& stem, const std::string& extension,
                          const std::function<bool(const std::string& name)>& taken)
{
    std::string name = stem + extension;
    for (int k = 1; taken(name); ++k)
        name = stem + "_" + std::to_string(k) + extension;
    return name;
}

std::string FileNameText(const std::string& sjisBytes)
{
    std::string text = SjisToUtf8(sjisBytes);
    // UTF-8 bytes of characters beyond ASCII are all 0x80 or above, so the
    // ASCII characters can be replaced byte by byte.
    for (char& c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || kReplaced.find(c) != std::string_view::npos)
            c = '_';
    }
    return text;
}

std::string RefCurveFileName(int number, const std::string& nameBytes)
{
    return "Ref_No" + std::to_string(number) + "_" + FileNameText(WithoutTrailingBlanks(nameBytes)) + kCurveExt;
}

std::string ImpCurveFileName(const std::string& stampLine, const std::string& nameLine)
{
    std::string name = FileNameText(WithoutTrailingBlanks(BracketPayload(nameLine)));
    name += "_20" + FileNameText(Part(stampLine, 1, 2));
    name += "_" + FileNameText(Part(stampLine, 3, 4));
    name += "_" + FileNameText(Part(stampLine, 7, 4));
    name += "_" + FileNameText(Part(stampLine, 11, 2));
    if (name.front() == '.')
        name.front() = '_';
    return name + kCurveExt;
}

}  // namespace qlx
