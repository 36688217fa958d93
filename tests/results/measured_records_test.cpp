#include <gtest/gtest.h>

#include <set>

#include "comm/remote_measurement.h"
#include "db_fixture.h"
#include "graph/redraw_graph.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "results/record_builder.h"
#include "results/record_sql.h"
#include "results/result_store.h"
#include "support/scripted_ui.h"

namespace qlx {
namespace {

using test::RawSqlite;

// Remote measurements against the simulated QLX-50, as the window makes
// them, each run's records written to the results file.
class MeasuredRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        ConfigureInstrumentPort(port);
        session.ComPortName = sim.devicePath();
        std::string error;
        ASSERT_TRUE(sim.Memory().ExportReferences(dir.path().string(), error)) << error;
    }

    // Opens a reference curve file as the window does. A judgement range
    // around the resonance keeps each sweep under a second.
    void OpenReference(const std::string& name)
    {
        curves = CurveState();
        curves.FillDefaultLines();
        const std::string file = dir.file(name + ".q5imp");
        ASSERT_TRUE(ReadCurveFile(file, curves.RefLines).ok);
        curves.RefFilePath = file;
        curves.RefLoaded = true;
        curves.DecodeRefHeader();
        curves.RefMinFreq.fill(10);
        curves.RefMaxFreq.fill(19);
        curves.EncodeRange();
    }

    // One run; what it leaves is recorded.
    std::vector<ResultRecord> Measure()
    {
        RemoteMeasurementInput in;
        in.TerminalIndex = TerminalIndex(curves.RefLines[TerminalLine]);
        in.SelectedChannel = curves.SelectedChannel;
        in.RefMinFreq = curves.RefMinFreq;
        in.RefMaxFreq = curves.RefMaxFreq;
        ui = qlxtest::ScriptedUi();
        ui.cancelAtStep = cancelAtStep;
        const OpResult<CurveLines> points = MeasureRemotely(session, in);
        EXPECT_NE(points.outcome(), Outcome::Busy);
        MeasuredRun run;
        if (points) {
            TakeMeasuredCurve(curves, points.value());
            const ChannelSpan span = ChannelsToSweep(in);
            for (int c = span.first - 1; c < span.last; ++c)
                run.channels.push_back(c);
        } else {
            run.outcome = points.outcome() == Outcome::Cancelled ? RunOutcome::Cancelled : RunOutcome::Failed;
        }
        const auto records = MakeRunRecords(curves, run, CurrentRunContext());
        EXPECT_TRUE(store.Append(records).written);
        return records;
    }

    std::string GraphJudgement(int c)
    {
        CurveState s = curves;
        s.SelectChannel(c);
        GraphView view;
        view.JudgeMin = s.RefMinFreq[c];
        view.JudgeMax = s.RefMaxFreq[c];
        ImpGraphImages images;
        return JudgeResultText(RedrawGraph(images, s, view).verdict);
    }

    qlxtest::TempDir dir;
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 5, std::nullopt, {}}};
    Trs232c port;
    qlxtest::ScriptedUi ui;
    InstrumentSession session{port, ui};
    CurveState curves;
    int cancelAtStep = 0;
    std::string path = dir.file("results.sqlite");
    ResultStore store{path};
};

TEST_F(MeasuredRecords, EveryRunIsRecordedAndReadsBackFieldByField)
{
    std::vector<std::vector<ResultRecord>> runs;
    std::set<std::string> verdicts;
    OpenReference("WOOFER-16A");
    for (int unit = 0; unit < 6; ++unit) {
        runs.push_back(Measure());
        ASSERT_EQ(runs.back().size(), 1u);
        const ResultRecord& r = runs.back()[0];
        EXPECT_EQ(r.verdict, GraphJudgement(0));
        verdicts.insert(*r.verdict);
        EXPECT_EQ(r.refName, "WOOFER-16A");
        EXPECT_EQ(r.refFile, dir.file("WOOFER-16A.q5imp"));
        EXPECT_EQ(r.terminal, "B");
        for (int j = 0; j < kPointCount; ++j)
            EXPECT_EQ(r.points[j], curves.ImpLines[PointSlot(0, j)]);
    }
    // The simulated line gives good and faulty units.
    EXPECT_TRUE(verdicts.count("OK"));
    EXPECT_GT(verdicts.size(), 1u);

    OpenReference("2WAY NL4");
    runs.push_back(Measure());
    ASSERT_EQ(runs.back().size(), 2u);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(runs.back()[c].channel, c + 1);
        EXPECT_EQ(runs.back()[c].verdict, GraphJudgement(c));
        EXPECT_EQ(runs.back()[c].runUuid, runs.back()[0].runUuid);
    }

    cancelAtStep = 3;  // during the sweep
    runs.push_back(Measure());
    cancelAtStep = 0;
    ASSERT_EQ(runs.back().size(), 1u);
    EXPECT_EQ(runs.back()[0].outcome, RunOutcome::Cancelled);

    qlxsim::SimFaults refused;
    refused.wrongFirstByte = 0x15;  // the sweep command is answered by NAK
    sim.SetFaults(refused);
    runs.push_back(Measure());
    ASSERT_EQ(runs.back().size(), 1u);
    EXPECT_EQ(runs.back()[0].outcome, RunOutcome::Failed);
    EXPECT_TRUE(runs.back()[0].points.empty());

    RawSqlite raw(path);
    for (const auto& run : runs) {
        const auto back = RecordsOfRun(raw.db(), run[0].runUuid);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, run);
    }
    EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM records").toInt(), 10);
}

}  // namespace
}  // namespace qlx
