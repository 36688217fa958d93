#include "model/curve_lines.h"

#include <charconv>

namespace qlx {

const char* const kEmptyBracket = "[            ]";

const std::array<const char*, 3> TerminalCaptions = {"BINDING POST", "NL 4", "NL 8"};

void FillDefaults(CurveLines& lines)
{
    auto fill = [&](int slot, const char* value) {
        if (lines[slot].empty())
            lines[slot] = value;
    };
    fill(StampLine, kEmptyBracket);
    fill(TerminalLine, "B");
    fill(FlagsLine, "@");
    for (int header : {FreqRangeLine, ThresholdLine, NameLine}) {
        fill(header, kEmptyBracket);
        fill(header + 1, "@");
        fill(header + 2, "@");
    }
    for (int slot = 0; slot < MemoSlot; ++slot)
        fill(slot, "0");
}

int CodeAt(const std::string& line, int pos, int fallback)
{
    if (pos < 1 || static_cast<size_t>(pos) > line.size())
        return fallback;
    return CodeValue(line[pos - 1]);
}

void SetCodeAt(std::string& line, int pos, int v)
{
    if (line.size() < static_cast<size_t>(pos))
        line.resize(pos, ' ');
    line[pos - 1] = CodeChar(v);
}

std::uint8_t FlagsOf(const CurveLines& lines)
{
    const std::string& f = lines[FlagsLine];
    return f.empty() ? 0 : static_cast<std::uint8_t>(CodeValue(f[0]));
}

void SetFlags(CurveLines& lines, std::uint8_t flags)
{
    lines[FlagsLine] = std::string(1, static_cast<char>(kCodeBase + flags));
}

int TerminalIndex(const std::string& t)
{
    if (t == "B")
        return 0;
    if (t == "C" || t == "E" || t == "F")
        return 1;
    return 2;
}

const char* TerminalCaption(const std::string& t) { return TerminalCaptions[TerminalIndex(t)]; }

const char* TerminalCodeForIndex(int index)
{
    static const char* const codes[3] = {"B", "E", "G"};
    return codes[index < 0 || index > 2 ? 0 : index];
}

int ChannelsWithData(const std::string& t)
{
    static const int channels[3] = {1, 2, 4};
    return channels[TerminalIndex(t)];
}

std::string NameLineFor(const std::string& sjisName)
{
    std::string name = sjisName.substr(0, kNameBytes);
    name.resize(kNameBytes, ' ');
    return "[" + name + "]";
}

std::string BracketPayload(const std::string& line)
{
    if (line.size() <= 1)
        return {};
    return line.substr(1, kBracketPayload);
}

std::optional<int> ParsePoint(const std::string& line)
{
    const char* first = line.data();
    const char* last = first + line.size();
    if (first != last && *first == '+')
        ++first;
    int value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

}  // namespace qlx
