#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qlxtest {

// A Windows bitmap as its bytes say, read without the toolkit so that tests
// check what other programs will see. Only uncompressed 8-bit files are
// decoded; the header fields are read for any file.
struct BmpFile {
    std::string signature;  // "BM"
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive: rows stored bottom-up
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> colourTable;  // 0xFFRRGGBB
    std::vector<std::uint8_t> indices;       // width * |height|, top row first

    // Colour of pixel (x, y), y counted from the top.
    std::uint32_t Pixel(int x, int y) const;
};

// No value when the bytes are too short for what their headers announce or
// the file is not an uncompressed 8-bit bitmap.
std::optional<BmpFile> ReadBmp(const std::string& bytes);

}  // namespace qlxtest
