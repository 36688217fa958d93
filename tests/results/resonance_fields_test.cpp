#include <gtest/gtest.h>

#include <string>

#include "model/freq_table.h"
#include "results/resonance_fields.h"
#include "speaker_model.h"

namespace qlx {
namespace {

using qlxsim::SpeakerModel;

const SpeakerModel kWoofer{6.4, 52, 42, 4.5, 0.16};
const SpeakerModel kMidrange{5.8, 180, 30, 3.0, 0.08};

void PutCurve(CurveLines& lines, int c, const SpeakerModel& m)
{
    const qlxsim::Points p = qlxsim::CurveOf(m);
    for (int j = 0; j < kPointCount; ++j)
        lines[PointSlot(c, j)] = std::to_string(p[j]);
}

// A two-channel run: a woofer on channel 1, a midrange on channel 2, each
// measured against a reference curve of a slightly different speaker of
// its kind, over the whole grid.
CurveState TwoChannelRun()
{
    CurveState s;
    s.FillDefaultLines();
    PutCurve(s.ImpLines, 0, kWoofer);
    PutCurve(s.ImpLines, 1, kMidrange);
    PutCurve(s.RefLines, 0, {6.4, 55, 42, 4.5, 0.16});
    PutCurve(s.RefLines, 1, {5.8, 170, 30, 3.0, 0.08});
    s.RefLoaded = true;
    return s;
}

std::vector<ResultRecord> ChannelRecords()
{
    std::vector<ResultRecord> records(2);
    records[0].channel = 1;
    records[1].channel = 2;
    return records;
}

TEST(ResonanceFields, EachRecordGetsItsOwnChannelsResonanceAndItsReferences)
{
    struct Case {
        const char* what;
        std::optional<double> re;
    };
    for (const Case& k : {Case{"with the user's Re", kWoofer.re}, Case{"without Re", std::nullopt}}) {
        SCOPED_TRACE(k.what);
        const CurveState s = TwoChannelRun();
        std::vector<ResultRecord> records = ChannelRecords();
        records[1].channel = 1;  // the same channel twice: the same figures
        records.push_back(records[0]);
        records.back().channel = 2;
        FillResonanceFields(records, s, k.re);

        const std::pair<const ResultRecord*, std::pair<SpeakerModel, double>> expected[] = {
            {&records[0], {kWoofer, 55}}, {&records[1], {kWoofer, 55}}, {&records[2], {kMidrange, 170}}};
        for (const auto& [r, model] : expected) {
            const SpeakerModel& m = model.first;
            ASSERT_TRUE(r->f0Hz);
            EXPECT_NEAR(*r->f0Hz, m.fs, 0.01 * m.fs);
            ASSERT_TRUE(r->zmaxOhm);
            EXPECT_NEAR(*r->zmaxOhm, m.zmax, 0.03 * m.zmax);
            ASSERT_TRUE(r->zminOhm && r->zminHz);
            EXPECT_GT(*r->zminHz, *r->f0Hz);  // above the resonance
            EXPECT_GE(*r->zminOhm, m.re * 0.98);
            EXPECT_LT(*r->zminOhm, m.zmax / 3);
            ASSERT_TRUE(r->refF0Hz);
            EXPECT_NEAR(*r->refF0Hz, model.second, 0.01 * model.second);
            EXPECT_EQ(r->qts.has_value(), k.re.has_value());
        }
        if (k.re) {
            // The woofer's coil resistance gives the woofer's own Qts.
            EXPECT_NEAR(*records[0].qts, kWoofer.Qt(), 0.03 * kWoofer.Qt());
        }
        EXPECT_EQ(records[0], records[1]);
    }
}

TEST(ResonanceFields, FiguresTheAnalysisDoesNotGiveStayEmpty)
{
    CurveState s = TwoChannelRun();
    // Channel 1 measured above its resonance only (from about 500 Hz).
    s.ImpMinFreq[0] = 55;
    std::vector<ResultRecord> records = ChannelRecords();
    ResultRecord cancelled;  // a run without channel
    cancelled.outcome = RunOutcome::Cancelled;
    records.push_back(cancelled);
    FillResonanceFields(records, s, 6.4);

    EXPECT_FALSE(records[0].f0Hz);
    EXPECT_FALSE(records[0].zmaxOhm);
    EXPECT_FALSE(records[0].qts);
    EXPECT_FALSE(records[0].zminOhm);
    EXPECT_FALSE(records[0].zminHz);
    EXPECT_TRUE(records[0].refF0Hz);  // the reference's own curve still has one
    EXPECT_TRUE(records[1].f0Hz);
    EXPECT_EQ(records[2], cancelled);

    s.RefLoaded = false;  // measured without a reference
    records = ChannelRecords();
    FillResonanceFields(records, s, std::nullopt);
    EXPECT_FALSE(records[1].refF0Hz);
    EXPECT_TRUE(records[1].f0Hz);
}

}  // namespace
}  // namespace qlx
