// The results log through the window: remote measurements against the
// simulated QLX-50 and what they leave in the station's file and the line's
// database.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <set>

#include "analysis/resonance_analysis.h"
#include "app/graph_widget.h"
#include "app/mainform.h"
#include "app/re_memory.h"
#include "app/results_recorder.h"
#include "app/results_window.h"
#include "judge/judge_result.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "results/record_builder.h"
#include "results/results_table_model.h"
#include "results_home.h"
#include "scripted_file_dialogs.h"
#include "support/postgres_server.h"
#include "support/tmpfs_mount.h"
#include "ui/dlg_sinkou.h"

namespace qlx {
namespace {

using qlxtest::ResultsHome;
using qlxtest::StoredRecords;
using ::testing::HasSubstr;

// A judgement range around the woofer's resonance (31 to 108 Hz): the
// analysis sees the peak and the fall after it, and a sweep waits 1.4 s.
constexpr int kFirst = 10;
constexpr int kLast = 29;
constexpr double kWooferFs = 52;  // the simulator's WOOFER-16A
constexpr double kWooferRe = 6.4;

std::int64_t NowMs() { return QDateTime::currentMSecsSinceEpoch(); }

std::optional<double> Reported(const AnalysisValue& v)
{
    return v.Reported() ? std::optional<double>(v.value) : std::nullopt;
}

// The main window on the simulator with the results log in folders of the
// test's own; every message box is answered with OK and noted.
struct ResultsFixture : ::testing::Test {
    ResultsHome home;
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 5, std::nullopt, {}}};
    qlxtest::TempDir dir;
    qlxtest::ScriptedFileDialogs dialogs;
    Settings settings;
    std::unique_ptr<TMainForm> form;
    std::vector<std::string> shown;  // "box: text"

    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sim.Memory().ExportReferences(dir.path().string(), error)) << error;
    }

    // After the log's settings are in place.
    void MakeWindow()
    {
        settings.ComPortName = sim.devicePath();
        form = std::make_unique<TMainForm>(settings, dialogs);
        const std::pair<const char*, TExtendMsgDlg*> boxes[] = {
            {"Rs232cOpenErr", &form->MsgDlgs.Rs232cOpenErrMsgDlg},
            {"Rs232cErr", &form->MsgDlgs.Rs232cErrMsgDlg},
            {"Qlx50ModeErr", &form->MsgDlgs.Qlx50ModeErrDlg},
            {"ResultsWriteErr", &form->resultsRecorder->WriteFailureDlg},
            {"ResultsDriver", &form->resultsRecorder->DriverMissingDlg},
        };
        for (const auto& [name, dlg] : boxes)
            dlg->SetShowStep([this, name = std::string(name)](MsgBoxWindow& box) {
                shown.push_back(name + ": " + box.findChild<QLabel*>(QStringLiteral("Message"))->text().toStdString());
                box.Button(MsgBtn::OK)->click();
            });
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    std::string RefFile(const std::string& name) const { return dir.file(name + ".q5imp"); }

    // A reference curve of the simulator from its file, with the judgement
    // range kFirst..kLast on every channel.
    void OpenReference(const std::string& name)
    {
        CurveLines ref;
        ASSERT_TRUE(ReadCurveFile(RefFile(name), ref).ok);
        for (int ch = 0; ch < kChannelCount; ++ch) {
            SetCodeAt(ref[FreqRangeLine], 2 + 2 * ch, kFirst);
            SetCodeAt(ref[FreqRangeLine], 3 + 2 * ch, kLast);
        }
        ASSERT_TRUE(WriteCurveFile(RefFile(name), ref).ok);
        form->OpenCurve(CurveKind::Reference, RefFile(name));
        ASSERT_EQ(form->curves.RefMinFreq[0], kFirst);
    }

    // F9 from the menu, then the events after it: the log writes once the
    // window has shown the new curve.
    void Measure()
    {
        form->ui.menus.RemoteMeasureMenu->trigger();
        QCoreApplication::processEvents();
    }

    // Cancels the run at its first progress step while sweeping.
    void MeasureAndCancel()
    {
        QTimer canceller;
        QObject::connect(&canceller, &QTimer::timeout, [] {
            if (TDlgSinkou* d = TDlgSinkou::Instance())
                d->btnToriyame->click();
        });
        canceller.start(100);
        Measure();
    }

    std::string Database() const { return DefaultResultsDatabasePath(); }
};

