#include "speaker_model.h"

#include <charconv>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>

namespace qlxsim {

double Hertz(int gridIndex)
{
    const char* text = qlx::FreqHz[gridIndex];
    double hz = 0;
    std::from_chars(text, text + std::strlen(text), hz);
    return hz;
}

double ImpedanceOhm(const SpeakerModel& m, double hz)
{
    using C = std::complex<double>;
    const C motional = (m.zmax - m.re) / C(1.0, m.qm * (hz / m.fs - m.fs / hz));
    const C coil = C(m.re, 2.0 * std::numbers::pi * hz * m.le_mH * 1e-3);
    return std::abs(coil + motional);
}

Points CurveOf(const SpeakerModel& m)
{
    Points p{};
    for (int j = 0; j < qlx::kPointCount; ++j)
        p[j] = static_cast<int>(std::lround(ImpedanceOhm(m, Hertz(j)) * 10));
    return p;
}

SpeakerUnit MeasuredUnit(const SpeakerModel& type, std::mt19937& rng)
{
    std::normal_distribution<double> re(1.0, 0.015), fs(1.0, 0.02), qm(1.0, 0.05), peak(1.0, 0.04), le(1.0, 0.03);
    std::normal_distribution<double> noise(1.0, 0.002);
    std::uniform_int_distribution<int> kind(0, 5);
    SpeakerModel m = type;
    m.re = type.re * re(rng);
    m.fs = type.fs * fs(rng);
    m.qm = type.qm * qm(rng);
    double motional = (type.zmax - type.re) * peak(rng);
    m.le_mH = type.le_mH * le(rng);
    switch (kind(rng)) {
    case 0: m.fs *= 0.8; break;  // softer suspension
    case 1:
        // A rubbing coil: friction lowers the mechanical Q and, with it, the
        // motional peak.
        m.qm *= 0.55;
        motional *= 0.55;
        break;
    default: break;
    }
    m.zmax = m.re + motional;

    SpeakerUnit unit{m, CurveOf(m)};
    for (int& v : unit.points)
        v = static_cast<int>(std::lround(v * noise(rng)));
    return unit;
}

}  // namespace qlxsim
