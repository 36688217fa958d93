#pragma once

#include <cstdint>
#include <string>

#include "analysis/refinement.h"
#include "analysis/resonance_peak.h"

namespace qlx {

// The reasons behind a flagged or missing resonance value, as the dialog
// shows them (UTF-8, Japanese).

// One line per caveat bit set in `caveats`, in the order of the bits.
std::string CaveatReasons(std::uint32_t caveats);

// Why a curve shows no resonance ("" when one was found).
std::string PeakVerdictText(PeakVerdict verdict);

// Why the refinement was not taken ("" when it was).
std::string RefinementOutcomeText(RefinementOutcome outcome);

}  // namespace qlx
