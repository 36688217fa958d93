#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>
#include <QDateTime>
#include <QSysInfo>
#include <QUuid>

#include <set>

#include "graph/redraw_graph.h"
#include "model/sjis.h"
#include "record_fixture.h"
#include "results/record_builder.h"

namespace qlx {
namespace {

using test::CurvesAfterRun;
using test::FixedContext;

// What the graph's badge shows for channel c of these curves.
std::string GraphJudgement(CurveState s, int c)
{
    s.SelectChannel(c);
    ImpGraphImages images;
    GraphView view;
    view.JudgeMin = s.RefMinFreq[c];
    view.JudgeMax = s.RefMaxFreq[c];
    return JudgeResultText(RedrawGraph(images, s, view).verdict);
}

std::vector<int> AllChannels() { return {0, 1, 2, 3}; }

TEST(RunRecords, EachMeasuredChannelIsJudgedAsTheGraphShowsIt)
{
    // Every measured unit of the simulator against its own reference: the
    // references cover the three terminals.
    std::set<std::string> verdicts;
    for (int meas = 0; meas < 12; ++meas) {
        const int ref = meas % 6;
        SCOPED_TRACE("measured unit " + std::to_string(meas));
        const CurveState s = CurvesAfterRun(ref, meas);
        const RunContext context = FixedContext();
        const auto records = MakeRunRecords(s, {RunOutcome::Completed, AllChannels()}, context);

        const int used = ChannelsWithData(s.RefLines[TerminalLine]);
        ASSERT_EQ(static_cast<int>(records.size()), used);
        for (int c = 0; c < used; ++c) {
            const ResultRecord& r = records[c];
            EXPECT_EQ(r.channel, c + 1);
            EXPECT_EQ(r.verdict, GraphJudgement(s, c));
            verdicts.insert(*r.verdict);
            EXPECT_EQ(r.runUuid, context.runUuid);
            EXPECT_EQ(r.outcome, RunOutcome::Completed);
            EXPECT_EQ(r.terminal, s.RefLines[TerminalLine]);
            EXPECT_EQ(r.ng1, s.RefNg1[c]);
            EXPECT_EQ(r.ng3, s.RefNg3[c]);
            EXPECT_EQ(r.judgeFirst, s.RefMinFreq[c]);
            EXPECT_EQ(r.judgeLast, s.RefMaxFreq[c]);
            EXPECT_EQ(r.refFile, s.RefFilePath);
            ASSERT_EQ(r.points.size(), static_cast<std::size_t>(kPointCount));
            for (int j = 0; j < kPointCount; ++j)
                EXPECT_EQ(r.points[j], s.ImpLines[PointSlot(c, j)]);
            EXPECT_FALSE(r.f0Hz || r.zmaxOhm || r.qts || r.zminOhm || r.zminHz || r.refF0Hz);
        }
    }
    // The simulated units hold good and faulty ones.
    EXPECT_TRUE(verdicts.count("OK"));
    EXPECT_GT(verdicts.size(), 1u);
}

TEST(RunRecords, OnlySweptChannelsThatTheTerminalUsesGetRecords)
{
    struct Case {
        int ref;  // simulator reference: 0 BINDING POST, 2 NL 4, 3 NL 8
        std::vector<int> swept;
        std::vector<int> channels;
    };
    const Case cases[] = {
        {0, {0, 1, 2, 3}, {1}}, {2, {0, 1, 2, 3}, {1, 2}}, {3, {0, 1, 2, 3}, {1, 2, 3, 4}},
        {3, {2}, {3}},  // only the selected channel was swept
        {2, {3}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ref);
        const auto records =
            MakeRunRecords(CurvesAfterRun(c.ref, c.ref), {RunOutcome::Completed, c.swept}, FixedContext());
        std::vector<int> channels;
        std::set<std::string> uuids;
        for (const ResultRecord& r : records) {
            channels.push_back(*r.channel);
            uuids.insert(r.uuid);
        }
        EXPECT_EQ(channels, c.channels);
        EXPECT_EQ(uuids.size(), records.size());
    }
}

TEST(RunRecords, WithoutReferenceTheVerdictSaysSoAndNothingOfAReferenceIsRecorded)
{
    CurveState s = CurvesAfterRun(0, 0);
    s.RefLoaded = false;
    const auto records = MakeRunRecords(s, {RunOutcome::Completed, {0}}, FixedContext());
    ASSERT_EQ(records.size(), 1u);
    const ResultRecord& r = records[0];
    EXPECT_EQ(r.verdict, kNoReferenceVerdict);
    EXPECT_FALSE(r.refName || r.refFile || r.refHash);
    EXPECT_FALSE(r.ng1 || r.ng2 || r.ng3 || r.judgeFirst || r.judgeLast);
    EXPECT_FALSE(r.worstDeviationPct || r.worstDeviationHz);
    EXPECT_EQ(r.points.size(), static_cast<std::size_t>(kPointCount));
}

TEST(RunRecords, CancelledOrFailedRunIsOneRecordWithoutChannelVerdictOrPoints)
{
    for (RunOutcome outcome : {RunOutcome::Cancelled, RunOutcome::Failed}) {
        SCOPED_TRACE(OutcomeText(outcome));
        const CurveState s = CurvesAfterRun(3, 3);  // NL 8: four channels would be measured
        const RunContext context = FixedContext();
        const auto records = MakeRunRecords(s, {outcome, AllChannels()}, context);
        ASSERT_EQ(records.size(), 1u);
        const ResultRecord& r = records[0];
        EXPECT_EQ(r.outcome, outcome);
        EXPECT_FALSE(r.channel || r.verdict || r.worstDeviationPct);
        EXPECT_TRUE(r.points.empty());
        EXPECT_EQ(r.refName, "ARRAY NL8");
        EXPECT_EQ(r.refHash, ReferenceHash(s));
        EXPECT_EQ(r.terminal, "G");
        EXPECT_EQ(r.runUuid, context.runUuid);
        EXPECT_FALSE(QUuid::fromString(QString::fromStdString(r.uuid)).isNull());
    }
}

TEST(RunRecords, WorstDeviationIsTheLargestInsideTheJudgementRangeWithItsFrequency)
{
    CurveState s = CurvesAfterRun(3, 3);
    s.RefMinFreq[1] = 20;
    s.RefMaxFreq[1] = 80;
    for (int j = 0; j < kPointCount; ++j)
        s.RefLines[PointSlot(1, j)] = s.ImpLines[PointSlot(1, j)] = "200";
    auto set = [&s](int j, int percent) { s.ImpLines[PointSlot(1, j)] = std::to_string(2 * (100 + percent)); };
    set(10, 90);  // outside the range
    set(30, 22);
    set(68, -35);  // 1000 Hz
    const auto records = MakeRunRecords(s, {RunOutcome::Completed, {1}}, FixedContext());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].worstDeviationPct, -35);
    EXPECT_EQ(records[0].worstDeviationHz, 1000.0);

