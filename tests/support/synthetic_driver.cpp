#include "synthetic_driver.h"

#include <cmath>
#include <numbers>
#include <random>

#include "analysis/grid_hz.h"

namespace qlxtest {

std::complex<double> SyntheticDriver::Impedance(double hz) const
{
    using C = std::complex<double>;
    return C(re, 2 * std::numbers::pi * hz * leH) + Rm() / C(1.0, qms * (hz / f0 - f0 / hz));
}

double SyntheticDriver::PhaseDeg(double hz) const { return std::arg(Impedance(hz)) * 180 / std::numbers::pi; }

qlx::ChannelPoints SyntheticDriver::Points() const
{
    qlx::ChannelPoints p{};
    for (int j = 0; j < qlx::kPointCount; ++j)
        p[j] = static_cast<int>(std::lround(std::abs(Impedance(qlx::GridHz()[j])) * 10));
    return p;
}

const char* ClassName(DriverClass c)
{
    switch (c) {
    case DriverClass::kWoofer: return "woofer";
    case DriverClass::kMidrange: return "midrange";
    case DriverClass::kTweeter: return "tweeter";
    }
    return "";
}

namespace {

struct ClassRanges {
    double f0Lo, f0Hi, qmsLo, qmsHi, qesLo, qesHi;
    double lossLo, lossHi;  // 2 pi f0 Le / Re, the coil's reactance at resonance over Re
};

// Parameter ranges of common drivers of each kind. Qms and Qes are drawn
// log-uniformly, Re uniformly from 3 to 8 ohm.
ClassRanges RangesOf(DriverClass c)
{
    switch (c) {
    case DriverClass::kWoofer: return {25, 150, 2, 10, 0.25, 1.2, 0.005, 0.05};
    case DriverClass::kMidrange: return {150, 600, 1.5, 6, 0.4, 1.5, 0.005, 0.03};
    case DriverClass::kTweeter: return {600, 1500, 1, 4, 0.4, 2.5, 0.003, 0.02};
    }
    return {};
}

}  // namespace

std::vector<SyntheticDriver> SyntheticDrivers(DriverClass c, int count, unsigned seed, CoilReactance coil)
{
    ClassRanges r = RangesOf(c);
    if (coil == CoilReactance::kStrong)
        r.lossLo = 0.02, r.lossHi = 0.1;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto logUniform = [&](double lo, double hi) { return lo * std::pow(hi / lo, unit(rng)); };
    const auto& grid = qlx::GridHz();
    std::vector<SyntheticDriver> drivers;
    while (static_cast<int>(drivers.size()) < count) {
        SyntheticDriver d{};
        d.re = 3 + 5 * unit(rng);
        d.f0 = logUniform(r.f0Lo, r.f0Hi);
        d.qms = logUniform(r.qmsLo, r.qmsHi);
        d.qes = logUniform(r.qesLo, r.qesHi);
        if (d.R0() < 2 || d.R0() > 40)
            continue;
        const int kind = static_cast<int>(drivers.size()) % 3;
        if (kind != 0) {
            int j = 0;
            while (j + 1 < qlx::kPointCount && grid[j + 1] <= d.f0)
                ++j;
            d.f0 = kind == 1 ? grid[j] : std::sqrt(grid[j] * grid[j + 1]);
            if (d.f0 < 25 || d.f0 > 1500)
                continue;
        }
        d.leH = d.re * logUniform(r.lossLo, r.lossHi) / (2 * std::numbers::pi * d.f0);
        drivers.push_back(d);
    }
    return drivers;
}

}  // namespace qlxtest
