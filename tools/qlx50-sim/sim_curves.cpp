#include "sim_curves.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/sjis.h"

namespace qlxsim {

using qlx::CurveLines;

Points MeasuredVariant(const Points& reference, std::mt19937& rng)
{
    std::normal_distribution<double> spread(1.0, 0.02), noise(1.0, 0.004);
    std::uniform_int_distribution<int> kind(0, 5);
    const double scale = spread(rng);
    Points p = reference;
    const int fault = kind(rng);  // 0 and 1 are faulty units, about one in three
    for (int j = 0; j < qlx::kPointCount; ++j) {
        double v = reference[j];
        if (fault == 0)
            v = reference[std::clamp(j + 4, 0, qlx::kPointCount - 1)];  // resonance lower
        v *= scale * noise(rng);
        p[j] = static_cast<int>(std::lround(v));
    }
    if (fault == 1) {
        // A rubbing coil: the resonance peak drops towards the curve's
        // lowest point, smoothly, so that the curve keeps its shape.
        const auto lowest = std::min_element(p.begin(), p.end());
        const int floor = *lowest;
        for (auto it = p.begin(); it != lowest; ++it)
            *it = floor + static_cast<int>(std::lround((*it - floor) * 0.55));
    }
    return p;
}

Points PointsOf(const CurveLines& slot, int channel)
{
    Points p{};
    for (int j = 0; j < qlx::kPointCount; ++j)
        p[j] = qlx::ParsePoint(slot[qlx::PointSlot(channel, j)]).value_or(0);
    return p;
}

namespace {

struct RefSetup {
    const char* nameUtf8;
    const char* terminal;
    SpeakerModel channels[4];
    int first, last;  // judgement range
    int ng1, ng2, ng3;
};

const RefSetup kRefs[] = {
    {"WOOFER-16A", "B", {{6.4, 52, 42, 4.5, 0.16}}, 3, 112, 30, 15, 25},
    {"FULLRANGE 8", "B", {{7.1, 78, 36, 3.2, 0.20}}, 5, 115, 30, 15, 25},
    {"2WAY NL4", "E", {{6.0, 45, 55, 5.0, 0.14}, {7.4, 95, 33, 2.8, 0.22}}, 0, 119, 35, 20, 30},
    {"ARRAY NL8",
     "G",
     {{6.2, 48, 47, 4.2, 0.15}, {6.3, 50, 45, 4.0, 0.15}, {7.6, 88, 35, 3.0, 0.21}, {7.8, 92, 33, 2.9, 0.23}},
     2,
     117,
     30,
     15,
     25},
    {"ウーファー18", "B", {{5.9, 41, 58, 6.0, 0.12}}, 0, 110, 25, 10, 20},
    {"MID-6.5", "B", {{6.8, 67, 38, 3.6, 0.18}}, 8, 119, 30, 15, 25},
    {"WOOFER-16B", "B", {{6.6, 56, 40, 4.3, 0.17}}, 3, 112, 30, 15, 25},
    {"低音12/8Ω", "B", {{5.8, 42, 52, 5.5, 0.13}}, 0, 110, 25, 10, 20},
};
// Slots of the references above: the first six in No. 1 to 6, the later
// ones further on, so that a listing shows gaps.
constexpr int kRefSlots[] = {0, 1, 2, 3, 4, 5, 9, 31};

// A later shift's measurements of a few references: measured slot, the
// reference's entry above, and the time stamp.
struct LaterUnit {
    int slot;
    int ref;
    const char* stamp;
};
const LaterUnit kLaterUnits[] = {
    {20, 6, "241210083015"},
    {21, 6, "241210083342"},
    {22, 7, "241210091207"},
    {40, 0, "241211140958"},
};

std::string Bracket(const std::string& payload)
{
    std::string p = payload.substr(0, 12);
    p.resize(12, ' ');
    return "[" + p + "]";
}

void PutHeader(CurveLines& c, const RefSetup& setup, const std::string& firstLine)
{
    const std::string name = qlx::NameLineFor(qlx::Utf8ToSjis(setup.nameUtf8).value_or(setup.nameUtf8));
    std::string range = qlx::kEmptyBracket, thresholds = qlx::kEmptyBracket;
    for (int ch = 0; ch < 4; ++ch) {
        qlx::SetCodeAt(range, 2 + 2 * ch, setup.first);
        qlx::SetCodeAt(range, 3 + 2 * ch, setup.last);
        qlx::SetCodeAt(thresholds, 2 + ch, setup.ng1);
        qlx::SetCodeAt(thresholds, 6 + ch, setup.ng2);
        qlx::SetCodeAt(thresholds, 10 + ch, setup.ng3);
    }
    const std::string fields[4] = {firstLine.empty() ? name : firstLine, range, thresholds, name};
    const std::string flags(1, qlx::CodeChar(qlx::FlagRangeValid | qlx::FlagThresholdsValid | kStoredFlag));
    for (int b = 0; b < 4; ++b) {
        c[qlx::kBlockSize * b] = fields[b];
        c[qlx::kBlockSize * b + 1] = setup.terminal;
        c[qlx::kBlockSize * b + 2] = flags;
    }
}

void PutPoints(CurveLines& c, int channel, const Points& p)
{
    for (int j = 0; j < qlx::kPointCount; ++j)
        c[qlx::PointSlot(channel, j)] = std::to_string(p[j]);
}

}  // namespace

SimMemory DefaultMemory(unsigned seed)
{
    SimMemory m;
    std::mt19937 rng(seed);
    for (int r = 0; r < static_cast<int>(std::size(kRefs)); ++r) {
        const RefSetup& setup = kRefs[r];
        CurveLines& c = m.ref[kRefSlots[r]];
        PutHeader(c, setup, "");
        for (int ch = 0; ch < qlx::ChannelsWithData(setup.terminal); ++ch) {
            PutPoints(c, ch, CurveOf(setup.channels[ch]));
            m.refSpeakers[r][ch] = setup.channels[ch];
        }
    }
    // Two measured units of each of the first six references, stamped a few
    // minutes apart.
    const int refCount = 6;
    for (int s = 0; s < 2 * refCount; ++s) {
        const RefSetup& setup = kRefs[s % refCount];
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "2412%02d%02d%02d%02d", 8 + s / refCount, 9 + s % 8, (7 * s) % 60,
                      (13 * s) % 60);
        CurveLines& c = m.meas[s];
        PutHeader(c, setup, Bracket(stamp));
        for (int ch = 0; ch < qlx::ChannelsWithData(setup.terminal); ++ch)
            PutPoints(c, ch, MeasuredUnit(setup.channels[ch], rng).points);
    }
    for (const LaterUnit& unit : kLaterUnits) {
        const RefSetup& setup = kRefs[unit.ref];
        CurveLines& c = m.meas[unit.slot];
        PutHeader(c, setup, Bracket(unit.stamp));
        for (int ch = 0; ch < qlx::ChannelsWithData(setup.terminal); ++ch)
            PutPoints(c, ch, MeasuredVariant(PointsOf(m.ref[kRefSlots[unit.ref]], ch), rng));
    }
    return m;
}

}  // namespace qlxsim