// What the record of channel c must say about the curve the window shows.
void ExpectChannelRecord(const ResultRecord& r, const TMainForm& form, int c, std::optional<double> re)
{
    const CurveState& s = form.curves;
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_EQ(r.channel, c + 1);
    EXPECT_EQ(r.refFile, s.RefFilePath);
    EXPECT_EQ(r.refHash, ReferenceHash(s));
    EXPECT_EQ(r.ng1, s.RefNg1[c]);
    EXPECT_EQ(r.ng2, s.RefNg2[c]);
    EXPECT_EQ(r.ng3, s.RefNg3[c]);
    EXPECT_EQ(r.judgeFirst, kFirst);
    EXPECT_EQ(r.judgeLast, kLast);
    ASSERT_EQ(r.points.size(), static_cast<std::size_t>(kPointCount));
    for (int j = 0; j < kPointCount; ++j)
        EXPECT_EQ(r.points[j], s.ImpLines[PointSlot(c, j)]) << j;
    // The resonance of the shown curve's channel within its valid range.
    const ResonanceAnalysis a = AnalyzeResonance(ChannelPointsOf(s.ImpLines, c, kFirst, kLast), re);
    EXPECT_EQ(r.f0Hz, Reported(a.Best().f0));
    EXPECT_EQ(r.zmaxOhm, Reported(a.Best().zmax));
    EXPECT_EQ(r.qts, re ? Reported(a.Best().qts) : std::nullopt);
    // |Z|min above the resonance: none where the range shows no resonance.
    EXPECT_EQ(r.zminOhm, a.peak.Found() ? Reported(a.zmin) : std::nullopt);
    EXPECT_EQ(r.zminHz, a.peak.Found() ? Reported(a.zminHz) : std::nullopt);
}

