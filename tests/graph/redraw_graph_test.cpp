#include <gtest/gtest.h>

#include <vector>

#include "graph/graph_colours.h"
#include "graph/graph_images.h"
#include "graph/pixel_helpers.h"
#include "graph/redraw_graph.h"
#include "judge/curve_fixture.h"

namespace qlx {
namespace {

using test::FlatCurves;
using test::PixelAt;
using test::PixelsOf;
using test::SetPoint;
using test::SetPointText;

struct Vertex {
    std::int64_t x, y;
};

// The grid with one polyline drawn over it, as the expected plot.
QImage GridWith(const ImpGraphImages& im, QRgb colour, const std::vector<Vertex>& poly)
{
    QImage image = im.GraphGridImage.copy();
    PlotPen pen(image);
    pen.SetColour(colour);
    for (std::size_t i = 0; i < poly.size(); ++i)
        i == 0 ? pen.MoveTo(poly[i].x, poly[i].y) : pen.LineTo(poly[i].x, poly[i].y);
    return image;
}

// Only the measured curve of channel 1 is loaded; every point missing unless set.
CurveState MeasuredOnly()
{
    CurveState s;
    s.FillDefaultLines();
    for (int j = 0; j < kPointCount; ++j)
        SetPointText(s.ImpLines, 0, j, "");
    s.ImpLoaded = true;
    return s;
}

TEST(GridTemplate, PixelExact)
{
    const QImage grid = MakeGraphGridImage();
    ASSERT_EQ(grid.size(), QSize(601, 200));
    const std::set<int> rows{19, 39, 59, 79, 99, 119, 139, 159, 179};
    const std::set<int> columns{35,  60,  80,  96,  109, 120, 130, 140, 200, 235, 260, 280, 296,
                                309, 320, 330, 340, 400, 435, 460, 480, 496, 509, 520, 530, 540};
    int mismatches = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 601; ++x) {
            QRgb expected = 0xFFFFFFFF;
            if (x == 0 || x == 600 || y == 0 || y == 199)
                expected = 0xFF4F4F4F;
            else if (rows.count(y) || columns.count(x))
                expected = 0xFFAFAFAF;
            if (PixelAt(grid, x, y) != expected && ++mismatches < 5)
                ADD_FAILURE() << "pixel " << x << "," << y;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ScreenGraph, PlotCopiedIntoFrameAndCaptionsBelowIt)
{
    ImpGraphImages im;
    CurveState s = FlatCurves(500, 400);
    s.CursorOn = true;
    RedrawGraph(im, s, GraphView{});
    ASSERT_EQ(im.ImpGraphImage.size(), QSize(650, 235));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 601; ++x)
            ASSERT_EQ(PixelAt(im.ImpGraphImage, 30 + x, 20 + y), PixelAt(im.DrawImpGraphImage, x, y)) << x << "," << y;
    // Captions: ink beneath 20 Hz and 20 kHz on rows 223..231, and in the ohm box.
    auto inkIn = [&](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += PixelAt(im.ImpGraphImage, x, y) == kCaptionColour;
        return n;
    };
    EXPECT_GT(inkIn(24, 36, 223, 231), 0);
    EXPECT_GT(inkIn(620, 646, 223, 231), 0);
    EXPECT_GT(inkIn(8, 22, 8, 15), 0);
    EXPECT_EQ(inkIn(0, 649, 0, 7) + inkIn(0, 7, 0, 234) + inkIn(647, 649, 0, 234), 0);
}

// Ink columns of the frame in [x0, x1] on the caption rows under the plot.
std::pair<int, int> CaptionInk(const QImage& frame, int x0, int x1)
{
    int left = x1 + 1, right = x0 - 1;
    for (int y = 221; y < frame.height(); ++y)
        for (int x = x0; x <= x1; ++x)
            if (PixelAt(frame, x, y) == kCaptionColour) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST(ScreenGraph, FrequencyCaptionsCentredOnTheirColumnsAndHzEndingAt646)
{
    const QImage frame = MakeImpGraphFrame();
    // 20k gives way to [Hz], so it is left out here.
    for (int column : {30, 110, 170, 230, 310, 370, 430, 510, 570}) {
        const auto [left, right] = CaptionInk(frame, column - 14, column + 14);
        ASSERT_LE(left, right) << column;
        EXPECT_LE(std::abs(left + right - 2 * column), 1) << column << ": ink " << left << ".." << right;
    }
    const auto [left, right] = CaptionInk(frame, 600, 649);
    EXPECT_EQ(right, 646);
    EXPECT_GT(left, 600);
}

struct CurveCase {
    const char* name;
    std::vector<std::pair<int, std::string>> points;  // index, text
    float zoom;
    int offset;
    std::vector<Vertex> expected;
};

TEST(CurveDrawing, VerticesSkipsAndZeroes)
{
    const CurveCase cases[] = {
        {"last two points", {{118, "500"}, {119, "600"}}, 1, 0, {{590, 100}, {600, 80}}},
        {"20 ohm on row 160", {{50, "200"}, {51, "200"}, {52, "200"}}, 1, 0, {{250, 160}, {255, 160}, {260, 160}}},
        {"missing points are skipped",
         {{10, "500"}, {11, "x"}, {12, ""}, {13, "300"}, {14, "+250"}},
         1,
         0,
         {{50, 100}, {65, 140}, {70, 150}}},
        {"zero inside pulled to row 200", {{0, "800"}, {1, "0"}, {2, "800"}}, 2, 500, {{0, 80}, {5, 200}, {10, 80}}},
        {"zero first mapped by the formula", {{0, "0"}, {1, "750"}}, 2, 500, {{0, 400}, {5, 100}}},
        {"first point not an integer", {{0, "12a"}, {1, "500"}, {2, "600"}}, 1, 0, {}},
        {"single point draws nothing", {{0, "500"}}, 1, 0, {{0, 100}}},
    };
    for (const auto& c : cases) {
        ImpGraphImages im;
        CurveState s = MeasuredOnly();
        for (const auto& [j, text] : c.points)
            SetPointText(s.ImpLines, 0, j, text);
        s.DrawMinFreq = c.points.front().first;  // a missing first point would hide the curve
        GraphView view;
        view.Scale = {c.zoom, c.offset};
        RedrawGraph(im, s, view);
        EXPECT_EQ(im.DrawImpGraphImage, GridWith(im, kChannelColours[0], c.expected)) << c.name;
    }
}

TEST(CurveDrawing, EndPointRuleAtTheLastPoint)
{
    ImpGraphImages im;
    CurveState s = MeasuredOnly();
    SetPoint(s.ImpLines, 0, 118, 500);
    SetPoint(s.ImpLines, 0, 119, 500);
    s.DrawMinFreq = 118;
    RedrawGraph(im, s, GraphView{});
    for (int x = 590; x < 600; ++x)
        EXPECT_EQ(PixelAt(im.DrawImpGraphImage, x, 100), kChannelColours[0]) << x;
    EXPECT_EQ(PixelAt(im.DrawImpGraphImage, 600, 100), kGridBorder);
}

TEST(Thresholds, CrossesOfAMinimumAtTheLastIndex)
{
    ImpGraphImages im;
    CurveState s = FlatCurves(1000, 1000);
    SetPoint(s.RefLines, 0, 119, 400);
    SetPoint(s.ImpLines, 0, 119, 400);
    s.ShownCurves = 4;  // thresholds only
    GraphView view;
    s.RefNg1[0] = 50;
    s.RefNg2[0] = 25;
    const RedrawResult r = RedrawGraph(im, s, view);
    EXPECT_EQ(JudgeResultText(r.verdict), std::string("OK"));
    const QImage& p = im.DrawImpGraphImage;
    // NG2 at 500 (row 100) and 300 (row 140); NG1 at 600 (row 80) and 200 (row 160).
    struct Cross {
        int row;
        QRgb colour;
    };
    for (const Cross& c :
         {Cross{100, kNg2Colour}, Cross{140, kNg2Colour}, Cross{80, kNg1Colour}, Cross{160, kNg1Colour}}) {
        for (int x = 594; x <= 600; ++x)
            EXPECT_EQ(PixelAt(p, x, c.row), c.colour) << x << "," << c.row;
        for (int y = c.row - 6; y <= c.row + 5; ++y)
            EXPECT_EQ(PixelAt(p, 600, y), c.colour) << "600," << y;
        EXPECT_NE(PixelAt(p, 600, c.row + 6), c.colour) << "arm end " << c.row;
        EXPECT_NE(PixelAt(p, 593, c.row), c.colour) << "left of arm " << c.row;
    }
}

TEST(Thresholds, BandCurvesInOliveFromTheirStartFormula)
{
    ImpGraphImages im;
    CurveState s = FlatCurves(610, 500);
    s.ShownCurves = 4;
    s.RefNg3[0] = 20;
    GraphView view;
    view.JudgeMin = 10;
    view.JudgeMax = 12;
    const RedrawResult r = RedrawGraph(im, s, view);
    EXPECT_EQ(JudgeResultText(r.verdict), std::string("NG3H"));
    // Upper band at 600 (row 80), lower at 400 (row 120); column 50 carries the crosses.
    for (int x = 51; x < 60; ++x) {
        EXPECT_EQ(PixelAt(im.DrawImpGraphImage, x, 80), kThresholdColour) << x;
        EXPECT_EQ(PixelAt(im.DrawImpGraphImage, x, 120), kThresholdColour) << x;
    }
    EXPECT_NE(PixelAt(im.DrawImpGraphImage, 60, 80), kThresholdColour);
}

TEST(Cursor, RedLineFromRowOneDown)
{
    ImpGraphImages im;
    CurveState s;
    s.FillDefaultLines();
    s.CursorOn = true;
    GraphView view;
    view.CursorIndex = 119;
    RedrawGraph(im, s, view);
    test::PixelSet expected;
    for (int y = 1; y < 200; ++y)
        expected.insert({600, y});
    EXPECT_EQ(PixelsOf(im.DrawImpGraphImage, kCursorColour), expected);
    view.CursorIndex = 68;
    s.CursorOn = false;
    RedrawGraph(im, s, view);
    EXPECT_TRUE(PixelsOf(im.DrawImpGraphImage, kCursorColour).empty());
}

TEST(Layers, WhatIsDrawnAndJudged)
{
    struct Case {
        const char* name;
        int selected;
        std::uint8_t shown;
        const char* terminal;
        std::array<bool, 4> overlay;
        const char* judge;
        bool measured, reference, threshold;
        std::array<bool, 4> channelInk;
    };
    const Case cases[] = {
        {"all on", 0, 7, "G", {}, "OK", true, true, true, {true, false, false, false}},
        {"thresholds off", 0, 3, "G", {}, "", true, true, false, {true, false, false, false}},
        {"all toggles off, overlays remain",
         0,
         0,
         "G",
         {false, true, true, false},
         "",
         false,
         false,
         false,
         {false, true, true, false}},
        {"overlay of the selected channel adds nothing",
         0,
         7,
         "G",
         {true, false, false, false},
         "OK",
         true,
         true,
         true,
         {true, false, false, false}},
        {"channel 2 with terminal B", 1, 7, "B", {}, "", true, false, false, {false, true, false, false}},
        {"channel 4 with terminal C",
         3,
         7,
         "C",
         {true, false, false, false},
         "",
         true,
         false,
         false,
         {true, false, false, true}},
        {"channel 2 with terminal C", 1, 7, "C", {}, "OK", true, true, true, {false, true, false, false}},
    };
    for (const auto& c : cases) {
        ImpGraphImages im;
        CurveState s = FlatCurves(0, 500);
        for (int ch = 0; ch < 4; ++ch)
            for (int j = 0; j < kPointCount; ++j)
                SetPoint(s.ImpLines, ch, j, 510 + 10 * ch);
        s.SelectedChannel = static_cast<std::uint8_t>(c.selected);
        s.ShownCurves = c.shown;
        s.RefLines[TerminalLine] = c.terminal;
        GraphView view;
        view.Overlay = c.overlay;
        const RedrawResult r = RedrawGraph(im, s, view);
        EXPECT_EQ(JudgeResultText(r.verdict), std::string(c.judge)) << c.name;
        const QImage& p = im.DrawImpGraphImage;
        EXPECT_EQ(!PixelsOf(p, kReferenceColour).empty(), c.reference) << c.name;
        EXPECT_EQ(!PixelsOf(p, kThresholdColour).empty(), c.threshold) << c.name;
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_EQ(!PixelsOf(p, kChannelColours[ch]).empty(), c.channelInk[ch]) << c.name << " channel " << ch;
    }
}

TEST(Layers, MeasuredCoversReferenceCoversThresholds)
{
    ImpGraphImages im;
    CurveState s = FlatCurves(500, 500);
    s.CursorOn = true;
    GraphView view;
    view.CursorIndex = 20;
    RedrawGraph(im, s, view);
    const QImage& p = im.DrawImpGraphImage;
    EXPECT_EQ(PixelAt(p, 50, 100), kChannelColours[0]);
    EXPECT_TRUE(PixelsOf(p, kReferenceColour).empty());
    EXPECT_EQ(PixelAt(p, 100, 100), kCursorColour);
    // The NG2 crosses at index 0 lie under the reference-free measured line only where they meet it.
    EXPECT_EQ(PixelAt(p, 0, 75 - 1), kNg2Colour);
}

}  // namespace
}  // namespace qlx
