#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "analysis/comparison.h"
#include "app/re_text.h"
#include "model/curve_state.h"

namespace qlx {

// What the resonance dialog shows, as texts (UTF-8), built without a window.

enum class CellState : std::uint8_t { kValue, kFlagged, kMissing };

struct ResonanceCell {
    std::string text;  // the number ("52.3"; a flagged one ends in " *"), or "—"
    CellState state = CellState::kMissing;
    std::string note;  // where the value comes from and why it is flagged or missing
};

struct ResonanceRow {
    ResonanceQuantity quantity = ResonanceQuantity::kF0;
    std::string label;  // "f0 (Hz)", "Qt", ...
    ResonanceCell measured;
    ResonanceCell reference;
    ResonanceCell deviation;  // percent of the reference value
};

// One curve's channel as the dialog analyses it; absent when no curve of
// that kind was opened or measured.
struct ResonanceCurveInput {
    bool present = false;
    ChannelPoints points{};
};

// The selected channel of the measured curve within that channel's valid
// range, and of the reference curve over the whole grid (its judgement
// range limits the judgement, not the curve); "0" holds no measurement.
ResonanceCurveInput MeasuredInput(const CurveState& curves);
ResonanceCurveInput ReferenceInput(const CurveState& curves);

struct ResonanceTable {
    std::array<ResonanceRow, kResonanceQuantityCount> rows{};
    // "精密化" when the fit was taken, "従来法" when not, "—" without a resonance.
    ResonanceCell measuredMethod;
    ResonanceCell referenceMethod;
    // One line per present curve: its method, and why the fit was not taken
    // or why there is no resonance.
    std::string methodNote;
};

// Both curves analysed with the same Re (none unless the entry holds a value).
ResonanceTable BuildResonanceTable(const ResonanceCurveInput& measured, const ResonanceCurveInput& reference,
                                   const ReEntry& re);

// The line under the table about Re: missing, invalid, or (with a value)
// where it is remembered.
std::string ReNote(const ReEntry& re, bool rememberedPerFile);

// The row's caption with its unit: "f0 (Hz)", "Zmax (Ω)", "Qt".
std::string QuantityLabel(ResonanceQuantity q);

// Fixed-point text without the locale (to_chars): 52.31 with 1 decimal is "52.3".
std::string FixedText(double value, int decimals);

}  // namespace qlx
