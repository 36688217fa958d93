#include <gtest/gtest.h>

#include "model/curve_state.h"

namespace qlx {
namespace {

CurveState Fresh()
{
    CurveState s;
    s.FillDefaultLines();
    return s;
}

TEST(CurveState, UnflaggedReferenceDecodesToDefaults)
{
    CurveState s = Fresh();
    s.RefLines[ThresholdLine] = "[ABCDEFGHIJKL]";  // ignored: flag bit 1 clear
    s.RefNg1 = {9, 9, 9, 9};
    s.RefMinFreq = {5, 5, 5, 5};
    s.DecodeRefHeader();
    EXPECT_EQ(s.RefFlags, 0);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(s.RefNg1[c], 50);
        EXPECT_EQ(s.RefNg2[c], 25);
        EXPECT_EQ(s.RefNg3[c], 38);
        EXPECT_EQ(s.RefMinFreq[c], 0);
        EXPECT_EQ(s.RefMaxFreq[c], 119);
    }
    EXPECT_FALSE(s.Protected());
}

TEST(CurveState, FlaggedReferenceDecodesBothFieldsAndProtect)
{
    CurveState s = Fresh();
    s.RefLines[FlagsLine] = "G";  // bits 0, 1, 2
    s.RefLines[FreqRangeLine] = std::string("[") + CodeChar(1) + CodeChar(118) + CodeChar(2) + CodeChar(117) +
                                CodeChar(3) + CodeChar(116) + CodeChar(4) + CodeChar(119) + "    ]";
    s.RefLines[ThresholdLine] = std::string("[") + CodeChar(60) + CodeChar(61) + CodeChar(62) + CodeChar(99) +
                                CodeChar(30) + CodeChar(31) + CodeChar(32) + CodeChar(5) + CodeChar(40) + CodeChar(41) +
                                CodeChar(42) + CodeChar(43) + "]";
    s.SelectedChannel = 2;
    s.DecodeRefHeader();
    EXPECT_EQ(s.RefFlags, 7);
    EXPECT_TRUE(s.Protected());
    EXPECT_EQ(s.RefMinFreq, (ChannelInts{1, 2, 3, 4}));
    EXPECT_EQ(s.RefMaxFreq, (ChannelInts{118, 117, 116, 119}));
    EXPECT_EQ(s.RefNg1, (ChannelInts{60, 61, 62, 99}));
    EXPECT_EQ(s.RefNg2, (ChannelInts{30, 31, 32, 5}));
    EXPECT_EQ(s.RefNg3, (ChannelInts{40, 41, 42, 43}));
    EXPECT_EQ(s.SelectedChannel, 0);

    s.SetProtect(false);
    EXPECT_EQ(s.RefLines[FlagsLine], "C");
    s.SetProtect(true);
    EXPECT_EQ(s.RefLines[FlagsLine], "G");
}

TEST(CurveState, ShortReferenceFieldsFallBackToDefaults)
{
    CurveState s = Fresh();
    s.RefLines[FlagsLine] = "C";
    s.RefLines[FreqRangeLine] = "[AB";
    s.RefLines[ThresholdLine] = "";
    s.DecodeRefHeader();
    EXPECT_EQ(s.RefMinFreq, (ChannelInts{1, 0, 0, 0}));
    EXPECT_EQ(s.RefMaxFreq, (ChannelInts{2, 119, 119, 119}));
    EXPECT_EQ(s.RefNg1, (ChannelInts{50, 50, 50, 50}));
}

TEST(CurveState, MeasuredHeaderSetsValidRangeAndDrawRange)
{
    CurveState s = Fresh();
    s.ImpLines[FlagsLine] = "I";  // bits 0 and 3
    s.ImpLines[FreqRangeLine] = std::string("[") + CodeChar(10) + CodeChar(100) + "          ]";
    s.SelectedChannel = 3;
    s.DecodeImpHeader();
    EXPECT_EQ(s.ImpMinFreq[0], 10);
    EXPECT_EQ(s.ImpMaxFreq[0], 100);
    EXPECT_EQ(s.DrawMinFreq, 10);
    EXPECT_EQ(s.DrawMaxFreq, 100);
    EXPECT_EQ(s.SelectedChannel, 0);
    // Blanks in the other channels' positions decode to whatever they encode.
    EXPECT_EQ(s.ImpMinFreq[1], ' ' - 64);
}

TEST(CurveState, EncodersRewriteFieldsAndFlags)
{
    CurveState s = Fresh();
    s.RefLines[FreqRangeLine].clear();
    s.RefMinFreq = {0, 1, 2, 3};
    s.RefMaxFreq = {119, 118, 117, 116};
    s.EncodeRange();
    EXPECT_EQ(s.RefLines[FreqRangeLine], std::string("[@\xB7"
                                                     "A\xB6"
                                                     "B\xB5"
                                                     "C\xB4    ]"));
    EXPECT_EQ(s.RefLines[FlagsLine], "A");

    s.RefNg1 = {99, 50, 50, 50};
    s.EncodeThresholds();
    EXPECT_EQ(s.RefLines[ThresholdLine].size(), 14u);
    EXPECT_EQ(s.RefLines[ThresholdLine][1], '\xA3');
    EXPECT_EQ(s.RefLines[ThresholdLine].substr(5, 4), "YYYY");  // NG2 25 on every channel
    EXPECT_EQ(s.RefLines[FlagsLine], "C");
    EXPECT_EQ(s.RefFlags, 3);

    s.DecodeRefHeader();
    EXPECT_EQ(s.RefNg1[0], 99);
    EXPECT_EQ(s.RefMaxFreq[3], 116);
}

TEST(CurveState, TerminalAndChannelSelection)
{
    CurveState s = Fresh();
    s.SetRefTerminal(1);
    EXPECT_EQ(s.RefLines[TerminalLine], "E");
    s.SetRefTerminal(2);
    EXPECT_EQ(s.RefLines[TerminalLine], "G");

    s.ImpMinFreq = {0, 7, 0, 0};
    s.ImpMaxFreq = {119, 80, 119, 119};
    EXPECT_FALSE(s.SelectChannel(0));
    EXPECT_TRUE(s.SelectChannel(1));
    EXPECT_EQ(s.SelectedChannel, 1);
    EXPECT_EQ(s.DrawMinFreq, 7);
    EXPECT_EQ(s.DrawMaxFreq, 80);
    EXPECT_FALSE(s.SelectChannel(1));
    EXPECT_FALSE(s.SelectChannel(4));
}

}  // namespace
}  // namespace qlx
