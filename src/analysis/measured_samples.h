#pragma once

#include <vector>

#include "analysis/channel_points.h"

namespace qlx {

// The measured points of a channel in ascending frequency, gaps left out,
// with the logarithms the analysis works in.
struct MeasuredSamples {
    std::vector<int> index;  // grid index
    std::vector<double> hz;
    std::vector<double> ohm;
    std::vector<double> lnF;
    std::vector<double> lnZ;

    int size() const { return static_cast<int>(index.size()); }
};

MeasuredSamples SamplesOf(const ChannelPoints& points);

}  // namespace qlx