TEST_F(ResultsFixture, EveryEndOfARemoteMeasurementIsRecordedFieldByField)
{
    MakeWindow();
    {
        auto file = OpenProgramSettings();
        ReMemory(*file).Set(RefFile("WOOFER-16A"), kWooferRe);
    }
    OpenReference("WOOFER-16A");
    const std::string station = QSysInfo::machineHostName().toStdString();
    const std::string login = getpwuid(geteuid())->pw_name;

    std::set<std::string> verdicts;
    for (std::size_t unit = 0; unit < 6; ++unit) {
        SCOPED_TRACE(unit);
        const std::int64_t before = NowMs();
        form->ui.menus.RemoteMeasureMenu->trigger();
        // Written after the curve is on the screen, not before.
        EXPECT_EQ(StoredRecords(Database()).size(), unit);
        QCoreApplication::processEvents();
        const std::int64_t after = NowMs();

        const std::vector<ResultRecord> records = StoredRecords(Database());
        ASSERT_EQ(records.size(), unit + 1);
        const ResultRecord& r = records.back();
        ExpectChannelRecord(r, *form, 0, kWooferRe);
        EXPECT_EQ(r.verdict, JudgeResultText(form->judgeResult));  // what the badge shows
        verdicts.insert(r.verdict.value_or(""));
        EXPECT_EQ(r.refName, "WOOFER-16A");
        EXPECT_EQ(r.terminal, "B");
        EXPECT_EQ(r.station, station);
        EXPECT_EQ(r.operatorName, login);
        EXPECT_GE(r.measuredAtMs, before);
        EXPECT_LE(r.measuredAtMs, after);
        EXPECT_EQ(r.utcOffsetS, QDateTime::currentDateTime().offsetFromUtc());
        // A unit of the woofer, good or with a lowered resonance, against
        // the woofer's own reference curve.
        ASSERT_TRUE(r.f0Hz && r.refF0Hz && r.qts);
        EXPECT_GT(*r.f0Hz, 0.7 * kWooferFs);
        EXPECT_LT(*r.f0Hz, 1.15 * kWooferFs);
        EXPECT_NEAR(*r.refF0Hz, kWooferFs, 0.02 * kWooferFs);
        EXPECT_GT(*r.zminHz, *r.f0Hz);
    }
    EXPECT_TRUE(verdicts.count("OK"));
    EXPECT_GT(verdicts.size(), 1u);  // and faulty units among them

    // Two channels, and no Re remembered for this reference: no Qts.
    OpenReference("2WAY NL4");
    Measure();
    std::vector<ResultRecord> records = StoredRecords(Database());
    ASSERT_EQ(records.size(), 8u);
    const ResultRecord ch1 = records[6];
    const ResultRecord ch2 = records[7];
    EXPECT_EQ(ch1.runUuid, ch2.runUuid);
    EXPECT_NE(ch1.uuid, ch2.uuid);
    EXPECT_EQ(ch1.terminal, "E");
    EXPECT_EQ(ch1.refName, "2WAY NL4");
    ExpectChannelRecord(ch1, *form, 0, std::nullopt);
    ExpectChannelRecord(ch2, *form, 1, std::nullopt);
    EXPECT_EQ(ch1.verdict, JudgeResultText(form->judgeResult));
    form->SelectChannel(1);
    EXPECT_EQ(ch2.verdict, JudgeResultText(form->judgeResult));
    form->SelectChannel(0);

    const CurveLines shownCurve = form->curves.ImpLines;
    MeasureAndCancel();
    qlxsim::SimFaults nak;
    nak.wrongFirstByte = 0x15;  // the sweep command refused
    sim.SetFaults(nak);
    Measure();
    EXPECT_EQ(form->curves.ImpLines, shownCurve);

    records = StoredRecords(Database());
    ASSERT_EQ(records.size(), 10u);
    for (const auto& [r, outcome] : {std::pair{records[8], RunOutcome::Cancelled}, {records[9], RunOutcome::Failed}}) {
        EXPECT_EQ(r.outcome, outcome);
        EXPECT_EQ(r.refName, "2WAY NL4");
        EXPECT_EQ(r.terminal, "E");
        EXPECT_FALSE(r.channel);
        EXPECT_FALSE(r.verdict);
        EXPECT_TRUE(r.points.empty());
        EXPECT_FALSE(r.f0Hz);
        EXPECT_NE(r.runUuid, ch1.runUuid);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{std::string("Rs232cErr: ") + kCannotCommunicateText}));
}

// Notes what a widget painted: the graph's picture, or that a badge was
// painted at all.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* watched) : watched_(watched) { watched->installEventFilter(this); }
    ~PaintWatch() override { watched_->removeEventFilter(this); }
    qint64 paintedImage = 0;  // cache key of the graph's picture last painted
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == watched_ && event->type() == QEvent::Paint) {
            ++paints;
            if (auto* graph = qobject_cast<GraphWidget*>(watched_))
                paintedImage = graph->Image().cacheKey();
        }
        return false;
    }

private:
    QWidget* watched_;
};

