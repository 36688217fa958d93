#pragma once

#include <QImage>
#include <set>
#include <utility>

namespace qlx::test {

using Pixel = std::pair<int, int>;  // x, y
using PixelSet = std::set<Pixel>;

inline QImage BlankImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    return image;
}

inline QRgb PixelAt(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000; }

// Every pixel of the image that has the given colour.
inline PixelSet PixelsOf(const QImage& image, QRgb colour)
{
    PixelSet set;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == colour)
                set.insert({x, y});
    return set;
}

}  // namespace qlx::test
