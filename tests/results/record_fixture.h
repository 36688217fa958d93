#pragma once

#include <cstdint>
#include <string>

#include "comm/remote_measurement.h"
#include "results/record_builder.h"
#include "results/result_record.h"
#include "sim_curves.h"

namespace qlx::test {

// The simulator's built-in memory: references of every terminal and two
// measured units of each.
inline const qlxsim::SimMemory& SimDefault()
{
    static const qlxsim::SimMemory memory = qlxsim::DefaultMemory(1);
    return memory;
}

// The window's curves after a completed run: simulator reference `ref`
// loaded from a file, the points of its measured unit `meas` taken as the
// measured curve, channel 1 selected.
inline CurveState CurvesAfterRun(int ref, int meas)
{
    CurveState s;
    s.FillDefaultLines();
    s.RefLines = SimDefault().ref[ref];
    s.RefFilePath = "/srv/refs/" + std::to_string(ref) + ".q5imp";
    s.RefLoaded = true;
    s.DecodeRefHeader();
    CurveLines points{};
    for (int c = 0; c < ChannelsWithData(s.RefLines[TerminalLine]); ++c)
        for (int j = 0; j < kPointCount; ++j)
            points[PointSlot(c, j)] = SimDefault().meas[meas][PointSlot(c, j)];
    TakeMeasuredCurve(s, points);
    return s;
}

inline RunContext FixedContext(std::int64_t atMs = 1733648833123)  // 2024-12-08 09:07:13.123 UTC
{
    return {NewUuid(), atMs, 9 * 3600, "line-3-station", "tanaka"};
}

// A record carrying what the queries look at.
inline ResultRecord QueryRecord(std::int64_t atMs, const std::string& verdict, const std::string& refName,
                                RunOutcome outcome = RunOutcome::Completed)
{
    ResultRecord r;
    r.uuid = NewUuid();
    r.runUuid = NewUuid();
    r.measuredAtMs = atMs;
    r.utcOffsetS = 9 * 3600;
    r.station = "line-3-station";
    r.operatorName = "tanaka";
    r.outcome = outcome;
    r.refName = refName;
    r.terminal = "B";
    if (outcome == RunOutcome::Completed) {
        r.channel = 1;
        r.verdict = verdict;
        r.points.assign(kPointCount, "123");
    }
    return r;
}

}  // namespace qlx::test
