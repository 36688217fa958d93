#include <gtest/gtest.h>

#include "model/curve_lines.h"
#include "sim_curves.h"
#include "sim_responder.h"

namespace qlxsim {
namespace {

class Responder : public ::testing::Test {
protected:
    SimMemory memory = DefaultMemory(3);
    SimResponder responder{memory, 3};

    std::string Data(const Response& r)
    {
        EXPECT_GE(r.now.size(), 2u);
        EXPECT_EQ(r.now[0], kAck);
        return r.now.substr(2);
    }
};

TEST_F(Responder, StatusNamesTheModelAndTheMode)
{
    const Response r = responder.Answer("RSTT");
    ASSERT_EQ(r.now.back(), kEtx);
    EXPECT_LE(r.now.size(), 65u);
    EXPECT_NE(r.now.find("QLX-50"), std::string::npos);
    EXPECT_EQ(r.now[19], 'A');
    responder.sweepMode = false;
    EXPECT_NE(responder.Answer("RSTT").now[19], 'A');
}

TEST_F(Responder, HeaderReplyLayout)
{
    const std::string stored = Data(responder.Answer("RIMP\nR\n0\n0\nH"));
    ASSERT_GE(stored.size(), 19u);
    EXPECT_EQ(stored.substr(0, 14), "[WOOFER-16A  ]");
    EXPECT_EQ(stored[14], '\n');
    EXPECT_EQ(stored[15], 'B');
    EXPECT_TRUE(stored[17] & 0x08);
    EXPECT_EQ(stored.back(), kEtx);

    const std::string empty = Data(responder.Answer("RIMP\nR\nn\n0\nH"));
    EXPECT_FALSE(empty[17] & 0x08);
    // Measured block 3 starts with the name, block 0 with the time stamp.
    const std::string name = Data(responder.Answer("RIMP\nM\n0\n3\nH"));
    EXPECT_EQ(name.substr(0, 14), "[WOOFER-16A  ]");
    EXPECT_TRUE(name[17] & 0x08);
    const std::string stamp = Data(responder.Answer("RIMP\nM\n0\n0\nH"));
    EXPECT_EQ(stamp.find_first_not_of("0123456789", 1), 13u);
}

TEST_F(Responder, CurveReplyIsTheWholeBlock)
{
    const std::string data = Data(responder.Answer("RIMP\nR\n3\n2\nA"));
    ASSERT_EQ(data.back(), kEtx);
    const auto lines = SplitLines(data.substr(0, data.size() - 1));
    ASSERT_EQ(lines.size(), 123u);
    for (int i = 0; i < 123; ++i)
        EXPECT_EQ(lines[i], memory.ref[3][qlx::kBlockSize * 2 + i]) << i;
}

TEST_F(Responder, SweepAnswersAckNowAndTheAskedRangeLater)
{
    responder.sweepMs = 1200;
    const Response r = responder.Answer("RSWP\n2\n005\n087");
    EXPECT_EQ(r.now, std::string({kAck, kAfterAck}));
    EXPECT_EQ(r.delayMs, 1200 * 83 / 120);
    ASSERT_EQ(r.later.back(), kEtx);
    const auto values = SplitLines(r.later.substr(0, r.later.size() - 1));
    ASSERT_EQ(values.size(), 120u);
    for (int j = 0; j < 120; ++j) {
        const bool inRange = j >= 5 && j <= 87;
        EXPECT_EQ(values[j] != "0", inRange) << j;
    }
    EXPECT_TRUE(responder.Answer("RSTP").stop);
    EXPECT_TRUE(responder.Answer("RSTP").now.empty());
}

TEST_F(Responder, RefusesWhatItDoesNotKnow)
{
    for (const char* bad : {"XXXX", "RIMP\nR\np\n0\nA", "RIMP\nQ\n0\n0\nA", "RSWP\nZ\n000\n119", "RSWP\n2\n0\n119",
                            "0\n1\n2\n3\n4\n5\n6\n7"})
        EXPECT_EQ(responder.Answer(bad).now[0], kNak) << bad;
    responder.sweepMode = false;
    EXPECT_EQ(responder.Answer("RSWP\n2\n000\n119").now[0], kNak);
}

std::string Packet(const std::vector<std::string>& fields)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? "\n" : "") + fields[i];
    return out;
}

