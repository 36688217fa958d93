#pragma once

#include <initializer_list>
#include <string>

#include "model/curve_lines.h"
#include "speaker_model.h"

namespace qlxtest {

// The simulator's WOOFER-16A and the mid-woofer on channel 2 of its 2WAY NL4.
inline const qlxsim::SpeakerModel kWoofer{6.4, 52, 42, 4.5, 0.16};
inline const qlxsim::SpeakerModel kMidWoofer{7.4, 95, 33, 2.8, 0.22};

// A curve file's lines with one speaker's |Z| per channel (in order, the
// others left "0"), the name (UTF-8, stored as Shift-JIS) and the terminal.
qlx::CurveLines SpeakerCurve(const std::string& nameUtf8, const char* terminal,
                             std::initializer_list<qlxsim::SpeakerModel> channels);

// Marks grid points first..last as the valid range of every channel.
void SetValidRange(qlx::CurveLines& lines, int first, int last);

}  // namespace qlxtest
