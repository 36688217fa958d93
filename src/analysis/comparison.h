#pragma once

#include <array>
#include <cstdint>

#include "analysis/resonance_analysis.h"

namespace qlx {

// The quantities shown for a curve, in the order they are shown. They are
// named for a system resonance (f0, Q), as a unit in a fixture or a box
// shows one, not the free-air parameters of a bare driver.
enum class ResonanceQuantity : std::uint8_t { kF0, kZmax, kR0, kF1, kF2, kQm, kQe, kQt, kZmin, kZminHz };
constexpr int kResonanceQuantityCount = 10;

enum class QuantityUnit : std::uint8_t { kHertz, kOhm, kNone };

const char* QuantitySymbol(
    ResonanceQuantity q);  // "f0", "Zmax", "r0", "f1", "f2", "Qm", "Qe", "Qt", "|Z|min", "f(|Z|min)"
QuantityUnit UnitOf(ResonanceQuantity q);

// The value shown for a quantity: from the analysis's best parameters
// (refined when the fit was accepted), |Z|min from the curve.
AnalysisValue ValueOf(const ResonanceAnalysis& a, ResonanceQuantity q);

// One line of the measured/reference comparison.
struct ComparisonRow {
    ResonanceQuantity quantity;
    AnalysisValue measured;
    AnalysisValue reference;
    // 100 (measured - reference) / reference; reported only when both are,
    // flagged with the caveats of both.
    AnalysisValue deviationPercent;
};

std::array<ComparisonRow, kResonanceQuantityCount> CompareAnalyses(const ResonanceAnalysis& measured,
                                                                   const ResonanceAnalysis& reference);

}  // namespace qlx
