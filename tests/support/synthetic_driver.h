#pragma once

#include <complex>
#include <vector>

#include "analysis/channel_points.h"

namespace qlxtest {

// A single-resonance driver: Re in series with a plain inductance and the
// motional circuit, the impedance the analysis assumes.
struct SyntheticDriver {
    double re;   // ohm
    double f0;   // Hz
    double qms;  // mechanical Q
    double qes;  // electrical Q
    double leH;  // henry

    double Rm() const { return re * qms / qes; }
    double Zmax() const { return re + Rm(); }
    double R0() const { return Zmax() / re; }
    double Qts() const { return qms * qes / (qms + qes); }
    std::complex<double> Impedance(double hz) const;
    double PhaseDeg(double hz) const;
    // |Z| on the program's grid, rounded to 0.1 ohm.
    qlx::ChannelPoints Points() const;
};

enum class DriverClass { kWoofer, kMidrange, kTweeter };
const char* ClassName(DriverClass c);

// How large the coil's reactance at resonance is against Re (2 pi f0 Le / Re):
// typical drivers stay within a few percent; kStrong goes up to 0.1, where
// the classic method's own bias from the inductance shows.
enum class CoilReactance { kTypical, kStrong };

// `count` drivers of a class from a fixed seed, all with r0 >= 2 and f0
// between 25 Hz and 1.5 kHz. Every third driver has its f0 exactly on a grid
// point, the one after it exactly half-way (in ln f) between two.
std::vector<SyntheticDriver> SyntheticDrivers(DriverClass c, int count, unsigned seed,
                                              CoilReactance coil = CoilReactance::kTypical);

}  // namespace qlxtest
