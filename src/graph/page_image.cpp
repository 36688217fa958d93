#include "graph/page_image.h"

#include <QPainter>

namespace qlx {

namespace {

constexpr QRgb kOutlineColour = 0xFF000000;

QImage FramedImage(QSize inner, const QColor& background)
{
    QImage image(inner.width() + 2 * kPageImageMargin, inner.height() + 2 * kPageImageMargin, QImage::Format_RGB32);
    image.fill(background.rgb());
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    for (int x = 0; x <= right; ++x) {
        image.setPixel(x, 0, kOutlineColour);
        image.setPixel(x, bottom, kOutlineColour);
    }
    for (int y = 0; y <= bottom; ++y) {
        image.setPixel(0, y, kOutlineColour);
        image.setPixel(right, y, kOutlineColour);
    }
    return image;
}

}  // namespace

QImage MakeScreenPageImage(const QImage& page, const QColor& background)
{
    QImage image = FramedImage(page.size(), background);
    QPainter p(&image);
    // Parts of the capture no widget painted stay transparent and show the
    // background, as on screen.
    p.drawImage(QPoint(kPageImageMargin, kPageImageMargin), page);
    return image;
}

QImage MakeGraphPageImage(const QImage& page, const QRect& graphRect, const QColor& background)
{
    QImage image = FramedImage(graphRect.size(), background);
    QPainter p(&image);
    p.drawImage(QPoint(kPageImageMargin, kPageImageMargin), page, graphRect);
    return image;
}

}  // namespace qlx
