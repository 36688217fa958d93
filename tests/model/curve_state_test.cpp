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
    // Blanks in the other channels' positions encode -32: no grid index.
    EXPECT_EQ(s.ImpMinFreq[1], 0);
    EXPECT_EQ(s.ImpMaxFreq[1], 119);
}

// A file may hold any byte where a code character belongs. A range the
// editors could not produce (a bound off the grid, a start at or above the
// end) must reach neither the sweep command nor the judgement: each bound off
// the grid falls back to its default, and a pair still out of order falls
// back to the whole grid.
TEST(CurveState, DecodedRangesOutsideTheEditorsDomainFallBackToDefaults)
{
    struct Case {
        const char* what;
        int start, end;  // code values as stored (byte - 64)
        int wantStart, wantEnd;
    };
    const Case cases[] = {
        {"the editors' extremes", 0, 119, 0, 119},
        {"narrowest at the top", 118, 119, 118, 119},
        {"narrowest at the bottom", 0, 1, 0, 1},
        {"ordinary range", 10, 100, 10, 100},
        {"start below the grid ('?')", -1, 100, 0, 100},
        {"start a blank", ' ' - 64, 100, 0, 100},
        {"end one past the grid", 10, 120, 10, 119},
        {"end byte 0xFF", 10, 191, 10, 119},
        {"start at the last index", 119, 119, 0, 119},
        {"start equal to end", 50, 50, 0, 119},
        {"start above end", 60, 20, 0, 119},
        {"end at index 0", 0, 0, 0, 119},
        {"both off the grid", 150, -10, 0, 119},
        {"start off the grid, end 0", 130, 0, 0, 119},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurveState s = Fresh();
        // The case in channel 2; its neighbours hold a sound range.
        std::string range = std::string("[") + CodeChar(5) + CodeChar(50) + CodeChar(6) + CodeChar(60) +
                            CodeChar(c.start) + CodeChar(c.end) + CodeChar(7) + CodeChar(70) + "    ]";
        s.RefLines[FlagsLine] = "A";
        s.RefLines[FreqRangeLine] = range;
        s.ImpLines[FlagsLine] = "A";
        s.ImpLines[FreqRangeLine] = range;
        s.DecodeRefHeader();
        s.DecodeImpHeader();
        EXPECT_EQ(s.RefMinFreq, (ChannelInts{5, 6, c.wantStart, 7}));
        EXPECT_EQ(s.RefMaxFreq, (ChannelInts{50, 60, c.wantEnd, 70}));
        EXPECT_EQ(s.ImpMinFreq, (ChannelInts{5, 6, c.wantStart, 7}));
        EXPECT_EQ(s.ImpMaxFreq, (ChannelInts{50, 60, c.wantEnd, 70}));
    }
}

// Thresholds are percentages 5..99; any other stored value is replaced by
// that threshold's default, so the judgement never sees it.
TEST(CurveState, DecodedThresholdsOutsideFiveToNinetyNineFallBackToTheirDefaults)
{
    struct Case {
        int stored;
        int wantNg1, wantNg2, wantNg3;
    };
    const Case cases[] = {
        {5, 5, 5, 5},    {99, 99, 99, 99}, {4, 50, 25, 38},   {100, 50, 25, 38},
        {0, 50, 25, 38}, {-1, 50, 25, 38}, {-64, 50, 25, 38}, {191, 50, 25, 38},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        CurveState s = Fresh();
        s.RefLines[FlagsLine] = "B";
        // The case on channel 1 of each threshold; the others hold 60/30/40.
        const int others[3] = {60, 30, 40};
        std::string t = "[";
        for (int ng : others)
            for (int ch = 0; ch < 4; ++ch)
                t += CodeChar(ch == 1 ? c.stored : ng);
        t += "]";
        s.RefLines[ThresholdLine] = t;
        s.DecodeRefHeader();
        EXPECT_EQ(s.RefNg1, (ChannelInts{60, c.wantNg1, 60, 60}));
        EXPECT_EQ(s.RefNg2, (ChannelInts{30, c.wantNg2, 30, 30}));
        EXPECT_EQ(s.RefNg3, (ChannelInts{40, c.wantNg3, 40, 40}));
    }
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
