#include <gtest/gtest.h>

#include "judge/curve_fixture.h"
#include "judge/judge_display.h"
#include "judge/thresholds.h"

namespace qlx {
namespace {

using test::FlatCurves;
using test::SetPoint;
using test::SetPointText;

struct ThresholdCase {
    std::int64_t r;
    int p;
    std::int64_t high;
    std::int64_t low;
};

TEST(ThresholdValues, RoundUpOnlyAboveFiveHundredths)
{
    const ThresholdCase cases[] = {
        {1000, 5, 1050, 950},
        {123, 38, 170, 76},
        {101, 5, 106, 95},
        {0, 50, 0, 0},
        {1, 50, 2, 0},
        {999, 99, 1988, 9},
        {2000000000, 99, 3980000000, 20000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ThresholdHigh(c.r, c.p), c.high) << c.r << " " << c.p;
        EXPECT_EQ(ThresholdLow(c.r, c.p), c.low) << c.r << " " << c.p;
    }
}

TEST(ReferenceMinimum, FirstOfTiesBelow1001WithinRange)
{
    CurveState s = FlatCurves(0, 1001);
    EXPECT_EQ(ReferenceMinimumIndex(s.RefLines, 0, 10, 50), 0) << "no value below 1001";
    SetPoint(s.RefLines, 0, 20, 400);
    SetPoint(s.RefLines, 0, 30, 400);
    SetPoint(s.RefLines, 0, 60, 100);
    SetPointText(s.RefLines, 0, 15, "x");
    EXPECT_EQ(ReferenceMinimumIndex(s.RefLines, 0, 10, 50), 20);
    EXPECT_EQ(ReferenceMinimumIndex(s.RefLines, 0, 10, 60), 60);
    EXPECT_EQ(ReferenceMinimumIndex(s.RefLines, 0, 21, 59), 30);
}

// A flat reference of 1000 over 0..119 with its minimum 900 at index 60, NG1
// 50, NG2 25, NG3 5; the measured curve follows the reference except where a
// case changes it.
struct JudgeCase {
    const char* name;
    std::vector<std::pair<int, int>> measured;  // index, value
    int a;
    int b;
    const char* expected;
};

TEST(Judgement, PrecedenceAndEdges)
{
    const JudgeCase cases[] = {
        {"equal curves", {}, 0, 119, "OK"},
        {"just on the upper band", {{30, 1050}}, 0, 119, "OK"},
        {"above the upper band", {{30, 1051}}, 0, 119, "NG3H"},
        {"just on the lower band", {{30, 950}}, 0, 119, "OK"},
        {"below the lower band", {{30, 949}}, 0, 119, "NG3L"},
        {"band start not tested", {{10, 5000}}, 10, 119, "OK"},
        {"point after start tested", {{11, 5000}}, 10, 119, "NG3H"},
        {"band end tested", {{119, 5000}}, 10, 119, "NG3H"},
        {"outside range not tested", {{9, 5000}, {100, 0}}, 10, 90, "OK"},
        {"low and high: low wins", {{20, 5000}, {90, 1}}, 0, 119, "NG3L"},
        {"high after low: low wins", {{90, 5000}, {20, 1}}, 0, 119, "NG3L"},
        {"NG2 high at minimum", {{60, 1126}}, 0, 119, "NG2H"},
        {"NG2 low at minimum", {{60, 674}}, 0, 119, "NG2L"},
        {"NG1 high over band", {{60, 1351}, {20, 1}}, 0, 119, "NG1H"},
        {"NG1 low over band", {{60, 449}, {20, 5000}}, 0, 119, "NG1L"},
        {"minimum out of range", {{60, 5000}}, 0, 59, "OK"},
    };
    for (const auto& jc : cases) {
        CurveState s = FlatCurves(1000, 1000);
        SetPoint(s.RefLines, 0, 60, 900);
        SetPoint(s.ImpLines, 0, 60, 900);
        for (auto [j, v] : jc.measured)
            SetPoint(s.ImpLines, 0, j, v);
        const ThresholdDrawing d = JudgeThresholds(s.RefLines, s.ImpLines, 0, {50, 25, 5}, jc.a, jc.b);
        EXPECT_EQ(JudgeResultText(d.verdict), std::string(jc.expected)) << jc.name;
    }
}

TEST(Judgement, ZeroReferenceAndMissingPointsAreNotTested)
{
    CurveState s = FlatCurves(1000, 1000);
    SetPoint(s.RefLines, 0, 40, 0);
    SetPoint(s.ImpLines, 0, 40, 5000);
    SetPointText(s.ImpLines, 0, 41, "");
    SetPointText(s.RefLines, 0, 42, "?");
    SetPoint(s.ImpLines, 0, 42, 5000);
    const ThresholdDrawing d = JudgeThresholds(s.RefLines, s.ImpLines, 0, {50, 25, 38}, 30, 50);
    EXPECT_EQ(JudgeResultText(d.verdict), std::string("OK"));
    // The zero reference point is the minimum: its crosses sit at 0 and no test is made.
    ASSERT_EQ(d.crosses.size(), 4u);
    EXPECT_EQ(d.crosses[0].index, 40);
    EXPECT_EQ(d.crosses[0].value, 0);
}

TEST(ThresholdDrawingData, CurvesCrossesAndStartFormula)
{
    CurveState s = FlatCurves(123, 123);
    SetPoint(s.RefLines, 0, 7, 0);
    SetPointText(s.RefLines, 0, 8, "n/a");
    const ThresholdDrawing d = JudgeThresholds(s.RefLines, s.ImpLines, 0, {50, 25, 38}, 5, 9);
    // Start point: plain truncation 169.74 -> 169 and 76.26 -> 76; later points ThresholdHigh 170.
    ASSERT_EQ(d.upper.size(), 4u);  // 5, 6, 7, 9 (8 missing)
    EXPECT_EQ(d.upper[0].value, 169);
    EXPECT_EQ(d.upper[1].value, 170);
    EXPECT_TRUE(d.upper[2].onFloor);
    EXPECT_EQ(d.upper[3].index, 9);
    EXPECT_EQ(d.lower[0].value, 76);
    EXPECT_EQ(d.lower[1].value, 76);
    ASSERT_EQ(d.crosses.size(), 4u);
    EXPECT_EQ(d.crosses[0].kind, CrossKind::Ng2);
    EXPECT_EQ(d.crosses[0].value, 0);  // minimum is the zero at 7
    EXPECT_EQ(d.crosses[3].kind, CrossKind::Ng1);

    SetPointText(s.RefLines, 0, 5, "");
    const ThresholdDrawing none = JudgeThresholds(s.RefLines, s.ImpLines, 0, {50, 25, 38}, 5, 9);
    EXPECT_TRUE(none.upper.empty());
    EXPECT_TRUE(none.lower.empty());
}

TEST(JudgeDisplay, BadgeOnlyWithBothCurves)
{
    struct Case {
        bool imp, ref;
        const char* result;
        bool update, label;
        int badge;
    };
    const Case cases[] = {
        {true, true, "OK", true, true, 0}, {true, true, "NG3L", true, true, 6},     {true, true, "NG1H", true, true, 1},
        {true, true, "", true, false, -1}, {false, true, "NG3L", false, false, -1}, {true, false, "", false, false, -1},
    };
    for (const auto& c : cases) {
        const JudgeDisplay d = ShowJudgement(c.imp, c.ref, *JudgeResultFromText(c.result));
        EXPECT_EQ(d.UpdateBadges, c.update) << c.result;
        EXPECT_EQ(d.LabelEnabled, c.label) << c.result;
        EXPECT_EQ(d.Badge, c.badge) << c.result;
    }
    EXPECT_EQ(BadgeColour(0), 0x0000FFu);
    EXPECT_EQ(BadgeColour(3), 0xFF0000u);
}

}  // namespace
}  // namespace qlx
