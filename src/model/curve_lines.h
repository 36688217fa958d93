#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/freq_table.h"

namespace qlx {

// One curve as the instrument, the curve files and the program all hold it:
// 493 byte strings (Shift-JIS text, code characters above 0x7F kept raw).
// Slots 0..491 are four blocks of 123 lines (3 header lines + 120 points of one
// channel); slot 492 is the memo with its lines separated by CR LF.
constexpr int kSlotCount = 493;
constexpr int kBlockSize = 123;
using CurveLines = std::array<std::string, kSlotCount>;

enum Slot : int {
    StampLine = 0,
    TerminalLine = 1,
    FlagsLine = 2,
    FreqRangeLine = 123,
    ThresholdLine = 246,
    NameLine = 369,
    MemoSlot = 492,
};

// Slot of point j (0..119) of channel c (0..3).
constexpr int PointSlot(int c, int j) { return kBlockSize * c + 3 + j; }

// CurveFlags bits, stored in FlagsLine as chr(0x40 + flags).
enum CurveFlag : std::uint8_t {
    FlagRangeValid = 1,
    FlagThresholdsValid = 2,
    FlagProtect = 4,
    FlagRemoteMeasured = 8,
};

constexpr char kCodeBase = 0x40;
constexpr int kBracketPayload = 12;
extern const char* const kEmptyBracket;  // "[" + 12 blanks + "]"
constexpr int kNameBytes = 12;
constexpr int kMemoBytes = 600;

// Every empty header slot gets its default, then every empty slot among 0..491
// gets "0". The memo is left as it is.
void FillDefaults(CurveLines& lines);

// A code character stores a small integer v as the byte 64 + v.
inline char CodeChar(int v) { return static_cast<char>(kCodeBase + v); }
inline int CodeValue(char byte) { return static_cast<unsigned char>(byte) - kCodeBase; }

// Code value at 1-based byte position pos of a line; a position past the end
// of a short field yields fallback.
int CodeAt(const std::string& line, int pos, int fallback);
// Writes the code character of v at 1-based position pos, first widening a
// short line with blanks so that no other byte moves.
void SetCodeAt(std::string& line, int pos, int v);

// Flags byte of a curve (code value of the first byte of FlagsLine; 0 if empty).
std::uint8_t FlagsOf(const CurveLines& lines);
void SetFlags(CurveLines& lines, std::uint8_t flags);

// Terminal codes: "B" BINDING POST (1 channel), "C"/"E"/"F" NL 4 (2 channels),
// anything else NL 8 (4 channels).
int TerminalIndex(const std::string& terminalLine);  // 0, 1 or 2
const char* TerminalCaption(const std::string& terminalLine);
const char* TerminalCodeForIndex(int index);            // "B", "E", "G"
int ChannelsWithData(const std::string& terminalLine);  // 1, 2 or 4
extern const std::array<const char*, 3> TerminalCaptions;

// NameLine: "[" + name padded with blanks to 12 bytes + "]". The name is
// Shift-JIS bytes; longer names are cut at 12 bytes by the caller's editor.
std::string NameLineFor(const std::string& sjisName);
// Payload positions 2..13 of a bracketed field, trailing blanks included.
std::string BracketPayload(const std::string& line);

// Parses a point line as a decimal integer ("123" is 12.3 ohm). Leading sign
// allowed; anything else (empty, blanks, trailing text, overflow) is no value.
std::optional<int> ParsePoint(const std::string& line);

}  // namespace qlx
