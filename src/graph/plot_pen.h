#pragma once

#include <QImage>
#include <cstdint>

namespace qlx {

// Paints one-pixel lines into a Format_RGB32 image the classic way: the
// Bresenham pixels from the start point towards the end point, with the end
// point itself left unpainted so that the next segment of a polyline paints
// it. Ties between two candidate pixels keep the minor coordinate. Pixels
// outside the image are clipped without being walked, so far-off points
// (a huge value at high zoom) cost nothing. Coordinates must stay within
// about +-2^40.
class PlotPen {
public:
    explicit PlotPen(QImage& image);

    void SetColour(QRgb colour) { colour_ = colour; }
    void MoveTo(std::int64_t x, std::int64_t y);
    void LineTo(std::int64_t x, std::int64_t y);

private:
    void Paint(std::int64_t x, std::int64_t y);

    uchar* bits_;
    qsizetype stride_;
    std::int64_t width_;
    std::int64_t height_;
    QRgb colour_ = 0xFF000000;
    std::int64_t penX_ = 0;
    std::int64_t penY_ = 0;
};

}  // namespace qlx
