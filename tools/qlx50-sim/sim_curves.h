#pragma once

#include <array>
#include <random>
#include <string>

#include "model/freq_table.h"
#include "sim_memory.h"

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
};

double Hertz(int gridIndex);
double ImpedanceOhm(const SpeakerModel& m, double hz);
Points CurveOf(const SpeakerModel& m);

// A measurement of a unit of the same type as the reference: the same curve
// with production spread and noise, and now and then a faulty unit (shifted
// resonance or a changed peak) that fails the judgement.
Points MeasuredVariant(const Points& reference, std::mt19937& rng);

// The default memory: a handful of references of several terminals with
// names, ranges and thresholds, and measured curves of those speakers.
SimMemory DefaultMemory(unsigned seed);

// Points of a stored curve's channel (0..3); non-numbers count as 0.
Points PointsOf(const qlx::CurveLines& slot, int channel);

}  // namespace qlxsim
