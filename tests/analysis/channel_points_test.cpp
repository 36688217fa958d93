#include <gtest/gtest.h>

#include <cstdlib>

#include "analysis/channel_points.h"
#include "analysis/grid_hz.h"

namespace qlx {
namespace {

TEST(GridHz, NumbersOfTheGridTexts)
{
    const auto& hz = GridHz();
    EXPECT_EQ(hz[0], 20.0);
    EXPECT_EQ(hz[1], 21.2);
    EXPECT_EQ(hz[15], 47.4);
    EXPECT_EQ(hz[118], 18000.0);
    EXPECT_EQ(hz[119], 20000.0);
    for (int j = 1; j < kPointCount; ++j)
        EXPECT_GT(hz[j], hz[j - 1]) << j;
}

TEST(ChannelPoints, OnlyMeasuredPointsInsideTheValidRange)
{
    CurveLines lines{};
    FillDefaults(lines);
    struct Case {
        int j;
        const char* text;
        std::optional<int> expected;
    } cases[] = {
        {3, "0", std::nullopt},  {4, "123", 123}, {5, "abc", std::nullopt},  {6, "", std::nullopt},
        {7, "-5", std::nullopt}, {8, "+42", 42},  {9, "12 ", std::nullopt},  {1, "77", std::nullopt},
        {2, "88", 88},           {110, "99", 99}, {111, "98", std::nullopt},
    };
    for (const Case& c : cases)
        lines[PointSlot(1, c.j)] = c.text;
    lines[PointSlot(0, 4)] = "555";  // another channel

    const ChannelPoints p = ChannelPointsOf(lines, 1, 2, 110);
    for (const Case& c : cases)
        EXPECT_EQ(p[c.j], c.expected) << c.j << " '" << c.text << "'";
    EXPECT_EQ(ChannelPointsOf(lines, 0, 0, 119)[4], 555);
    // A damaged range reads only the grid.
    EXPECT_EQ(ChannelPointsOf(lines, 1, -20, 500)[1], 77);
    EXPECT_FALSE(ChannelPointsOf(lines, 7, 0, 119)[4]);
}

}  // namespace
}  // namespace qlx
