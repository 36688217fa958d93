#pragma once

#include <complex>

namespace qlx {

// The single-resonance impedance of a moving-coil driver around its
// resonance: a resistive baseline, a plain inductance and the motional
// parallel circuit, Z = rb + j w l + rm / (1 + j q (f/f0 - f0/f)).
struct ResonanceModel {
    double f0 = 0;  // Hz
    double q = 0;   // mechanical Q
    double rm = 0;  // ohm, height of the motional peak
    double rb = 0;  // ohm, baseline
    double lH = 0;  // henry

    std::complex<double> Impedance(double hz) const;
    double LnMagnitude(double hz) const { return std::log(std::abs(Impedance(hz))); }
};

}  // namespace qlx
