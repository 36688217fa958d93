#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/curve_state.h"
#include "results/result_record.h"

namespace qlx {

// Where, when and by whom a run was made; shared by its records.
struct RunContext {
    std::string runUuid;
    std::int64_t measuredAtMs = 0;  // UTC
    int utcOffsetS = 0;
    std::string station;
    std::string operatorName;
};

// A run ending now on this station: a new run UUID, the UTC time with the
// local offset from UTC, the host name and the login name of the user.
RunContext CurrentRunContext();

// What a remote measurement left besides the curves.
struct MeasuredRun {
    RunOutcome outcome = RunOutcome::Completed;
    std::vector<int> channels;  // the swept channels, 0..3 (completed runs)
};

// SHA-256 (lowercase hex) of what a judgement against the reference depends
// on: its lines (slots 0..491; not the memo) and, per channel, the thresholds
// and the judgement range as the judgement uses them.
std::string ReferenceHash(const CurveState& curves);

// The records of one run. `curves` is the window's state after the run: for a
// completed run the measured curve has been taken, and each swept channel
// that the terminal uses gets a record judged as the graph judges it (against
// the channel's thresholds and judgement range; "no reference" without a
// reference curve). A cancelled or failed run gives one record without
// channel, verdict and points.
std::vector<ResultRecord> MakeRunRecords(const CurveState& curves, const MeasuredRun& run, const RunContext& context);

// A new random UUID as text without braces.
std::string NewUuid();

}  // namespace qlx