    // A unit equal to its reference deviates nowhere.
    for (int j = 0; j < kPointCount; ++j)
        s.ImpLines[PointSlot(1, j)] = "200";
    const auto same = MakeRunRecords(s, {RunOutcome::Completed, {1}}, FixedContext());
    EXPECT_EQ(same[0].worstDeviationPct, 0);
    EXPECT_FALSE(same[0].worstDeviationHz);
    EXPECT_EQ(same[0].verdict, "OK");
}

TEST(RunRecords, ReferenceHashChangesWithWhatTheJudgementUsesOnly)
{
    const CurveState base = CurvesAfterRun(3, 3);
    const std::string hash = ReferenceHash(base);
    EXPECT_EQ(hash.size(), 64u);
    EXPECT_EQ(hash.find_first_not_of("0123456789abcdef"), std::string::npos);

    struct Change {
        const char* what;
        void (*apply)(CurveState&);
        bool changesHash;
    };
    const Change changes[] = {
        {"a reference point", [](CurveState& s) { s.RefLines[PointSlot(2, 40)] += "1"; }, true},
        {"NG1 of channel 4", [](CurveState& s) { s.RefNg1[3] += 1; }, true},
        {"the judgement range of channel 2", [](CurveState& s) { s.RefMaxFreq[1] -= 1; }, true},
        {"the terminal", [](CurveState& s) { s.RefLines[TerminalLine] = "E"; }, true},
        {"the name", [](CurveState& s) { s.RefLines[NameLine] = NameLineFor("OTHER"); }, true},
        {"the reference memo", [](CurveState& s) { s.RefLines[MemoSlot] = "note"; }, false},
        {"the measured curve", [](CurveState& s) { s.ImpLines[PointSlot(0, 5)] = "999"; }, false},
        {"the selected channel", [](CurveState& s) { s.SelectChannel(2); }, false},
        {"the reference file", [](CurveState& s) { s.RefFilePath = "/elsewhere.q5imp"; }, false},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        CurveState s = base;
        c.apply(s);
        EXPECT_EQ(ReferenceHash(s) != hash, c.changesHash);
    }
}

TEST(RunRecords, ReferenceNameIsUtf8WithoutTheFieldsTrailingBlanks)
{
    struct Case {
        std::string nameLine;  // Shift-JIS bytes
        std::string recorded;
    };
    const Case cases[] = {
        {CurvesAfterRun(4, 4).RefLines[NameLine], "ウーファー18"},  // the simulator's, 12 bytes
        {NameLineFor(*Utf8ToSjis("ウーファー")), "ウーファー"},     // two blanks after it
        {NameLineFor(" AB"), " AB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recorded);
        CurveState s = CurvesAfterRun(4, 4);
        s.RefLines[NameLine] = c.nameLine;
        const auto records = MakeRunRecords(s, {RunOutcome::Completed, {0}}, FixedContext());
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].refName, c.recorded);
    }
}

TEST(RunContextOfStation, NamesThisHostUserTimeAndOffset)
{
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const RunContext a = CurrentRunContext();
    const qint64 after = QDateTime::currentMSecsSinceEpoch();
    const RunContext b = CurrentRunContext();
    EXPECT_EQ(a.station, QSysInfo::machineHostName().toStdString());
    EXPECT_EQ(a.operatorName, getpwuid(geteuid())->pw_name);
    EXPECT_GE(a.measuredAtMs, before);
    EXPECT_LE(a.measuredAtMs, after);
    EXPECT_EQ(a.utcOffsetS, QDateTime::fromMSecsSinceEpoch(a.measuredAtMs).offsetFromUtc());
    EXPECT_FALSE(QUuid::fromString(QString::fromStdString(a.runUuid)).isNull());
    EXPECT_NE(a.runUuid, b.runUuid);
}

}  // namespace
}  // namespace qlx
