#include "analysis/grid_hz.h"

#include <charconv>
#include <cstring>

namespace qlx {

namespace {

std::array<double, kPointCount> ReadGrid()
{
    std::array<double, kPointCount> hz{};
    for (int j = 0; j < kPointCount; ++j) {
        const char* text = FreqHz[j];
        // from_chars ignores the locale, unlike strtod.
        std::from_chars(text, text + std::strlen(text), hz[j]);
    }
    return hz;
}

}  // namespace

const std::array<double, kPointCount>& GridHz()
{
    static const std::array<double, kPointCount> hz = ReadGrid();
    return hz;
}

}  // namespace qlx
