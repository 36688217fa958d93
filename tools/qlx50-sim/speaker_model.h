#pragma once

#include <array>
#include <random>

#include "model/freq_table.h"

namespace qlxsim {

using Points = std::array<int, qlx::kPointCount>;  // 0.1 ohm

// Small-signal impedance of a moving-coil loudspeaker: voice-coil resistance,
// a mechanical resonance and the voice-coil inductance.
struct SpeakerModel {
    double re;     // ohm, DC resistance of the voice coil
    double fs;     // Hz, resonance frequency
    double zmax;   // ohm, impedance at resonance
    double qm;     // mechanical quality factor
    double le_mH;  // voice-coil inductance

    double Qe() const { return qm / (zmax / re - 1); }
    double Qt() const { return qm * Qe() / (qm + Qe()); }
};

double Hertz(int gridIndex);
double ImpedanceOhm(const SpeakerModel& m, double hz);
Points CurveOf(const SpeakerModel& m);

// One unit of a speaker type as production makes it: every parameter spread
// a little around the type's, and about one unit in three faulty (a softer
// suspension that lowers the resonance, or a rubbing coil whose friction
// lowers and widens the peak). Its curve is measured with a little noise.
struct SpeakerUnit {
    SpeakerModel model;
    Points points;
};
SpeakerUnit MeasuredUnit(const SpeakerModel& type, std::mt19937& rng);

}  // namespace qlxsim
