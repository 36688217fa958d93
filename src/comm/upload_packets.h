#pragma once

#include <optional>
#include <vector>

#include "comm/commands.h"
#include "model/curve_lines.h"

namespace qlx {

// The "WIMP" packets that write one reference slot of the instrument.
//
// A slot goes out as its four channel blocks; a block is one header packet
// and 15 point packets of eight points each. Every byte of a line is sent
// as stored: names are Shift-JIS bytes, code characters reach 0xB7, and
// nothing is converted, escaped or checksummed.

constexpr int kUploadBlocks = 4;
constexpr int kPointsPerPacket = 8;
constexpr int kPointPacketsPerBlock = 15;
constexpr int kHeaderPauseMs = 100;  // the instrument's pace before a header packet
constexpr int kPointPauseMs = 25;    // and before each point packet

// The lines one slot is written from, in the slot layout of a curve. Only
// slots 1, 2, the three field lines and the 480 points are ever sent; the
// stamp, the reserved lines and the memo never reach the instrument.
using UploadLines = CurveLines;

// What a slot that gets no curve is written with: every slot 0..491 "0",
// TerminalLine and FlagsLine "@", NameLine the empty bracket. Only its
// block 0 is sent.
UploadLines EmptyCurve();

// The line a block's header packet carries: NameLine, FreqRangeLine,
// ThresholdLine, NameLine for blocks 0 to 3.
int HeaderFieldSlot(int block);

// "WIMP" LF "R" LF slot LF block digit LF field line LF TerminalLine LF
// FlagsLine ETX, assembled in the 2048-byte transmit buffer; no value when
// it would not fit.
std::optional<CommandBuffer> HeaderPacket(char slot, int block, const UploadLines& lines);

// Points 8k..8k+7 of block b's channel joined by LF, then ETX; no value when
// it would not fit the buffer.
std::optional<CommandBuffer> PointPacket(int block, int k, const UploadLines& lines);

struct UploadPacket {
    CommandBuffer bytes;
    int pauseMs = 0;  // waited before it is sent
};

// Every packet of one slot in the order sent, blocks 0..blocks-1 each as its
// header then its 15 point packets. No value when any of them would not fit:
// a slot is refused whole, before anything of it reaches the instrument.
std::optional<std::vector<UploadPacket>> SlotPackets(char slot, const UploadLines& lines, int blocks = kUploadBlocks);

}  // namespace qlx
