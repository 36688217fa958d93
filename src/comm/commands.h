#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace qlx {

// Control bytes of the instrument line.
constexpr char ETX = 0x03;
constexpr char ACK = 0x06;
constexpr char LF = 0x0A;

// Command and reply buffers are this long; no command or reply exceeds it.
constexpr std::size_t kCommBufferSize = 2048;

// A command as sent: a copy of its template in a 2048-byte buffer (zero
// bytes after the template), some bytes overwritten, and the exact count
// sent with one write (ETX included). Bytes past `count` are never sent.
struct CommandBuffer {
    std::array<char, kCommBufferSize> bytes{};
    std::size_t count = 0;
};

// Templates exactly as stored.
inline constexpr char kStatusTemplate[] = "RSTT\x03";
inline constexpr char kSweepTemplate[] = "RSWP\n2\n000\n119\x03";
inline constexpr char kStopTemplate[] = "RSTP\x03";
inline constexpr char kReadRefCurveTemplate[] = "RIMP\nR\n0\n0\nA\x03";
inline constexpr char kReadRefHeaderTemplate[] = "RIMP\nR\n0\n0\nH\x03";
inline constexpr char kReadImpCurveTemplate[] = "RIMP\nM\n0\n0\nA\x03";
inline constexpr char kReadImpHeaderTemplate[] = "RIMP\nM\n0\n0\nH\x03";

constexpr int kSlotCount64 = 64;

// One-byte slot address: chr(0x30 + slot index), index 0..63 ("0".."o").
// Reference No. n has the slot index n - 1.
constexpr char SlotChar(int slotIndex) { return static_cast<char>(0x30 + slotIndex); }
// Channel character "0".."3" of channel block 0..3.
constexpr char ChannelChar(int block) { return static_cast<char>('0' + block); }

// Sweep channel code of a terminal (list index 0 "BINDING POST", 1 "NL 4",
// 2 "NL 8") and channel 0..3; no value for a channel the terminal lacks.
std::optional<char> ChannelCode(int terminalIndex, int channel);

enum class CurveStore { Reference, Measured };
enum class ReadPart { Curve, Header };

CommandBuffer StatusCommand();
CommandBuffer StopCommand();
// Sweep of one channel over grid indices first..last (each 0..999 as three digits).
CommandBuffer SweepCommand(char channelCode, int first, int last);
// Read a whole channel block (Curve) or its header of a stored curve.
CommandBuffer ReadCommand(CurveStore store, ReadPart part, int slotIndex, int block);

}  // namespace qlx
