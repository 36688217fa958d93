#include "support/bmp_reader.h"

#include <cstdlib>

namespace qlxtest {

namespace {

std::uint32_t Le(const std::string& b, size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

constexpr size_t kFileHeader = 14;

}  // namespace

std::uint32_t BmpFile::Pixel(int x, int y) const
{
    return colourTable.at(indices.at(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)));
}

std::optional<BmpFile> ReadBmp(const std::string& b)
{
    if (b.size() < kFileHeader + 40)
        return std::nullopt;
    BmpFile f;
    f.signature = b.substr(0, 2);
    f.fileSize = Le(b, 2, 4);
    f.pixelOffset = Le(b, 10, 4);
    f.headerSize = Le(b, 14, 4);
    f.width = static_cast<std::int32_t>(Le(b, 18, 4));
    f.height = static_cast<std::int32_t>(Le(b, 22, 4));
    f.planes = static_cast<std::uint16_t>(Le(b, 26, 2));
    f.bitsPerPixel = static_cast<std::uint16_t>(Le(b, 28, 2));
    f.compression = Le(b, 30, 4);
    f.coloursUsed = Le(b, 46, 4);
    if (f.bitsPerPixel != 8 || f.compression != 0 || f.width <= 0 || f.height == 0)
        return std::nullopt;

    const size_t entries = f.coloursUsed ? f.coloursUsed : 256;
    const size_t tableAt = kFileHeader + f.headerSize;
    if (entries > 256 || tableAt + 4 * entries > b.size())
        return std::nullopt;
    for (size_t i = 0; i < entries; ++i) {
        const size_t at = tableAt + 4 * i;
        f.colourTable.push_back(0xFF000000u | Le(b, at, 3));  // stored blue, green, red, reserved
    }

    const size_t w = static_cast<size_t>(f.width);
    const size_t h = static_cast<size_t>(std::abs(f.height));
    const size_t stride = (w + 3) / 4 * 4;
    if (f.pixelOffset + stride * h > b.size())
        return std::nullopt;
    f.indices.resize(w * h);
    for (size_t row = 0; row < h; ++row) {
        const size_t stored = f.height > 0 ? h - 1 - row : row;
        const size_t at = f.pixelOffset + stored * stride;
        for (size_t x = 0; x < w; ++x)
            f.indices[row * w + x] = static_cast<std::uint8_t>(b[at + x]);
    }
    return f;
}

}  // namespace qlxtest
