#include "comm/upload_packets.h"

#include <cstring>
#include <string_view>

namespace qlx {

namespace {

// Fills a transmit buffer and notices when something would run past it.
class PacketWriter {
public:
    void Put(std::string_view bytes)
    {
        if (overflow_ || bytes.size() > packet_.bytes.size() - packet_.count) {
            overflow_ = true;
            return;
        }
        std::memcpy(packet_.bytes.data() + packet_.count, bytes.data(), bytes.size());
        packet_.count += bytes.size();
    }
    void Put(char byte) { Put(std::string_view(&byte, 1)); }

    std::optional<CommandBuffer> Take() const
    {
        if (overflow_)
            return std::nullopt;
        return packet_;
    }

private:
    CommandBuffer packet_;
    bool overflow_ = false;
};

}  // namespace

UploadLines EmptyCurve()
{
    UploadLines lines;
    for (int i = 0; i < MemoSlot; ++i)
        lines[i] = "0";
    lines[TerminalLine] = "@";
    lines[FlagsLine] = "@";
    lines[NameLine] = kEmptyBracket;
    return lines;
}

int HeaderFieldSlot(int block)
{
    static constexpr int kFieldSlots[kUploadBlocks] = {NameLine, FreqRangeLine, ThresholdLine, NameLine};
    return kFieldSlots[block];
}

std::optional<CommandBuffer> HeaderPacket(char slot, int block, const UploadLines& lines)
{
    PacketWriter w;
    w.Put("WIMP");
    w.Put(LF);
    w.Put('R');
    w.Put(LF);
    w.Put(slot);
    w.Put(LF);
    w.Put(ChannelChar(block));
    w.Put(LF);
    w.Put(lines[HeaderFieldSlot(block)]);
    w.Put(LF);
    w.Put(lines[TerminalLine]);
    w.Put(LF);
    w.Put(lines[FlagsLine]);
    w.Put(ETX);
    return w.Take();
}

std::optional<CommandBuffer> PointPacket(int block, int k, const UploadLines& lines)
{
    PacketWriter w;
    for (int i = 0; i < kPointsPerPacket; ++i) {
        if (i > 0)
            w.Put(LF);
        w.Put(lines[PointSlot(block, kPointsPerPacket * k + i)]);
    }
    w.Put(ETX);
    return w.Take();
}

std::optional<std::vector<UploadPacket>> SlotPackets(char slot, const UploadLines& lines, int blocks)
{
    std::vector<UploadPacket> packets;
    packets.reserve(static_cast<size_t>(blocks * (1 + kPointPacketsPerBlock)));
    for (int b = 0; b < blocks; ++b) {
        std::optional<CommandBuffer> header = HeaderPacket(slot, b, lines);
        if (!header)
            return std::nullopt;
        packets.push_back({*header, kHeaderPauseMs});
        for (int k = 0; k < kPointPacketsPerBlock; ++k) {
            std::optional<CommandBuffer> points = PointPacket(b, k, lines);
            if (!points)
                return std::nullopt;
            packets.push_back({*points, kPointPauseMs});
        }
    }
    return packets;
}

}  // namespace qlx
