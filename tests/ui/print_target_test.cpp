#include <gtest/gtest.h>

#include "ui/print_target.h"

namespace qlx {
namespace {

TEST(PrintTargetRect, PortraitLandscapeAndGraphExamples)
{
    struct Case {
        PrintKind kind;
        bool landscape;
        int w, h, pw, ph;
        PrintRect expected;
    };
    const Case cases[] = {
        // 790 x 516 page: 810 x 536; 66 % of 3840 rows high.
        {PrintKind::Screen, false, 810, 536, 4800, 6800, {480, 1020, 4320, 1020 + 66 * 3840 / 100}},
        // 151 % of 3840 wide, centred.
        {PrintKind::Screen, true, 810, 536, 6800, 4800, {501, 480, 6299, 4320}},
        // The graph keeps the portrait rule on a landscape page: 38 % of 5440.
        {PrintKind::Graph, true, 670, 255, 6800, 4800, {680, 720, 6120, 720 + 38 * 5440 / 100}},
        {PrintKind::Graph, false, 670, 255, 4800, 6800, {480, 1020, 4320, 1020 + 38 * 3840 / 100}},
        // Truncating divisions: 99 % of 4 rows is 3 rows, not 4.
        {PrintKind::Screen, false, 101, 100, 5, 20, {0, 3, 4, 3 + 99 * 4 / 100}},
        {PrintKind::Screen, true, 100, 100, 9, 9, {0, 0, 8, 8}},
        // An image wider than the page: div truncates toward zero, -15 div 2 = -7.
        {PrintKind::Screen, true, 150, 100, 9, 19, {-7, 1, 17, 17}},
        {PrintKind::Screen, true, 0, 536, 6800, 4800, {}},
    };
    for (const Case& k : cases) {
        const PrintRect r = PrintTargetRect(k.kind, k.landscape, k.w, k.h, k.pw, k.ph);
        EXPECT_EQ(r, k.expected) << k.w << "x" << k.h << " on " << k.pw << "x" << k.ph << ": " << r.left << "," << r.top
                                 << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(1020 + 66 * 3840 / 100, 3554);
    EXPECT_EQ(720 + 38 * 5440 / 100, 2787);
}

TEST(PrintDocumentTitle, ByKind)
{
    EXPECT_STREQ(PrintDocumentTitle(PrintKind::Screen), "Impedance");
    EXPECT_STREQ(PrintDocumentTitle(PrintKind::Graph), "Graph");
}

}  // namespace
}  // namespace qlx
