#pragma once

#include <string>

#include "analysis/channel_points.h"
#include "analysis/minimum_phase.h"

namespace qlx {

struct CalendarDate {
    int year = 1970;
    int month = 1;
    int day = 1;
};

struct ZmaHeader {
    std::string curveNameUtf8;  // as the user sees it; written in Shift-JIS
    int channel = 1;            // 1 to 4, as the user counts
    CalendarDate date;
    bool zeroPhase = false;  // write phase 0 instead of the minimum-phase estimate
};

// A ZMA impedance file for crossover tools, as Shift-JIS bytes with CR LF
// line ends: "*" comment lines at the top only (program, curve name, channel,
// date, where the phase comes from, the columns), then one line
// "frequency |Z| phase" (Hz, ohm, degrees) per measured point in ascending
// frequency. Numbers always use "." whatever the locale. Points without a
// measurement are left out; so are points without a phase unless zeroPhase.
std::string ZmaText(const ChannelPoints& points, const PhasePoints& phaseDeg, const ZmaHeader& header);

// The same with the minimum-phase estimate from the analysis of the curve.
std::string ZmaTextWithMinimumPhase(const ChannelPoints& points, const ResonanceAnalysis& analysis,
                                    const ZmaHeader& header);

}  // namespace qlx
