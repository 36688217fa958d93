#include <gtest/gtest.h>

#include "comm/commands.h"

namespace qlx {
namespace {

std::string Sent(const CommandBuffer& c) { return std::string(c.bytes.data(), c.count); }

TEST(Commands, BytesOfEachCommand)
{
    const std::pair<CommandBuffer, std::string> cases[] = {
        {StatusCommand(), "RSTT\x03"},
        {StopCommand(), "RSTP\x03"},
        {SweepCommand('2', 0, 119), "RSWP\n2\n000\n119\x03"},
        {SweepCommand('2', 5, 87), "RSWP\n2\n005\n087\x03"},
        {SweepCommand(':', 40, 100), "RSWP\n:\n040\n100\x03"},
        {ReadCommand(CurveStore::Reference, ReadPart::Curve, 2, 1), "RIMP\nR\n2\n1\nA\x03"},
        {ReadCommand(CurveStore::Reference, ReadPart::Header, 63, 0), "RIMP\nR\no\n0\nH\x03"},
        {ReadCommand(CurveStore::Measured, ReadPart::Curve, 0, 3), "RIMP\nM\n0\n3\nA\x03"},
        {ReadCommand(CurveStore::Measured, ReadPart::Header, 10, 3), "RIMP\nM\n:\n3\nH\x03"},
    };
    for (const auto& [command, bytes] : cases) {
        EXPECT_EQ(Sent(command), bytes);
        // The rest of the buffer is zero: nothing stale can be sent.
        for (std::size_t i = command.count; i < kCommBufferSize; ++i)
            ASSERT_EQ(command.bytes[i], 0);
    }
}

TEST(Commands, ReadChannelTwoOfReferenceThree)
{
    const CommandBuffer c = ReadCommand(CurveStore::Reference, ReadPart::Curve, 3 - 1, 1);
    const unsigned char expected[] = {0x52, 0x49, 0x4D, 0x50, 0x0A, 0x52, 0x0A, 0x32, 0x0A, 0x31, 0x0A, 0x41, 0x03};
    ASSERT_EQ(c.count, sizeof expected);
    for (std::size_t i = 0; i < sizeof expected; ++i)
        EXPECT_EQ(static_cast<unsigned char>(c.bytes[i]), expected[i]) << i;
}

TEST(Commands, SlotCharactersAndChannelCodes)
{
    EXPECT_EQ(SlotChar(0), '0');
    EXPECT_EQ(SlotChar(9), '9');
    EXPECT_EQ(SlotChar(10), ':');
    EXPECT_EQ(SlotChar(63), 'o');
    const std::tuple<int, int, std::optional<char>> codes[] = {
        {0, 0, '2'}, {0, 1, std::nullopt}, {1, 0, '5'}, {1, 1, '6'}, {1, 2, std::nullopt}, {2, 0, '7'},
        {2, 1, '8'}, {2, 2, '9'},          {2, 3, ':'}, {5, 3, ':'}, {2, 4, std::nullopt},
    };
    for (const auto& [terminal, channel, code] : codes)
        EXPECT_EQ(ChannelCode(terminal, channel), code) << terminal << "/" << channel;
}

}  // namespace
}  // namespace qlx
