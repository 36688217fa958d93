#include "graph/plot_pen.h"

#include <algorithm>
#include <cstdlib>

namespace qlx {

namespace {

std::int64_t CeilDiv(std::int64_t a, std::int64_t b)  // b > 0
{
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Step range [first, last] of a walk start + sign * n, n in [0, length), that
// stays inside [0, limit).
void ClipSteps(std::int64_t start, int sign, std::int64_t length, std::int64_t limit, std::int64_t& first,
               std::int64_t& last)
{
    if (sign > 0) {
        first = std::max<std::int64_t>(0, -start);
        last = std::min(length - 1, limit - 1 - start);
    } else {
        first = std::max<std::int64_t>(0, start - (limit - 1));
        last = std::min(length - 1, start);
    }
}

}  // namespace

PlotPen::PlotPen(QImage& image)
    : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()), height_(image.height())
{}

void PlotPen::MoveTo(std::int64_t x, std::int64_t y)
{
    penX_ = x;
    penY_ = y;
}

void PlotPen::Paint(std::int64_t x, std::int64_t y) { reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = colour_; }

void PlotPen::LineTo(std::int64_t x1, std::int64_t y1)
{
    const std::int64_t x0 = penX_;
    const std::int64_t y0 = penY_;
    penX_ = x1;
    penY_ = y1;
    const std::int64_t adx = std::llabs(x1 - x0);
    const std::int64_t ady = std::llabs(y1 - y0);
    const int sx = x1 >= x0 ? 1 : -1;
    const int sy = y1 >= y0 ? 1 : -1;
    const bool xMajor = adx >= ady;
    const std::int64_t major = xMajor ? adx : ady;
    const std::int64_t minor = xMajor ? ady : adx;
    if (major == 0)
        return;
    // Pixel n of the classic integer Bresenham walk: the minor coordinate has
    // moved ceil((2 minor n - major) / (2 major)) steps, i.e. it steps only
    // when the error strictly exceeds one half.
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (xMajor)
        ClipSteps(x0, sx, major, width_, first, last);
    else
        ClipSteps(y0, sy, major, height_, first, last);
    for (std::int64_t n = first; n <= last; ++n) {
        const std::int64_t m = CeilDiv(2 * minor * n - major, 2 * major);
        const std::int64_t x = xMajor ? x0 + sx * n : x0 + sx * m;
        const std::int64_t y = xMajor ? y0 + sy * m : y0 + sy * n;
        if (x >= 0 && x < width_ && y >= 0 && y < height_)
            Paint(x, y);
    }
}

}  // namespace qlx
