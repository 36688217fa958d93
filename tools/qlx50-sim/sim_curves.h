#pragma once

#include <array>
#include <random>
#include <string>

#include "model/freq_table.h"
#include "sim_memory.h"
#include "speaker_model.h"

namespace qlxsim {

// A measurement of a unit of the same type as a reference known only by its
// curve (one uploaded or loaded from files): the same curve with production
// spread and noise, and now and then a faulty unit (shifted resonance or a
// lower peak) that fails the judgement. A reference whose speaker model is
// known is measured through MeasuredUnit instead.
Points MeasuredVariant(const Points& reference, std::mt19937& rng);

// The default memory: a handful of references of several terminals with
// names, ranges and thresholds, generated from speaker models that the
// memory keeps, and measured units of those speakers.
SimMemory DefaultMemory(unsigned seed);

// Points of a stored curve's channel (0..3); non-numbers count as 0.
Points PointsOf(const qlx::CurveLines& slot, int channel);

}  // namespace qlxsim
