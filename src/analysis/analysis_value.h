#pragma once

#include <cstdint>

namespace qlx {

// How far a reported number can be trusted.
enum class ValueStatus : std::uint8_t {
    kNotReported,  // no number: the caveats say why
    kValid,
    kFlagged,  // a number, but the caveats name a reason to doubt it
};

// Reasons attached to a value; a value may carry several.
enum Caveat : std::uint32_t {
    kCaveatNoRe = 1u << 0,                // no Re was given
    kCaveatNoResonance = 1u << 1,         // the curve shows no resonance
    kCaveatReNotBelowPeak = 1u << 2,      // Re is not below Zmax (r0 <= 1): no crossings
    kCaveatR0BelowOnePointTwo = 1u << 3,  // r0 < 1.2: Qe and Qt are meaningless
    kCaveatR0BelowTwo = 1u << 4,          // r0 < 2: the Q values depend strongly on Re
    kCaveatF1BelowRange = 1u << 5,        // f1 lies below the measured points: taken as f0^2/f2
    kCaveatF2AboveRange = 1u << 6,        // f2 lies above the measured points: taken as f0^2/f1
    kCaveatNoCrossing = 1u << 7,          // |Z| crosses sqrt(Re*Zmax) on neither side
    kCaveatReAboveMinimum = 1u << 8,      // Re is higher than the lowest measured |Z|: Re looks wrong
    kCaveatWholeRange = 1u << 9,          // |Z|min over the whole curve, as there is no resonance
};

struct AnalysisValue {
    double value = 0;
    ValueStatus status = ValueStatus::kNotReported;
    std::uint32_t caveats = 0;

    bool Reported() const { return status != ValueStatus::kNotReported; }
    bool Has(Caveat c) const { return (caveats & c) != 0; }

    static AnalysisValue Valid(double v) { return {v, ValueStatus::kValid, 0}; }
    static AnalysisValue Missing(std::uint32_t why) { return {0, ValueStatus::kNotReported, why}; }
    // A number that keeps any earlier caveats; flagged when `why` names one.
    static AnalysisValue With(double v, std::uint32_t why)
    {
        return {v, why ? ValueStatus::kFlagged : ValueStatus::kValid, why};
    }
};

}  // namespace qlx
