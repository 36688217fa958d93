#include "comm/commands.h"

#include <cstring>

namespace qlx {

namespace {

template <std::size_t N>
CommandBuffer FromTemplate(const char (&text)[N])
{
    CommandBuffer c;
    std::memcpy(c.bytes.data(), text, N - 1);
    c.count = N - 1;
    return c;
}

void PutThreeDigits(CommandBuffer& c, std::size_t at, int value)
{
    c.bytes[at] = static_cast<char>(0x30 + value / 100);
    c.bytes[at + 1] = static_cast<char>(0x30 + (value % 100) / 10);
    c.bytes[at + 2] = static_cast<char>(0x30 + value % 10);
}

}  // namespace

std::optional<char> ChannelCode(int terminalIndex, int channel)
{
    static const char* const codes[] = {"2", "56", "789:"};
    const char* row = codes[terminalIndex == 0 ? 0 : terminalIndex == 1 ? 1 : 2];
    if (channel < 0 || channel >= static_cast<int>(std::strlen(row)))
        return std::nullopt;
    return row[channel];
}

CommandBuffer StatusCommand() { return FromTemplate(kStatusTemplate); }
CommandBuffer StopCommand() { return FromTemplate(kStopTemplate); }

CommandBuffer SweepCommand(char channelCode, int first, int last)
{
    CommandBuffer c = FromTemplate(kSweepTemplate);
    c.bytes[5] = channelCode;
    PutThreeDigits(c, 7, first);
    PutThreeDigits(c, 11, last);
    return c;
}

CommandBuffer ReadCommand(CurveStore store, ReadPart part, int slotIndex, int block)
{
    const bool ref = store == CurveStore::Reference;
    const bool header = part == ReadPart::Header;
    CommandBuffer c = ref ? (header ? FromTemplate(kReadRefHeaderTemplate) : FromTemplate(kReadRefCurveTemplate))
                          : (header ? FromTemplate(kReadImpHeaderTemplate) : FromTemplate(kReadImpCurveTemplate));
    c.bytes[7] = SlotChar(slotIndex);
    c.bytes[9] = ChannelChar(block);
    return c;
}

}  // namespace qlx
