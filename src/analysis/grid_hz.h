#pragma once

#include <array>

#include "model/freq_table.h"

namespace qlx {

// The grid frequencies in hertz as numbers, read once from FreqHz, so that
// every computation uses exactly the frequencies the curves are stored at.
const std::array<double, kPointCount>& GridHz();

}  // namespace qlx