// When the run's record is written, the screen already shows its verdict:
// the graph painted with the new curve and the badge that came up painted.
TEST_F(ResultsFixture, TheVerdictIsOnTheScreenBeforeItsRecordIsWritten)
{
    MakeWindow();
    OpenReference("WOOFER-16A");
    QCoreApplication::processEvents();
    for (QLabel* badge : form->ui.imp.JudgeImage)
        ASSERT_FALSE(badge->isVisible());  // nothing measured yet
    GraphWidget* graph = form->ui.imp.ImpGraphImage;
    PaintWatch graphWatch(graph);
    std::vector<std::unique_ptr<PaintWatch>> badgeWatches;
    for (QLabel* badge : form->ui.imp.JudgeImage)
        badgeWatches.push_back(std::make_unique<PaintWatch>(badge));

    int writes = 0;
    QObject::connect(form->resultsRecorder.get(), &ResultsRecorder::RecordsWritten, [&] {
        ++writes;
        EXPECT_EQ(graphWatch.paintedImage, graph->Image().cacheKey()) << "the graph shows the curve before";
        int shownBadges = 0;
        for (std::size_t i = 0; i < badgeWatches.size(); ++i) {
            if (!form->ui.imp.JudgeImage[i]->isVisible())
                continue;
            ++shownBadges;
            EXPECT_GT(badgeWatches[i]->paints, 0) << "badge " << i << " not painted yet";
        }
        EXPECT_EQ(shownBadges, 1);
    });
    Measure();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(StoredRecords(Database()).size(), 1u);
}

TEST_F(ResultsFixture, ASecondMeasurementRefusedDuringOneIsNotRecorded)
{
    MakeWindow();
    OpenReference("WOOFER-16A");
    bool tried = false;
    QTimer second;
    QObject::connect(&second, &QTimer::timeout, [&] {
        if (TDlgSinkou::Instance() && !tried) {
            tried = true;
            form->ui.menus.RemoteMeasureMenu->trigger();
        }
    });
    second.start(50);
    Measure();
    second.stop();
    QCoreApplication::processEvents();

    ASSERT_TRUE(tried);
    const std::vector<ResultRecord> records = StoredRecords(Database());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].outcome, RunOutcome::Completed);
}

TEST_F(ResultsFixture, AnOpenResultsWindowShowsEachNewRecord)
{
    MakeWindow();
    OpenReference("WOOFER-16A");
    Measure();
    form->ui.menus.ResultsHistoryMenu->trigger();
    ResultsWindow* w = form->resultsWindow;
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->model()->rowCount(), 1);

    Measure();
    ASSERT_EQ(w->model()->rowCount(), 2);
    const std::vector<ResultRecord> records = StoredRecords(Database());
    EXPECT_EQ(w->model()->index(0, 0).data(ResultsTableModel::kUuidRole).toString().toStdString(), records[1].uuid);
    EXPECT_EQ(w->ui.RecordCountLabel->text(), QStringLiteral("2 件"));
    EXPECT_THAT(w->ui.YieldLabel->text().toStdString(), HasSubstr(" / 2 台"));
}

// The station's file on a small file system of the test's own that fills up
// during the run.
TEST_F(ResultsFixture, AFullDiskIsShownOnceAndTheRecordsArriveWhenThereIsRoomAgain)
{
    qlxtest::TmpfsMount tmpfs(2 << 20);
    if (!tmpfs.mounted())
        GTEST_SKIP() << tmpfs.whyNot();
    ResultsSettings s;
    s.databasePath = tmpfs.file("results.sqlite");
    ResultsHome::Configure(s);
    MakeWindow();
    ResultsRecorder& recorder = *form->resultsRecorder;
    recorder.SetRetryInterval(50);
    OpenReference("WOOFER-16A");
    Measure();
    ASSERT_EQ(StoredRecords(s.databasePath).size(), 1u);

    ASSERT_GT(qlxtest::FillUp(tmpfs.file("filler")), 0u);
    for (std::size_t run = 2; run <= 3; ++run) {
        SCOPED_TRACE(run);
        const CurveLines previous = form->curves.ImpLines;
        Measure();
        EXPECT_NE(form->curves.ImpLines, previous);  // measured and shown all the same
        EXPECT_TRUE(form->curves.ImpLoaded);
        EXPECT_EQ(recorder.kept(), run - 1);
        EXPECT_TRUE(recorder.retrying());
        ASSERT_EQ(shown.size(), 1u);  // once per session
        EXPECT_THAT(shown[0], HasSubstr("ResultsWriteErr: 測定履歴を書き込めません。"));
        EXPECT_THAT(shown[0], HasSubstr(s.databasePath));
        EXPECT_THAT(shown[0], HasSubstr("full"));
    }

    ASSERT_EQ(unlink(tmpfs.file("filler").c_str()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.kept() == 0; }, 20000));
    EXPECT_FALSE(recorder.retrying());
    const std::vector<ResultRecord> records = StoredRecords(s.databasePath);
    ASSERT_EQ(records.size(), 3u);
    std::set<std::string> uuids;
    for (std::size_t i = 0; i < records.size(); ++i) {
        uuids.insert(records[i].uuid);
        if (i > 0) {
            EXPECT_GT(records[i].measuredAtMs, records[i - 1].measuredAtMs);
        }
    }
    EXPECT_EQ(uuids.size(), 3u);
    EXPECT_EQ(shown.size(), 1u);
}

