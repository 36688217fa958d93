// A sweep reply's data split into the 120 points of a channel: only that
// channel's point slots change, never with a separator in them, and their
// texts come from the data in order.
#include <cstdint>
#include <string_view>

#include "comm/remote_measurement.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int c = data[0] % qlx::kChannelCount;
    const std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);
    qlx::CurveLines lines{};
    qlx::PutSweepPoints(reply, c, lines);
    std::size_t used = 0;
    for (int slot = 0; slot < static_cast<int>(lines.size()); ++slot) {
        const std::string& line = lines[slot];
        const bool ofChannel = slot >= qlx::PointSlot(c, 0) && slot <= qlx::PointSlot(c, qlx::kPointCount - 1);
        if (!ofChannel && !line.empty())
            qlxfuzz::Violated("a slot outside the channel's points changed");
        if (line.find_first_of(std::string_view("\n\x03", 2)) != std::string::npos)
            qlxfuzz::Violated("a point holds a separator");
        used += line.size();
    }
    if (used > reply.size())
        qlxfuzz::Violated("the points hold more bytes than the reply");
    return 0;
}
