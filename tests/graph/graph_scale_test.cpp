#include <gtest/gtest.h>

#include "graph/graph_level.h"
#include "graph/graph_scale.h"
#include "judge/curve_fixture.h"

namespace qlx {
namespace {

TEST(GraphScaleTest, ValueRowPerZoomAndOffset)
{
    struct Case {
        float zoom;
        int offset;
        std::int64_t v, row;
    };
    const Case cases[] = {
        {1, 0, 1000, 0},    {1, 0, 0, 200},
        {1, 0, 200, 160},   {1, 0, 3, 199},
        {1, 0, 2, 200},     {1, 0, -10, 202},
        {2, 500, 1000, 0},  {2, 500, 500, 200},
        {2, 500, 0, 400},   {4, 250, 500, 0},
        {4, 250, 251, 199}, {10, 900, 950, 100},
        {10, 900, 1000, 0}, {10, 0, 2147483647LL, 200 - 4294967294LL},
    };
    for (const auto& c : cases)
        EXPECT_EQ((GraphScale{c.zoom, c.offset}.ValueRow(c.v)), c.row) << c.zoom << " " << c.offset << " " << c.v;
}

TEST(GraphScaleTest, PointColumns)
{
    EXPECT_EQ(PointColumn(0), 0);
    EXPECT_EQ(PointColumn(1), 5);
    EXPECT_EQ(PointColumn(118), 590);
    EXPECT_EQ(PointColumn(119), 600);
}

TEST(GraphScaleTest, ChannelAllowedByTerminal)
{
    struct Case {
        const char* terminal;
        bool ch[4];
    };
    const Case cases[] = {
        {"B", {true, false, false, false}}, {"C", {true, true, false, false}}, {"E", {true, true, false, false}},
        {"F", {true, true, false, false}},  {"G", {true, true, true, true}},   {"BB", {true, true, true, true}},
        {"", {true, true, true, true}},
    };
    for (const auto& c : cases) {
        CurveLines ref{};
        ref[TerminalLine] = c.terminal;
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_EQ(ChannelAllowed(ref, ch), c.ch[ch]) << c.terminal << " " << ch;
    }
}

TEST(GraphLevelTest, ZoomInOutSequences)
{
    GraphLevel level;
    for (float z : {2.0f, 4.0f, 10.0f}) {
        EXPECT_TRUE(level.ZoomIn());
        EXPECT_EQ(level.GraphZoom, z);
    }
    EXPECT_FALSE(level.ZoomIn());
    EXPECT_EQ(level.GraphZoom, 10.0f);
    EXPECT_TRUE(level.Visible);
    EXPECT_EQ(level.Minimum, 100);
    EXPECT_EQ(level.ScrollStep, 20);
    ASSERT_TRUE(level.SetPosition(100));
    EXPECT_EQ(level.LevelOffset(), 900);

    struct Step {
        float zoom;
        int minimum, position, step, offset;
        bool visible;
    };
    const Step out[] = {{4, 250, 250, 50, 750, true}, {2, 500, 500, 100, 500, true}, {1, 500, 1000, 100, 0, false}};
    for (const auto& s : out) {
        ASSERT_TRUE(level.ZoomOut());
        EXPECT_EQ(level.GraphZoom, s.zoom);
        EXPECT_EQ(level.Minimum, s.minimum);
        EXPECT_EQ(level.Position, s.position);
        EXPECT_EQ(level.ScrollStep, s.step);
        EXPECT_EQ(level.LevelOffset(), s.offset);
        EXPECT_EQ(level.Visible, s.visible);
    }
    EXPECT_FALSE(level.ZoomOut());
}

TEST(GraphLevelTest, PositionKeptUnlessBelowNewMinimumAndResetAnywhere)
{
    GraphLevel level;
    level.ZoomIn();
    level.ZoomIn();
    level.SetPosition(700);
    level.ZoomIn();  // 10: minimum 100, 700 stays
    EXPECT_EQ(level.Position, 700);
    level.ZoomOut();  // 4: minimum 250, 700 stays
    EXPECT_EQ(level.Position, 700);
    level.ZoomReset();
    EXPECT_EQ(level.GraphZoom, 1.0f);
    EXPECT_EQ(level.LevelOffset(), 0);
    EXPECT_FALSE(level.Visible);
    EXPECT_EQ(level.ScrollStep, 100);
}

TEST(GraphLevelTest, StepsClampToScrollRange)
{
    GraphLevel level;
    level.ZoomIn();  // 2: 500..1000 step 100
    EXPECT_FALSE(level.Step(+1));
    EXPECT_TRUE(level.Step(-1));
    EXPECT_EQ(level.Position, 900);
    level.SetPosition(530);
    EXPECT_TRUE(level.Step(-1));
    EXPECT_EQ(level.Position, 500);
    EXPECT_FALSE(level.Step(-1));
    EXPECT_FALSE(level.SetPosition(-5));
    EXPECT_TRUE(level.SetPosition(5000));
    EXPECT_EQ(level.Position, 1000);
}

TEST(GraphLevelTest, ScaleLabels)
{
    struct Case {
        int zoomIns;
        int position;
        std::array<std::string, 6> labels;
    };
    const Case cases[] = {
        {0, 1000, {"0", "20", "40", "60", "80", "100"}},
        {1, 500, {"50", "60", "70", "80", "90", "100"}},
        {2, 750, {"25", "30", "35", "40", "45", "50"}},
        {3, 100, {"90", "92", "94", "96", "98", "100"}},
        {3, 1000, {"0", "2", "4", "6", "8", "10"}},
        {3, 895, {"11", "13", "15", "17", "19", "21"}},  // offset 10.5 ohm rounds up
        {2, 997, {"0", "5", "10", "15", "20", "25"}},    // offset 0.3 ohm
    };
    for (const auto& c : cases) {
        GraphLevel level;
        for (int i = 0; i < c.zoomIns; ++i)
            level.ZoomIn();
        level.SetPosition(c.position);
        EXPECT_EQ(level.Labels(), c.labels) << c.zoomIns << " " << c.position;
    }
    EXPECT_EQ(WholeNumberText(0.0, false), "");
    EXPECT_EQ(WholeNumberText(0.4, true), "0");
}

}  // namespace
}  // namespace qlx
