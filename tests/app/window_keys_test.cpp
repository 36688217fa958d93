#include <gtest/gtest.h>

#include <vector>

#include "app/window_keys.h"

namespace qlx {
namespace {

TEST(WindowKeys, KeysActOnlyUnderTheirConditions)
{
    using A = WindowAction;
    using K = WindowKey;
    struct Case {
        K key;
        bool page0, scrollVisible, cursorOn;
        A expected;
    } cases[] = {
        {K::PageUp, true, true, false, A::LevelUp}, {K::PageDown, true, true, false, A::LevelDown},
        {K::PageDown, true, false, true, A::None},  {K::PageDown, false, true, true, A::None},
        {K::F11, true, false, true, A::CursorDown}, {K::F12, true, false, true, A::CursorUp},
        {K::F11, true, true, false, A::None},       {K::F12, false, true, true, A::None},
        {K::Other, true, true, true, A::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyAction(c.key, {c.page0, c.scrollVisible, c.cursorOn}), c.expected)
            << static_cast<int>(c.key) << c.page0 << c.scrollVisible << c.cursorOn;
}

TEST(WindowKeys, WheelMovesLevelOnlyWithVisibleScrollBarOnPageZero)
{
    EXPECT_EQ(WheelAction(120, {true, true, false}), WindowAction::LevelUp);
    EXPECT_EQ(WheelAction(-120, {true, true, false}), WindowAction::LevelDown);
    EXPECT_EQ(WheelAction(-120, {true, false, true}), WindowAction::None);
    EXPECT_EQ(WheelAction(120, {false, true, true}), WindowAction::None);
    EXPECT_EQ(WheelAction(0, {true, true, true}), WindowAction::None);
}

TEST(WindowKeys, WheelDeltasMakeWholeNotches)
{
    struct Case {
        std::vector<int> deltas;
        std::vector<int> notches;
    } cases[] = {
        {{120, -120}, {1, -1}},           {{240}, {2}},  // a fast turn reported at once
        {{40, 40, 40, 40}, {0, 0, 1, 0}},                // a smooth-scrolling device
        {{100, 100, 40}, {0, 1, 1}},      {{-50, -80, -110}, {0, -1, -1}},
        {{60, -60, 60}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        WheelNotches wheel;
        std::vector<int> got;
        for (int d : c.deltas)
            got.push_back(wheel.Add(d));
        EXPECT_EQ(got, c.notches) << ::testing::PrintToString(c.deltas);
    }
}

}  // namespace
}  // namespace qlx