TEST_F(Responder, UploadPacketsWriteTheReferenceSlot)
{
    ASSERT_EQ(responder.Answer(Packet({"WIMP", "R", "o", "1", "[@w@w        ]", "B", "C"})).now[0], kAck);
    for (int k = 0; k < 15; ++k) {
        std::vector<std::string> points;
        for (int i = 0; i < 8; ++i)
            points.push_back(std::to_string(1000 + 8 * k + i));
        ASSERT_EQ(responder.Answer(Packet(points)).now[0], kAck) << k;
    }
    EXPECT_EQ(responder.Answer("1\n2\n3\n4\n5\n6\n7\n8").now[0], kNak);  // no sixteenth packet
    const qlx::CurveLines& slot = memory.ref[63];
    EXPECT_EQ(slot[123], "[@w@w        ]");
    EXPECT_EQ(slot[qlx::PointSlot(1, 0)], "1000");
    EXPECT_EQ(slot[qlx::PointSlot(1, 119)], "1119");

    // Block 0 with a name marks the slot stored; the empty curve clears it.
    responder.Answer(Packet({"WIMP", "R", "o", "0", "[NEW         ]", "B", "C"}));
    EXPECT_TRUE(SimMemory::Stored(memory.ref[63]));
    responder.Answer(Packet({"WIMP", "R", "0", "0", "[            ]", "@", "@"}));
    EXPECT_FALSE(SimMemory::Stored(memory.ref[0]));
    EXPECT_EQ(memory.ref[0][qlx::PointSlot(0, 10)], "0");
}

TEST(SimCurves, DefaultSpeakersLookLikeLoudspeakers)
{
    const SimMemory memory = DefaultMemory(1);
    int stored = 0;
    std::set<std::string> terminals;
    for (const auto& slot : memory.ref) {
        if (!SimMemory::Stored(slot))
            continue;
        ++stored;
        terminals.insert(slot[qlx::TerminalLine]);
        for (int ch = 0; ch < qlx::ChannelsWithData(slot[qlx::TerminalLine]); ++ch) {
            const Points p = PointsOf(slot, ch);
            const int peak = static_cast<int>(std::max_element(p.begin(), p.begin() + 60) - p.begin());
            const int floor = *std::min_element(p.begin(), p.begin() + 100);
            EXPECT_GE(Hertz(peak), 38.0);
            EXPECT_LE(Hertz(peak), 100.0);
            EXPECT_GE(p[peak], 300);
            EXPECT_LE(p[peak], 600);
            EXPECT_GE(floor, 55);
            EXPECT_LE(floor, 85);
            EXPECT_GE(p[119], 150);
            EXPECT_LE(p[119], 300);
        }
    }
    EXPECT_GE(stored, 4);
    EXPECT_GE(terminals.size(), 3u);
}

TEST(SimCurves, StoredMeasurementsCarryTheirReferencesNameAndATimeStamp)
{
    const SimMemory memory = DefaultMemory(1);
    std::set<std::string> refNames;
    std::vector<int> refSlots, measSlots;
    for (int s = 0; s < kSlots; ++s) {
        if (SimMemory::Stored(memory.ref[s])) {
            refSlots.push_back(s);
            refNames.insert(memory.ref[s][qlx::NameLine]);
        }
    }
    for (int s = 0; s < kSlots; ++s) {
        if (!SimMemory::Stored(memory.meas[s]))
            continue;
        measSlots.push_back(s);
        const qlx::CurveLines& m = memory.meas[s];
        EXPECT_EQ(refNames.count(m[qlx::NameLine]), 1u) << "measured slot " << s;
        const std::string stamp = qlx::BracketPayload(m[qlx::StampLine]);
        ASSERT_EQ(stamp.size(), 12u);
        ASSERT_EQ(stamp.find_first_not_of("0123456789"), std::string::npos) << stamp;
        const int month = std::stoi(stamp.substr(2, 2)), day = std::stoi(stamp.substr(4, 2));
        const int hour = std::stoi(stamp.substr(6, 2)), minute = std::stoi(stamp.substr(8, 2));
        const int second = std::stoi(stamp.substr(10, 2));
        EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 31) << stamp;
        EXPECT_TRUE(hour < 24 && minute < 60 && second < 60) << stamp;
    }
    // A believable list: a few curves with empty slots between them, and
    // slot 0 (the measured list's row 64) among them.
    EXPECT_GE(measSlots.size(), 10u);
    EXPECT_GT(measSlots.back() + 1, static_cast<int>(measSlots.size()));
    EXPECT_EQ(measSlots.front(), 0);
    EXPECT_GT(refSlots.back() + 1, static_cast<int>(refSlots.size()));
}

TEST(SimCurves, MeasurementsPassSometimesAndFailOtherTimes)
{
    const Points ref = CurveOf({6.4, 52, 42, 4.5, 0.16});
    std::mt19937 rng(11);
    int within = 0, outside = 0;
    for (int n = 0; n < 30; ++n) {
        const Points m = MeasuredVariant(ref, rng);
        double worst = 0;
        for (int j = 0; j < 120; ++j)
            worst = std::max(worst, std::abs(m[j] - ref[j]) / double(ref[j]));
        (worst < 0.25 ? within : outside)++;
    }
    EXPECT_GE(within, 10);
    EXPECT_GE(outside, 3);
}

}  // namespace
}  // namespace qlxsim
