#include <gtest/gtest.h>

#include <QPainter>

#include "graph/graph_images.h"
#include "graph/page_image.h"
#include "graph/pixel_helpers.h"

namespace qlx {
namespace {

using test::PixelAt;

const QColor kWindowColour(0xEF, 0xEB, 0xE7);
const QRect kGraphOnPage(4, 32, 650, 235);

// A captured page: a flat colour with a distinct pixel at each corner, a
// transparent patch no widget painted, and the screen graph at its place.
QImage CapturedPage()
{
    QImage page(790, 516, QImage::Format_ARGB32_Premultiplied);
    page.fill(0xFFC0C0C0);
    page.setPixel(0, 0, 0xFFFF0000);
    page.setPixel(789, 0, 0xFF00FF00);
    page.setPixel(0, 515, 0xFF0000FF);
    page.setPixel(789, 515, 0xFFFFFF00);
    QPainter p(&page);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(700, 400, 20, 20, Qt::transparent);
    p.drawImage(kGraphOnPage.topLeft(), MakeImpGraphFrame());
    return page;
}

bool OnOutline(const QImage& image, int x, int y)
{
    return x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
}

TEST(ScreenPageImage, PageAtTenTenInsideMarginAndOutline)
{
    const QImage page = CapturedPage();
    const QImage image = MakeScreenPageImage(page, kWindowColour);
    ASSERT_EQ(image.size(), QSize(810, 536));
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb expected = kWindowColour.rgb();
            if (OnOutline(image, x, y))
                expected = 0xFF000000;
            else if (QRect(10, 10, 790, 516).contains(x, y) && qAlpha(page.pixel(x - 10, y - 10)) == 255)
                expected = PixelAt(page, x - 10, y - 10);
            wrong += PixelAt(image, x, y) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(PixelAt(image, 10, 10), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(image, 799, 525), 0xFFFFFF00u);
    EXPECT_EQ(PixelAt(image, 715, 415), kWindowColour.rgb()) << "unpainted parts show the background";
}

TEST(GraphPageImage, GraphRectangleCopiedOneToOne)
{
    const QImage page = CapturedPage();
    const QImage image = MakeGraphPageImage(page, kGraphOnPage, kWindowColour);
    ASSERT_EQ(image.size(), QSize(670, 255));
    const QImage frame = MakeImpGraphFrame();
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb expected = kWindowColour.rgb();
            if (OnOutline(image, x, y))
                expected = 0xFF000000;
            else if (x >= 10 && x <= 659 && y >= 10 && y <= 244)
                expected = PixelAt(frame, x - 10, y - 10);
            wrong += PixelAt(image, x, y) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace qlx
