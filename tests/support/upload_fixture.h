#pragma once

#include <string>
#include <vector>

#include "model/curve_lines.h"

namespace qlxtest {

// A reference curve whose every sent line is told apart from the others:
// point j of channel c is 1000·(c + 1) + j + `seed`, the name is Shift-JIS
// with trail bytes 0x5B and 0x5C, the range and threshold lines hold code
// characters above 0x7F (0xB7 and 0xA3). The stamp, the reserved lines and
// the memo carry texts that must never reach the instrument.
qlx::CurveLines UploadTestCurve(int seed = 0);

// The bytes the instrument must receive for one slot, spelled out from the
// packet layouts: per block "WIMP" LF "R" LF slot LF block LF field line LF
// slot 1 LF slot 2 ETX, then 15 packets of eight point lines joined by LF
// and ended by ETX. The field lines are NameLine, FreqRangeLine,
// ThresholdLine, NameLine.
std::vector<std::string> ExpectedSlot(char slot, const qlx::CurveLines& lines, int blocks = 4);

// The slot written empty: block 0 only, its header and 15 × "0" LF … "0" ETX.
std::vector<std::string> ExpectedEmptySlot(char slot);

// Texts that are in UploadTestCurve but outside what is sent.
extern const char* const kNeverSent[4];

}  // namespace qlxtest
