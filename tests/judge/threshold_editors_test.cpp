#include <gtest/gtest.h>

#include "judge/threshold_editors.h"

namespace qlx {
namespace {

using E = ThresholdEditor;

struct EditorFixture : ::testing::Test {
    CurveState s;
    EditorPositions pos;
    void SetUp() override { s.FillDefaultLines(); }
};

struct RefusalCase {
    E editor;
    int direction;
    EditorPositions start;
    int expected;  // position after the key
    bool accepted;
};

TEST_F(EditorFixture, KeyStepsAcceptOrRestoreNeighbour)
{
    const RefusalCase cases[] = {
        {E::Ng2, +1, {10, 9, 38, 0, 119}, 9, false},          {E::Ng1, -1, {10, 9, 38, 0, 119}, 10, false},
        {E::Ng1, +1, {10, 9, 38, 0, 119}, 11, true},          {E::Ng2, -1, {10, 9, 38, 0, 119}, 8, true},
        {E::MinFreq, +1, {50, 25, 38, 100, 101}, 100, false}, {E::MaxFreq, -1, {50, 25, 38, 100, 101}, 101, false},
        {E::MaxFreq, +1, {50, 25, 38, 100, 119}, 119, true},  // clamped at the top, still accepted
        {E::MinFreq, -1, {50, 25, 38, 0, 119}, 0, true},      {E::Ng3, +1, {50, 25, 99, 0, 119}, 99, true},
        {E::Ng3, -1, {50, 25, 6, 0, 119}, 5, true},           {E::Ng2, -1, {50, 5, 38, 0, 119}, 5, true},
    };
    for (const auto& c : cases) {
        CurveState state;
        state.FillDefaultLines();
        EditorPositions p = c.start;
        EXPECT_EQ(EditorKeyStep(c.editor, c.direction, p, state), c.accepted) << static_cast<int>(c.editor);
        EXPECT_EQ(p[c.editor], c.expected) << static_cast<int>(c.editor);
        const std::uint8_t flags =
            c.accepted ? (IsRangeEditor(c.editor) ? FlagRangeValid : FlagRangeValid | FlagThresholdsValid) : 0;
        EXPECT_EQ(state.RefFlags, flags) << static_cast<int>(c.editor);
        EXPECT_EQ(state.RefLines[FlagsLine], std::string(1, CodeChar(flags))) << static_cast<int>(c.editor);
    }
}

TEST_F(EditorFixture, AcceptedChangeStoresSelectedChannelAndEncodesLines)
{
    s.SelectedChannel = 2;
    pos = PositionsForChannel(s, 2);
    pos.Ng3 = 99;
    ASSERT_TRUE(EditorChanged(E::Ng3, pos, s));
    EXPECT_EQ(s.RefNg3, (ChannelInts{38, 38, 99, 38}));
    // NG1 x4, NG2 x4, NG3 x4 as code characters; 99 is the raw byte 0xA3.
    EXPECT_EQ(s.RefLines[ThresholdLine],
              "[rrrrYYYYff\xA3"
              "f]");
    EXPECT_EQ(s.RefLines[FreqRangeLine], "[@\xB7@\xB7@\xB7@\xB7    ]");
    EXPECT_EQ(s.RefLines[FlagsLine], "C");

    pos.MinFreq = 30;
    ASSERT_TRUE(EditorChanged(E::MinFreq, pos, s));
    EXPECT_EQ(s.RefMinFreq, (ChannelInts{0, 0, 30, 0}));
    EXPECT_EQ(s.RefLines[FreqRangeLine], "[@\xB7@\xB7^\xB7@\xB7    ]");
}

TEST_F(EditorFixture, RefusedChangeLeavesStoredValues)
{
    pos = {10, 9, 38, 100, 101};
    s.RefNg1[0] = 10;
    s.RefNg2[0] = 9;
    pos.Ng2 = 10;
    EXPECT_FALSE(EditorChanged(E::Ng2, pos, s));
    EXPECT_EQ(s.RefNg2[0], 9);
    EXPECT_EQ(s.RefLines[ThresholdLine], "[            ]");
}

TEST(EditorTexts, ThresholdAndFrequency)
{
    EXPECT_EQ(ThresholdText(50), " 50%");
    EXPECT_EQ(ThresholdText(5), " 5%");
    EXPECT_EQ(FreqText(0), " 20.0Hz");
    EXPECT_EQ(FreqText(68), " 1.00kHz");
    EXPECT_EQ(FreqText(119), " 20.0kHz");
}

TEST(EditorPositionsForChannel, ClampedLikeASpinner)
{
    CurveState s;
    s.RefNg1[1] = 120;
    s.RefMinFreq[1] = 119;
    s.RefMaxFreq[1] = 0;
    const EditorPositions p = PositionsForChannel(s, 1);
    EXPECT_EQ(p.Ng1, 99);
    EXPECT_EQ(p.MinFreq, 118);
    EXPECT_EQ(p.MaxFreq, 1);
}

}  // namespace
}  // namespace qlx
