#include <gtest/gtest.h>

#include "judge/cursor.h"
#include "judge/curve_fixture.h"

namespace qlx {
namespace {

using test::FlatCurves;
using test::SetPoint;
using test::SetPointText;

TEST(CursorTexts, OhmReadout)
{
    const std::pair<std::optional<int>, const char*> cases[] = {
        {1001, " > 100ohm"}, {1000, " 100ohm"}, {5, " 0.5ohm"},    {123, " 12.3ohm"},
        {0, " 0ohm"},        {-5, " -0.5ohm"},  {-120, " -12ohm"}, {std::nullopt, " "},
    };
    for (const auto& [v, text] : cases)
        EXPECT_EQ(OhmText(v), text);
}

TEST(CursorTexts, DeviationReadoutAndSearchFormulas)
{
    struct Case {
        int m, r;
        const char* readout;
        std::int64_t search;
    };
    const Case cases[] = {
        {5, 0, " > 100%", 0},
        {0, 0, " 0%", 0},
        {50, 100, " -50%", -50},
        {1, 1000, " -99%", -100},
        {1, 3, " -66%", -67},
        {999, 1000, " 0%", -1},
        {2001, 1000, " 100%", 100},
        {3000, 1000, " > 100%", 200},
        {0, 1000, " -100%", -100},
        {-5, 1000, " -100%", -100},
        {-1000, 1000, " < -100%", -200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PercentText(DeviationReadout(c.m, c.r)), c.readout) << c.m << "/" << c.r;
        if (c.r != 0) {
            EXPECT_EQ(DeviationForSearch(c.m, c.r), c.search) << c.m << "/" << c.r;
        }
    }
}

TEST(CursorMouse, ColumnToIndex)
{
    const std::pair<int, int> cases[] = {{0, 0},     {29, 0},    {30, 0},    {34, 0},    {35, 1},
                                         {619, 117}, {620, 118}, {629, 119}, {640, 119}, {649, 119}};
    for (auto [x, k] : cases)
        EXPECT_EQ(CursorIndexAtImageX(x), k) << x;
    EXPECT_EQ(ClampCursorIndex(120), 119);
    EXPECT_EQ(ClampCursorIndex(-1), 0);
}

TEST(CursorReadoutsTest, FieldsSetBlankedOrKept)
{
    CurveState s = FlatCurves(123, 100);
    s.CursorOn = true;
    s.DrawMinFreq = 10;
    s.DrawMaxFreq = 100;
    // Cursor inside both ranges.
    CursorReadouts r = CursorValueReadouts(s, 50, 20, 90, true);
    EXPECT_EQ(r.Imp, " 12.3ohm");
    EXPECT_EQ(r.Ref, " 10ohm");
    EXPECT_EQ(r.Percent, " 23%");
    // Outside the measured curve's valid range: both ohm fields blank.
    r = CursorValueReadouts(s, 101, 20, 119, true);
    EXPECT_EQ(r.Imp, " ");
    EXPECT_EQ(r.Ref, " ");
    EXPECT_EQ(r.Percent, " 23%");
    // Outside the judgement range: deviation blank.
    r = CursorValueReadouts(s, 15, 20, 90, true);
    EXPECT_EQ(r.Percent, " ");
    // Channel not allowed or a missing point: deviation keeps its text.
    EXPECT_EQ(CursorValueReadouts(s, 50, 20, 90, false).Percent, std::nullopt);
    SetPointText(s.RefLines, 0, 50, "-");
    r = CursorValueReadouts(s, 50, 20, 90, true);
    EXPECT_EQ(r.Ref, " ");
    EXPECT_EQ(r.Percent, std::nullopt);
    // Reference not loaded: its field keeps its text.
    s.RefLoaded = false;
    r = CursorValueReadouts(s, 51, 20, 90, true);
    EXPECT_EQ(r.Ref, std::nullopt);
    EXPECT_EQ(r.Percent, std::nullopt);
    // Cursor off: measured and deviation blank, reference kept.
    s.CursorOn = false;
    r = CursorValueReadouts(s, 50, 20, 90, true);
    EXPECT_EQ(r.Imp, " ");
    EXPECT_EQ(r.Percent, " ");
    EXPECT_EQ(r.Ref, std::nullopt);
}

TEST(CursorSearch, MeasuredAndReferenceFirstOfTiesWithinValidRange)
{
    CurveState s = FlatCurves(500, 500);
    s.DrawMinFreq = 10;
    s.DrawMaxFreq = 100;
    for (int j : {20, 30})
        SetPoint(s.ImpLines, 0, j, 900);
    for (int j : {40, 50})
        SetPoint(s.ImpLines, 0, j, 100);
    SetPoint(s.ImpLines, 0, 5, 2000);   // outside the range
    SetPoint(s.ImpLines, 0, 60, 1001);  // never a minimum, a fine maximum
    SetPointText(s.ImpLines, 0, 70, "");
    SetPoint(s.RefLines, 0, 101, 1);  // outside the range
    SetPoint(s.RefLines, 0, 12, 1);
    CursorSearches cs;
    cs.SearchImp(s);
    EXPECT_EQ(cs.ImpMaxIndex, 60);
    EXPECT_EQ(cs.ImpMinIndex, 40);
    cs.SearchRef(s);
    EXPECT_EQ(cs.RefMaxIndex, 10);
    EXPECT_EQ(cs.RefMinIndex, 12);

    // A curve that is never loaded keeps the previous results.
    s.ImpLoaded = false;
    SetPoint(s.ImpLines, 0, 11, 5000);
    cs.SearchImp(s);
    EXPECT_EQ(cs.ImpMaxIndex, 60);
    // All values out of reach of the running extremes: both indices 0.
    CurveState zero = FlatCurves(0, 0);
    zero.DrawMinFreq = 10;
    cs.SearchImp(zero);
    EXPECT_EQ(cs.ImpMaxIndex, 0);
    EXPECT_EQ(cs.ImpMinIndex, 10);
}

TEST(CursorSearch, LargestDeviationSkipsZeroReferenceKeepsFirst)
{
    CurveState s = FlatCurves(100, 100);
    SetPoint(s.RefLines, 0, 15, 0);
    SetPoint(s.ImpLines, 0, 15, 9999);
    SetPoint(s.ImpLines, 0, 30, 50);   // -50
    SetPoint(s.ImpLines, 0, 40, 150);  // +50, same size: first kept
    SetPoint(s.ImpLines, 0, 95, 10);   // outside the judgement range
    CursorSearches cs;
    cs.DeviationMaxIndex = 77;
    cs.SearchDeviation(s, 10, 90);
    EXPECT_EQ(cs.DeviationMaxIndex, 30);
    CurveState flat = FlatCurves(100, 100);
    cs.SearchDeviation(flat, 10, 90);
    EXPECT_EQ(cs.DeviationMaxIndex, 0);
    flat.RefLoaded = false;
    cs.DeviationMaxIndex = 5;
    cs.SearchDeviation(flat, 10, 90);
    EXPECT_EQ(cs.DeviationMaxIndex, 5);
}

TEST(CursorSearch, LargestDeviationOfAGivenChannelWithItsPercent)
{
    CurveState s = FlatCurves(100, 100);
    SetPoint(s.ImpLines, 0, 20, 10);   // -90, but on channel 1
    SetPoint(s.ImpLines, 2, 30, 135);  // +35
    SetPoint(s.ImpLines, 2, 50, 60);   // -40
    SetPoint(s.ImpLines, 2, 95, 300);  // outside the range
    const LargestDeviation d = FindLargestDeviation(s.RefLines, s.ImpLines, 2, 10, 90);
    EXPECT_EQ(d.index, 50);
    EXPECT_EQ(d.percent, -40);
    const LargestDeviation none = FindLargestDeviation(s.RefLines, s.ImpLines, 1, 10, 90);
    EXPECT_EQ(none.index, 0);
    EXPECT_EQ(none.percent, 0);
}

TEST(CursorEnabling, ByToggleAndLoadedCurves)
{
    const CursorControls off = CursorControlsFor(false, true, true);
    EXPECT_FALSE(off.FreqUpDown || off.FreqEdit || off.ImpEdit || off.RefEdit || off.PercentEdit || off.HensaButton);
    const CursorControls none = CursorControlsFor(true, false, false);
    EXPECT_TRUE(none.FreqUpDown && none.FreqEdit);
    EXPECT_FALSE(none.ImpEdit || none.ImpButtons || none.RefEdit || none.RefButtons || none.PercentEdit);
    const CursorControls imp = CursorControlsFor(true, true, false);
    EXPECT_TRUE(imp.ImpEdit && imp.ImpButtons);
    EXPECT_FALSE(imp.RefEdit || imp.PercentEdit || imp.HensaButton);
    const CursorControls both = CursorControlsFor(true, true, true);
    EXPECT_TRUE(both.RefEdit && both.RefButtons && both.PercentEdit && both.HensaButton);
}

}  // namespace
}  // namespace qlx
