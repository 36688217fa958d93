#include "analysis/measured_samples.h"

#include <cmath>

#include "analysis/grid_hz.h"

namespace qlx {

MeasuredSamples SamplesOf(const ChannelPoints& points)
{
    MeasuredSamples s;
    for (int j = 0; j < kPointCount; ++j) {
        if (!points[j])
            continue;
        const double ohm = *points[j] / 10.0;
        s.index.push_back(j);
        s.hz.push_back(GridHz()[j]);
        s.ohm.push_back(ohm);
        s.lnF.push_back(std::log(GridHz()[j]));
        s.lnZ.push_back(std::log(ohm));
    }
    return s;
}

}  // namespace qlx
