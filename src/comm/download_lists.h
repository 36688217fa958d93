#pragma once

#include <array>
#include <string>

namespace qlx {

constexpr int kStoredCurveSlots = 64;
constexpr int kImpListEntries = 128;

// What a listing of the references read: entry n - 1 for reference No. n,
// empty or the 12 name characters of its first line (Shift-JIS bytes).
using RefNames = std::array<std::string, kStoredCurveSlots>;
// What a listing of the measured curves read: entry 2s the 12 characters of
// slot s's time stamp line, entry 2s + 1 those of its name line (each empty
// when the slot holds nothing).
using ImpEntries = std::array<std::string, kImpListEntries>;

// The measured list shows rows 1..64; row n shows slot n mod 64, so rows 1
// to 63 show slots 1 to 63 and row 64 shows slot 0. A row selected for a
// download fetches the slot it shows.
int ImpRowSlot(int row);
// Entries of a row: its time stamp ImpEntries[ImpRowStampEntry(row)], its
// name the entry after it.
int ImpRowStampEntry(int row);

// The date text of a time stamp entry YYMMDDhhmmss: "20YY/MM/DD hh:mm:ss"
// ("2024/12/08 15:30:12"); empty for an entry of nothing but blanks.
// Characters a short entry lacks are left out. Shift-JIS bytes, as the entry.
std::string StampDateText(const std::string& entry);

}  // namespace qlx
