#pragma once

#include <array>

namespace qlx {

constexpr int kPointCount = 120;  // grid indices 0 (20 Hz) to 119 (20 kHz)
constexpr int kChannelCount = 4;

// Display text of each grid frequency ("20.0", "474", "1.00k", "20.0k").
extern const std::array<const char*, kPointCount> FreqLabels;
// Plain hertz of each grid frequency, for CSV ("20", "21.2", "1000").
extern const std::array<const char*, kPointCount> FreqHz;

}  // namespace qlx
