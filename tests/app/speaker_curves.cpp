#include "speaker_curves.h"

#include "model/sjis.h"

namespace qlxtest {

qlx::CurveLines SpeakerCurve(const std::string& nameUtf8, const char* terminal,
                             std::initializer_list<qlxsim::SpeakerModel> channels)
{
    qlx::CurveLines c{};
    qlx::FillDefaults(c);
    c[qlx::TerminalLine] = terminal;
    c[qlx::NameLine] = qlx::NameLineFor(qlx::Utf8ToSjis(nameUtf8).value());
    int channel = 0;
    for (const qlxsim::SpeakerModel& m : channels) {
        const qlxsim::Points p = qlxsim::CurveOf(m);
        for (int j = 0; j < qlx::kPointCount; ++j)
            c[qlx::PointSlot(channel, j)] = std::to_string(p[j]);
        ++channel;
    }
    return c;
}

void SetValidRange(qlx::CurveLines& lines, int first, int last)
{
    for (int ch = 0; ch < qlx::kChannelCount; ++ch) {
        qlx::SetCodeAt(lines[qlx::FreqRangeLine], 2 + 2 * ch, first);
        qlx::SetCodeAt(lines[qlx::FreqRangeLine], 3 + 2 * ch, last);
    }
    qlx::SetFlags(lines, qlx::FlagsOf(lines) | qlx::FlagRangeValid);
}

}  // namespace qlxtest
