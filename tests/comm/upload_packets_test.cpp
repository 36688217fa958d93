#include <gtest/gtest.h>

#include "comm/upload_packets.h"
#include "support/upload_fixture.h"

namespace qlx {
namespace {

using qlxtest::ExpectedEmptySlot;
using qlxtest::ExpectedSlot;
using qlxtest::UploadTestCurve;

std::string Bytes(const CommandBuffer& packet) { return std::string(packet.bytes.data(), packet.count); }

std::string Bytes(const std::optional<CommandBuffer>& packet)
{
    EXPECT_TRUE(packet.has_value());
    return packet ? Bytes(*packet) : std::string();
}

std::vector<std::string> Sent(const std::vector<UploadPacket>& packets)
{
    std::vector<std::string> out;
    for (const UploadPacket& p : packets)
        out.push_back(Bytes(p.bytes));
    return out;
}

std::vector<int> Pauses(const std::vector<UploadPacket>& packets)
{
    std::vector<int> out;
    for (const UploadPacket& p : packets)
        out.push_back(p.pauseMs);
    return out;
}

TEST(UploadPackets, EmptyCurveIsOneHeaderAndFifteenZeroPackets)
{
    const UploadLines empty = EmptyCurve();
    EXPECT_EQ(Bytes(HeaderPacket('5', 0, empty)), std::string("WIMP\nR\n5\n0\n[            ]\n@\n@\x03"));
    EXPECT_EQ(Bytes(HeaderPacket('5', 0, empty)).size(), 30u);
    EXPECT_EQ(Bytes(PointPacket(0, 14, empty)), "0\n0\n0\n0\n0\n0\n0\n0\x03");
    EXPECT_EQ(Bytes(PointPacket(0, 14, empty)).size(), 16u);
    for (int i = 0; i < MemoSlot; ++i) {
        const char* expected = i == TerminalLine || i == FlagsLine ? "@" : i == NameLine ? "[            ]" : "0";
        EXPECT_EQ(empty[i], expected) << "slot " << i;
    }

    const auto packets = SlotPackets('5', empty, 1);
    ASSERT_TRUE(packets);
    EXPECT_EQ(Sent(*packets), ExpectedEmptySlot('5'));
    std::vector<int> pauses{kHeaderPauseMs};
    pauses.insert(pauses.end(), 15, kPointPauseMs);
    EXPECT_EQ(Pauses(*packets), pauses);
}

TEST(UploadPackets, HeadersCarryTheirBlocksFieldLineThenTerminalAndFlags)
{
    const CurveLines c = UploadTestCurve();
    const std::string tail = "\nG\nG\x03";
    const std::string expected[4] = {
        "WIMP\nR\no\n0\n[\x83\x5C\x81\x5B\x83\x6E\x81\x5B\x82\x50\x82\x51]" + tail,
        "WIMP\nR\no\n1\n[@\xB7JT@\xB7JT    ]" + tail,
        "WIMP\nR\no\n2\n[\xA3\xA3\x45\x45YYYYffff]" + tail,
        "WIMP\nR\no\n3\n[\x83\x5C\x81\x5B\x83\x6E\x81\x5B\x82\x50\x82\x51]" + tail,
    };
    for (int b = 0; b < 4; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(Bytes(HeaderPacket('o', b, c)), expected[b]);
        EXPECT_EQ(Bytes(HeaderPacket('o', b, c)).size(), 30u);
    }
}

TEST(UploadPackets, PointPacketsCarryEightPointsOfTheBlocksChannelInGridOrder)
{
    const CurveLines c = UploadTestCurve();
    EXPECT_EQ(Bytes(PointPacket(0, 0, c)), "1000\n1001\n1002\n1003\n1004\n1005\n1006\n1007\x03");
    EXPECT_EQ(Bytes(PointPacket(1, 14, c)), "2112\n2113\n2114\n2115\n2116\n2117\n2118\n2119\x03");
    EXPECT_EQ(Bytes(PointPacket(3, 7, c)), "4056\n4057\n4058\n4059\n4060\n4061\n4062\n4063\x03");

    const auto packets = SlotPackets(SlotChar(0), c);
    ASSERT_TRUE(packets);
    EXPECT_EQ(Sent(*packets), ExpectedSlot('0', c));
    std::vector<int> block{kHeaderPauseMs};
    block.insert(block.end(), 15, kPointPauseMs);
    std::vector<int> pauses;
    for (int b = 0; b < 4; ++b)
        pauses.insert(pauses.end(), block.begin(), block.end());
    EXPECT_EQ(Pauses(*packets), pauses);
}

TEST(UploadPackets, SlotCharactersRunFromZeroToSmallO)
{
    const std::pair<int, char> cases[] = {{1, '0'}, {10, '9'}, {11, ':'}, {64, 'o'}};
    for (const auto& [refNo, slot] : cases)
        EXPECT_EQ(SlotChar(refNo - 1), slot) << refNo;
}

TEST(UploadPackets, PacketsMustFitTheTransmitBuffer)
{
    // Point packet 5 of block 2: the long line, seven points of four bytes,
    // seven LFs and the ETX. A header: 14 bytes of frame around its field
    // line and the one-byte terminal and flags lines.
    struct Case {
        const char* what;
        int slot;
        std::size_t length;
        bool fits;
    };
    const Case cases[] = {
        {"point line filling the buffer exactly", PointSlot(2, 40), 2048 - 36, true},
        {"point line one byte more", PointSlot(2, 40), 2048 - 36 + 1, false},
        {"field line filling the buffer exactly", FreqRangeLine, 2048 - 14 - 2, true},
        {"field line one byte more", FreqRangeLine, 2048 - 14 - 2 + 1, false},
        {"terminal line far too long", TerminalLine, 5000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurveLines lines = UploadTestCurve();
        lines[c.slot] = std::string(c.length, '7');
        if (c.slot == TerminalLine) {
            EXPECT_FALSE(HeaderPacket('0', 0, lines));
        } else if (c.slot == FreqRangeLine) {
            const auto header = HeaderPacket('0', 1, lines);
            EXPECT_EQ(header.has_value(), c.fits);
            if (header) {
                EXPECT_EQ(header->count, 2048u);
            }
        } else {
            const auto points = PointPacket(2, 5, lines);
            EXPECT_EQ(points.has_value(), c.fits);
            if (points) {
                EXPECT_EQ(points->count, 2048u);
                EXPECT_EQ(Bytes(points).substr(2010), "77\n3041\n3042\n3043\n3044\n3045\n3046\n3047\x03");
            }
        }
        // One packet that does not fit refuses the whole slot.
        EXPECT_EQ(SlotPackets('0', lines).has_value(), c.fits);
    }
}

}  // namespace
}  // namespace qlx
