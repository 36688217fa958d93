#pragma once

#include <optional>
#include <vector>

#include "model/curve_state.h"
#include "results/result_record.h"

namespace qlx {

// Fills the resonance figures of a run's records (those with a channel) from
// the analysis of the curves the run left: f0, Zmax and the |Z| minimum
// above the resonance from the channel's measured points within its valid
// range; Qts only with the user's Re of the reference curve; the reference
// curve's own f0 from its whole channel. A figure the analysis does not
// report stays empty.
void FillResonanceFields(std::vector<ResultRecord>& records, const CurveState& curves, std::optional<double> reOhm);

}  // namespace qlx
