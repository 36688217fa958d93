#pragma once

#include <cstdint>

#include "analysis/analysis_value.h"

namespace qlx {

// Below these values of r0 = Zmax/Re the Q values lose meaning.
constexpr double kR0NotReported = 1.2;  // Qe and Qt not reported
constexpr double kR0Flagged = 2.0;      // Q values flagged

// The resonance as one method sees it. f0 and Zmax come from the curve alone;
// the rest need the user's Re.
struct ResonanceParameters {
    AnalysisValue f0;    // Hz
    AnalysisValue zmax;  // ohm
    AnalysisValue r0;    // Zmax / Re
    AnalysisValue f1;    // Hz, below f0, where |Z| = sqrt(Re * Zmax)
    AnalysisValue f2;    // Hz, above f0
    AnalysisValue qms;
    AnalysisValue qes;
    AnalysisValue qts;
};

// Every value that depends on Re becomes "not reported" for the reasons given.
void MarkReDependentMissing(ResonanceParameters& p, std::uint32_t why);

// Qms = f0 sqrt(r0) / (f2 - f1), Qes = Qms / (r0 - 1), Qts = Qms Qes / (Qms + Qes)
// from f0, r0, f1 and f2 already set; the Q values inherit the caveats of r0,
// f1 and f2 and get the r0 rules.
void FillQualityFactors(ResonanceParameters& p);

// Caveats that a doubtful Re puts on everything computed from it: an Re
// above the lowest measured |Z| (beyond half a count of rounding) cannot be
// the coil's resistance.
std::uint32_t ReCaveats(double reOhm, double lowestOhm);

}  // namespace qlx
