#include "comm/download_lists.h"

namespace qlx {

int ImpRowSlot(int row) { return row % kStoredCurveSlots; }

int ImpRowStampEntry(int row) { return (2 * row) % kImpListEntries; }

std::string StampDateText(const std::string& entry)
{
    if (entry.find_first_not_of(' ') == std::string::npos)
        return {};
    const auto pair = [&](size_t i) { return i < entry.size() ? entry.substr(i, 2) : std::string(); };
    return "20" + pair(0) + "/" + pair(2) + "/" + pair(4) + " " + pair(6) + ":" + pair(8) + ":" + pair(10);
}

}  // namespace qlx
