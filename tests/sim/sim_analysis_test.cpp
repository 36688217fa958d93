// The simulator's speakers against the analysis: what a user measures on the
// simulated instrument must give believable resonance values.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "analysis/grid_hz.h"
#include "analysis/resonance_analysis.h"
#include "analysis/zma_writer.h"
#include "model/file_io.h"
#include "sim_curves.h"
#include "sim_responder.h"
#include "support/temp_dir.h"

namespace qlxsim {
namespace {

const SpeakerModel kWoofer{6.4, 52, 42, 4.5, 0.16};  // WOOFER-16A of the default memory

qlx::ChannelPoints ToChannel(const Points& p)
{
    qlx::ChannelPoints c{};
    for (int j = 0; j < qlx::kPointCount; ++j)
        if (p[j] > 0)
            c[j] = p[j];
    return c;
}

Points SweptPoints(SimResponder& responder, const char* command)
{
    const Response r = responder.Answer(command);
    EXPECT_EQ(r.now[0], kAck);
    const auto lines = SplitLines(r.later.substr(0, r.later.size() - 1));
    Points p{};
    for (int j = 0; j < qlx::kPointCount && j < static_cast<int>(lines.size()); ++j)
        p[j] = std::stoi(lines[j]);
    return p;
}

// Every unit, good or faulty, shows its own speaker's f0 and Qt.
TEST(SimSpeakers, AnalysisFindsEachUnitsResonance)
{
    std::mt19937 rng(17);
    int shifted = 0;
    for (int n = 0; n < 40; ++n) {
        const SpeakerUnit unit = MeasuredUnit(kWoofer, rng);
        const qlx::ResonanceAnalysis a = qlx::AnalyzeResonance(ToChannel(unit.points), unit.model.re);
        ASSERT_TRUE(a.peak.Found()) << n;
        const qlx::ResonanceParameters& p = a.Best();
        EXPECT_NEAR(p.f0.value, unit.model.fs, 0.01 * unit.model.fs) << n;
        ASSERT_TRUE(p.qts.Reported()) << n;
        EXPECT_NEAR(p.qts.value, unit.model.Qt(), 0.03 * unit.model.Qt()) << n;
        shifted += unit.model.fs < 0.9 * kWoofer.fs;
    }
    EXPECT_GE(shifted, 2);  // the faulty units with a lower resonance are among them
}

TEST(SimSpeakers, UnitsPassSometimesAndFailOtherTimes)
{
    const Points type = CurveOf(kWoofer);
    std::mt19937 rng(11);
    int within = 0, outside = 0;
    for (int n = 0; n < 30; ++n) {
        const Points m = MeasuredUnit(kWoofer, rng).points;
        double worst = 0;
        for (int j = 0; j < 120; ++j)
            worst = std::max(worst, std::abs(m[j] - type[j]) / double(type[j]));
        (worst < 0.25 ? within : outside)++;
    }
    EXPECT_GE(within, 10);
    EXPECT_GE(outside, 3);
}

// The run command's sweep on the BINDING POST measures a unit of WOOFER-16A,
// the first stored reference for that terminal.
TEST(SimSpeakers, SweptWooferShowsTheModelsResonance)
{
    SimMemory memory = DefaultMemory(1);
    ASSERT_TRUE(memory.refSpeakers[0][0]);
    SimResponder responder(memory, 4);
    std::vector<double> f0s;
    for (int n = 0; n < 12; ++n) {
        const Points p = SweptPoints(responder, "RSWP\n2\n000\n119");
        const qlx::ResonanceAnalysis a = qlx::AnalyzeResonance(ToChannel(p), kWoofer.re);
        ASSERT_TRUE(a.peak.Found()) << n;
        const double f0 = a.Best().f0.value;
        EXPECT_GT(f0, 0.75 * kWoofer.fs) << n;  // a faulty unit's resonance is 20 % lower
        EXPECT_LT(f0, 1.1 * kWoofer.fs) << n;
        ASSERT_TRUE(a.Best().qts.Reported());
        EXPECT_GT(a.Best().qts.value, 0.3) << n;
        EXPECT_LT(a.Best().qts.value, 1.5) << n;
        f0s.push_back(f0);
    }
    std::sort(f0s.begin(), f0s.end());
    EXPECT_NEAR(f0s[f0s.size() / 2], kWoofer.fs, 0.05 * kWoofer.fs);
}

// An uploaded reference is known only by its curve; its units still show one
// clean resonance where the curve has it (a peak that drops keeps its shape,
// so the fit takes it).
TEST(SimSpeakers, UploadedReferenceIsMeasuredFromItsCurve)
{
    SimMemory memory = DefaultMemory(1);
    SimResponder responder(memory, 5);
    ASSERT_EQ(responder.Answer("WIMP\nR\n0\n0\n[UPLOADED    ]\nB\nC").now[0], kAck);
    EXPECT_FALSE(memory.refSpeakers[0][0]);
    const double f0 = qlx::AnalyzeResonance(ToChannel(PointsOf(memory.ref[0], 0)), std::nullopt).peak.f0Hz;
    for (int n = 0; n < 12; ++n) {
        const Points p = SweptPoints(responder, "RSWP\n2\n000\n119");
        const qlx::ResonanceAnalysis a = qlx::AnalyzeResonance(ToChannel(p), std::nullopt);
        ASSERT_TRUE(a.peak.Found()) << n;
        EXPECT_GT(a.peak.f0Hz, 0.75 * f0) << n;
        EXPECT_LT(a.peak.f0Hz, 1.1 * f0) << n;
        EXPECT_TRUE(a.refinement.Accepted()) << n;
    }
}

// A ZMA file of a swept woofer, written and read back as a crossover tool
// would: comment lines first, then ascending "frequency |Z| phase" lines whose
// |Z| are the measured points and whose phase turns from inductive to
// capacitive through the resonance.
TEST(SimSpeakers, ZmaOfTheSweptWooferReadsBack)
{
    SimMemory memory = DefaultMemory(1);
    SimResponder responder(memory, 4);
    const qlx::ChannelPoints points = ToChannel(SweptPoints(responder, "RSWP\n2\n000\n119"));
    const qlx::ResonanceAnalysis a = qlx::AnalyzeResonance(points, kWoofer.re);
    ASSERT_TRUE(a.peak.Found());
    qlx::ZmaHeader header;
    header.curveNameUtf8 = "WOOFER-16A";
    header.date = {2024, 12, 10};
    qlxtest::TempDir dir;
    const std::string path = dir.file("woofer.zma");
    ASSERT_TRUE(qlx::WriteFileBytes(path, qlx::ZmaTextWithMinimumPhase(points, a, header)));

    const std::string bytes = qlxtest::ReadAll(path);
    std::vector<double> hz, ohm, deg;
    bool data = false;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = bytes.substr(at, end - at);
        at = end + 2;
        if (line[0] == '*') {
            std::cout << "[ zma ] " << line << "\n";
            EXPECT_FALSE(data) << "a comment after the data: " << line;
            continue;
        }
        data = true;
        double v[3];
        const char* p = line.data();
        const char* last = line.data() + line.size();
        for (double& x : v) {
            const auto r = std::from_chars(p, last, x);
            ASSERT_EQ(r.ec, std::errc()) << line;
            p = r.ptr + (r.ptr < last ? 1 : 0);
        }
        hz.push_back(v[0]), ohm.push_back(v[1]), deg.push_back(v[2]);
        if (hz.size() % 8 == 1)
            std::cout << "[ zma ] " << line << "\n";  // an excerpt of what was read back
    }
    ASSERT_EQ(hz.size(), static_cast<size_t>(qlx::kPointCount));
    for (int j = 0; j < qlx::kPointCount; ++j) {
        EXPECT_EQ(hz[j], qlx::GridHz()[j]);
        EXPECT_DOUBLE_EQ(ohm[j], *points[j] / 10.0);
        EXPECT_GE(deg[j], -90);
        EXPECT_LE(deg[j], 90);
    }
    const double f0 = a.Best().f0.value;
    for (int j = 0; j < qlx::kPointCount; ++j) {
        if (hz[j] < 0.7 * f0) {
            EXPECT_GT(deg[j], 10) << hz[j];
        } else if (hz[j] > 1.4 * f0 && hz[j] < 200) {
            EXPECT_LT(deg[j], -10) << hz[j];
        }
    }
}

}  // namespace
}  // namespace qlxsim
