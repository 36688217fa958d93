#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "graph/pixel_helpers.h"
#include "graph/plot_pen.h"

namespace qlx {
namespace {

using test::BlankImage;
using test::PixelSet;
using test::PixelsOf;

constexpr QRgb kInk = 0xFF123456;

PixelSet Segment(int x0, int y0, int x1, int y1)
{
    QImage image = BlankImage(20, 20);
    PlotPen pen(image);
    pen.SetColour(kInk);
    pen.MoveTo(x0, y0);
    pen.LineTo(x1, y1);
    return PixelsOf(image, kInk);
}

TEST(PlotPenSegments, ClassicPixelsWithoutEndPoint)
{
    struct Case {
        int x0, y0, x1, y1;
        PixelSet pixels;
    };
    const Case cases[] = {
        {2, 2, 5, 2, {{2, 2}, {3, 2}, {4, 2}}},
        {5, 2, 2, 2, {{5, 2}, {4, 2}, {3, 2}}},
        {2, 2, 2, 5, {{2, 2}, {2, 3}, {2, 4}}},
        {2, 5, 2, 2, {{2, 5}, {2, 4}, {2, 3}}},
        {1, 1, 4, 4, {{1, 1}, {2, 2}, {3, 3}}},
        {4, 1, 1, 4, {{4, 1}, {3, 2}, {2, 3}}},
        // Shallow: the tie at the middle does not step.
        {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        {4, 1, 0, 0, {{4, 1}, {3, 1}, {2, 1}, {1, 0}}},
        {0, 0, 2, 1, {{0, 0}, {1, 0}}},
        // Steep.
        {0, 0, 1, 4, {{0, 0}, {0, 1}, {0, 2}, {1, 3}}},
        {5, 10, 10, 0, {{5, 10}, {5, 9}, {6, 8}, {6, 7}, {7, 6}, {7, 5}, {8, 4}, {8, 3}, {9, 2}, {9, 1}}},
        // A zero-length line paints nothing.
        {3, 3, 3, 3, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Segment(c.x0, c.y0, c.x1, c.y1), c.pixels) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
}

TEST(PlotPenSegments, PolylineJointsPaintedByNextSegment)
{
    QImage image = BlankImage(20, 20);
    PlotPen pen(image);
    pen.SetColour(kInk);
    pen.MoveTo(1, 1);
    pen.LineTo(4, 1);
    pen.LineTo(4, 3);
    pen.LineTo(1, 3);
    EXPECT_EQ(PixelsOf(image, kInk), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}, {3, 3}, {2, 3}}));
}

// The textbook error-accumulating walk, for comparison.
PixelSet WalkedLine(int x0, int y0, int x1, int y1, int w, int h)
{
    PixelSet set;
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    int d = 2 * minor - major;
    int x = x0, y = y0;
    for (int n = 0; n < major; ++n) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            set.insert({x, y});
        if (d > 0) {
            (xMajor ? y : x) += xMajor ? sy : sx;
            d -= 2 * major;
        }
        d += 2 * minor;
        (xMajor ? x : y) += xMajor ? sx : sy;
    }
    return set;
}

TEST(PlotPenSegments, MatchesWalkedBresenhamIncludingClipping)
{
    std::mt19937 rng(4711);
    std::uniform_int_distribution<int> coord(-40, 60);
    for (int i = 0; i < 3000; ++i) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        QImage image = BlankImage(20, 20);
        PlotPen pen(image);
        pen.SetColour(kInk);
        pen.MoveTo(x0, y0);
        pen.LineTo(x1, y1);
        ASSERT_EQ(PixelsOf(image, kInk), WalkedLine(x0, y0, x1, y1, 20, 20))
            << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
}

TEST(PlotPenSegments, FarOffEndPointIsClippedNotWalked)
{
    QImage image = BlankImage(601, 200);
    PlotPen pen(image);
    pen.SetColour(kInk);
    pen.MoveTo(300, 100);
    pen.LineTo(305, -4294967296LL);
    pen.MoveTo(400, 8589934592LL);
    pen.LineTo(405, -8589934592LL);
    PixelSet expected;
    for (int y = 0; y <= 100; ++y)
        expected.insert({300, y});
    // Through the middle of a line 2^34 rows long the column barely moves.
    for (int y = 0; y < 200; ++y)
        expected.insert({402, y});
    EXPECT_EQ(PixelsOf(image, kInk), expected);
}

}  // namespace
}  // namespace qlx