// The line's database: a PostgreSQL server of the test's own gets every
// record through the forwarder, also after an outage, and the results
// window shows it.
TEST_F(ResultsFixture, TheLineDatabaseGetsEveryRecordAndTheResultsWindowShowsIt)
{
    qlxtest::PostgresServer server;
    if (!server.running())
        GTEST_SKIP() << server.whyNot();
    ResultsSettings s;
    s.line.enabled = true;
    s.line.host = server.socketFolder();
    s.line.port = qlxtest::PostgresServer::kPort;
    s.line.database = qlxtest::PostgresServer::kDatabase;
    s.line.user = qlxtest::PostgresServer::kUser;
    ResultsHome::Configure(s);
    MakeWindow();
    ResultForwarder* forwarder = form->resultsRecorder->log().forwarder();
    ASSERT_NE(forwarder, nullptr);
    OpenReference("WOOFER-16A");
    Measure();
    MeasureAndCancel();
    ASSERT_TRUE(forwarder->WaitForwarded(2, std::chrono::seconds(30))) << forwarder->Status().lastError;

    form->ui.menus.ResultsHistoryMenu->trigger();
    ResultsWindow* w = form->resultsWindow;
    ASSERT_NE(w, nullptr);
    w->ui.SourceBox->setCurrentIndex(kLineSource);
    ASSERT_EQ(w->ui.SourceBox->currentIndex(), kLineSource);
    const auto uuidsShown = [w] {
        std::vector<std::string> uuids;
        for (int row = 0; row < w->model()->rowCount(); ++row)
            uuids.push_back(w->model()->index(row, 0).data(ResultsTableModel::kUuidRole).toString().toStdString());
        return uuids;
    };
    std::vector<ResultRecord> local = StoredRecords(Database());
    ASSERT_EQ(local.size(), 2u);
    EXPECT_EQ(w->ui.StatusLabel->text(), QString());
    EXPECT_EQ(uuidsShown(), (std::vector<std::string>{local[1].uuid, local[0].uuid}));
    EXPECT_EQ(w->model()->index(0, ResultsTableModel::VerdictColumn).data().toString(), QStringLiteral("中止"));

    // An outage: the measurement and its local record go on; the window
    // says it cannot reach the line, and shows the record once it can.
    ASSERT_TRUE(server.Stop());
    Measure();
    EXPECT_TRUE(shown.empty());
    local = StoredRecords(Database());
    ASSERT_EQ(local.size(), 3u);
    w->Reload();
    EXPECT_THAT(w->ui.StatusLabel->text().toStdString(), HasSubstr("ライン全体のデータベースに接続できません"));
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(forwarder->WaitForwarded(3, std::chrono::seconds(30))) << forwarder->Status().lastError;
    w->Reload();
    EXPECT_EQ(w->ui.StatusLabel->text(), QString());
    EXPECT_EQ(uuidsShown(), (std::vector<std::string>{local[2].uuid, local[1].uuid, local[0].uuid}));
}

}  // namespace
}  // namespace qlx
