// The results window over a station's file of known records: menu item,
// order, filters, yield, counter reset, CSV export and the log's settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTest>

#include <filesystem>

#include "app/mainform.h"
#include "app/results_chart.h"
#include "app/results_recorder.h"
#include "app/results_settings_dialog.h"
#include "app/results_window.h"
#include "model/sjis.h"
#include "results/result_store.h"
#include "results/results_table_model.h"
#include "results_home.h"
#include "scripted_file_dialogs.h"

namespace qlx {
namespace {

using qlxtest::ResultsHome;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const QDate kDay1(2025, 3, 10);
const QDate kDay2(2025, 3, 12);
const std::string kWoofer = "WOOFER-16A";
const std::string kTweeter = "ツイーター-2";

struct Seed {
    QDate day;
    QTime time;
    std::optional<std::string> ref;
    const char* verdict;  // nullptr: a cancelled run
    double f0;
};

// Twelve runs of one channel each over two days.
const Seed kSeeds[] = {
    {kDay1, {9, 0}, kWoofer, "OK", 52.0},
    {kDay1, {9, 1}, kWoofer, "OK", 52.5},
    {kDay1, {9, 2}, kWoofer, "NG1H", 46.0},
    {kDay1, {9, 3}, kWoofer, "OK", 53.0},
    {kDay1, {9, 4}, kTweeter, "OK", 1500},
    {kDay1, {9, 5}, kTweeter, "OK", 1510},
    {kDay1, {9, 6}, kTweeter, "NG3L", 1400},
    {kDay1, {9, 7}, kWoofer, nullptr, 0},
    {kDay1, {9, 8}, std::nullopt, "no reference", 51.0},
    {kDay2, {10, 0}, kWoofer, "OK", 54.6},
    {kDay2, {10, 1}, kWoofer, "OK", 55.0},
    {kDay2, {10, 2}, kWoofer, "NG2L", 56.0},
};

ResultRecord RecordOf(const Seed& s)
{
    ResultRecord r;
    r.uuid = NewUuid();
    r.runUuid = NewUuid();
    r.measuredAtMs = QDateTime(s.day, s.time).toMSecsSinceEpoch();
    r.utcOffsetS = QDateTime(s.day, s.time).offsetFromUtc();
    r.station = "line-3-station";
    r.operatorName = "tanaka";
    r.refName = s.ref;
    r.terminal = "B";
    if (!s.verdict) {
        r.outcome = RunOutcome::Cancelled;
        return r;
    }
    r.channel = 1;
    r.verdict = s.verdict;
    r.f0Hz = s.f0;
    if (s.ref)
        r.refF0Hz = *s.ref == kWoofer ? 52.0 : 1500.0;
    r.points.assign(kPointCount, "123");
    return r;
}

// The station's file with the seeded records, then the main window.
struct ResultsWindowFixture : ::testing::Test {
    ResultsHome home;
    std::vector<ResultRecord> seeded;
    qlxtest::ScriptedFileDialogs dialogs;
    Settings settings;
    std::unique_ptr<TMainForm> form;
    ResultsWindow* w = nullptr;

    void SetUp() override
    {
        for (const Seed& s : kSeeds)
            seeded.push_back(RecordOf(s));
        {
            ResultStore store(DefaultResultsDatabasePath());
            ASSERT_TRUE(store.Append(seeded).written);
        }
        form = std::make_unique<TMainForm>(settings, dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void Open()
    {
        form->ui.menus.ResultsHistoryMenu->trigger();
        w = form->resultsWindow;
        ASSERT_NE(w, nullptr);
    }

    void Choose(QComboBox* box, const QString& text)
    {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
    }

    std::vector<std::string> UuidsShown() const
    {
        std::vector<std::string> uuids;
        for (int row = 0; row < w->model()->rowCount(); ++row)
            uuids.push_back(w->model()->index(row, 0).data(ResultsTableModel::kUuidRole).toString().toStdString());
        return uuids;
    }

    // The seeded records (by index) newest first.
    std::vector<std::string> Seeded(std::initializer_list<int> newestFirst) const
    {
        std::vector<std::string> uuids;
        for (int i : newestFirst)
            uuids.push_back(seeded[static_cast<std::size_t>(i)].uuid);
        return uuids;
    }

    // A failed run recorded now through the session's log.
    void RecordAFailedRunNow()
    {
        form->resultsRecorder->MeasurementEnded(form->curves, {}, Outcome::Failed);
        QCoreApplication::processEvents();
    }
};

TEST_F(ResultsWindowFixture, OpensModelessFromTheToolsMenuNewestFirstWithTheYield)
{
    EXPECT_EQ(form->ui.menus.ResultsHistoryMenu->text(), QStringLiteral("測定履歴(&H)..."));
    EXPECT_TRUE(form->ui.menus.ToolsMenu->actions().contains(form->ui.menus.ResultsHistoryMenu));
    Open();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("測定履歴"));

    EXPECT_EQ(UuidsShown(), Seeded({11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(w->ui.RecordCountLabel->text(), QStringLiteral("12 件"));
    EXPECT_EQ(w->model()->index(0, ResultsTableModel::TimeColumn).data().toString(),
              QStringLiteral("2025-03-12 10:02:00"));
    EXPECT_EQ(w->ui.YieldLabel->text(), QStringLiteral("OK 7 / 10 台 (70.0%)　NG1H 1　NG1L 0　NG2H 0　NG2L 1　NG3H 0"
                                                       "　NG3L 1　リファレンスなし 1　中止 1　失敗 0"));
    EXPECT_EQ(w->ui.SinceResetHeading->text(), QStringLiteral("カウンター (リセットなし):"));
    EXPECT_EQ(w->ui.SinceResetLabel->text(), w->ui.YieldLabel->text());
    QStringList refs;
    for (int i = 0; i < w->ui.ReferenceBox->count(); ++i)
        refs << w->ui.ReferenceBox->itemText(i);
    EXPECT_EQ(refs, (QStringList{"すべて", QString::fromStdString(kWoofer), QString::fromStdString(kTweeter)}));
    // The chart: the completed runs, oldest first.
    ASSERT_EQ(w->ui.Chart->units().size(), 11u);
    EXPECT_EQ(w->ui.Chart->units().back().verdict, "NG2L");
    EXPECT_EQ(w->ui.StatusLabel->text(), QString());

    // The window stays one: asked again it comes forward.
    form->ui.menus.ResultsHistoryMenu->trigger();
    EXPECT_EQ(form->resultsWindow, w);
}

TEST_F(ResultsWindowFixture, FiltersNarrowTheTableTheYieldAndTheChart)
{
    struct Case {
        const char* what;
        std::optional<std::pair<QDate, QDate>> period;
        QString reference;  // "" for every reference
        QString verdict;
        std::vector<int> rows;  // seeded, newest first
        QString yieldStart;
        std::size_t chartUnits;
    };
    const QString all = QStringLiteral("すべて");
    const QString woofer = QString::fromStdString(kWoofer);
    const QString tweeter = QString::fromStdString(kTweeter);
    const Case cases[] = {
        {"one reference", {}, woofer, all, {11, 10, 9, 7, 3, 2, 1, 0}, "OK 5 / 7 台 (71.4%)", 7},
        {"the other", {}, tweeter, all, {6, 5, 4}, "OK 2 / 3 台 (66.7%)", 3},
        {"OK", {}, "", "OK", {10, 9, 5, 4, 3, 1, 0}, "OK 7 / 7 台 (100.0%)", 7},
        {"every NG", {}, "", "NG (すべて)", {11, 6, 2}, "OK 0 / 3 台 (0.0%)", 3},
        {"one NG kind", {}, "", "NG3L", {6}, "OK 0 / 1 台 (0.0%)", 1},
        {"without reference", {}, "", "リファレンスなし", {8}, "判定された記録はありません", 1},
        {"cancelled", {}, "", "中止", {7}, "判定された記録はありません", 0},
        {"failed", {}, "", "失敗", {}, "判定された記録はありません", 0},
        {"the second day", std::pair{kDay2, kDay2}, "", all, {11, 10, 9}, "OK 2 / 3 台 (66.7%)", 3},
        {"a day without runs", std::pair{kDay1.addDays(1), kDay1.addDays(1)}, "", all, {}, "判定された", 0},
        {"first day and one reference",
         std::pair{kDay1, kDay1},
         woofer,
         all,
         {7, 3, 2, 1, 0},
         "OK 3 / 4 台 (75.0%)",
         4},
    };
    Open();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        w->ui.PeriodCheck->setChecked(false);
        if (k.period) {
            w->ui.FromDateEdit->setDate(k.period->first);
            w->ui.ToDateEdit->setDate(k.period->second);
        }
        w->ui.PeriodCheck->setChecked(k.period.has_value());
        EXPECT_EQ(w->ui.FromDateEdit->isEnabled(), k.period.has_value());
        Choose(w->ui.ReferenceBox, k.reference.isEmpty() ? all : k.reference);
        Choose(w->ui.VerdictBox, k.verdict);

        std::vector<std::string> expected;
        for (int i : k.rows)
            expected.push_back(seeded[static_cast<std::size_t>(i)].uuid);
        EXPECT_EQ(UuidsShown(), expected);
        EXPECT_EQ(w->ui.RecordCountLabel->text(), QStringLiteral("%1 件").arg(k.rows.size()));
        EXPECT_THAT(w->ui.YieldLabel->text().toStdString(), StartsWith(k.yieldStart.toStdString()));
        EXPECT_EQ(w->ui.Chart->units().size(), k.chartUnits);
    }
}

TEST_F(ResultsWindowFixture, TheCounterIsResetOnlyWhenConfirmedAndCountsFromThen)
{
    Open();
    const QString everything = w->ui.YieldLabel->text();
    MsgBtn answer = MsgBtn::No;
    int asked = 0;
    w->ResetCounterDlg.SetShowStep([&](MsgBoxWindow& box) {
        ++asked;
        EXPECT_EQ(box.windowTitle(), QStringLiteral("QLX-50 Manager"));
        EXPECT_THAT(box.findChild<QLabel*>(QStringLiteral("Message"))->text().toStdString(),
                    HasSubstr("カウンターをリセットしますか"));
        box.Button(answer)->click();
    });

    w->ui.ResetCounterButton->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(w->ui.SinceResetHeading->text(), QStringLiteral("カウンター (リセットなし):"));
    EXPECT_EQ(w->ui.SinceResetLabel->text(), everything);

    answer = MsgBtn::Yes;
    w->ui.ResetCounterButton->click();
    EXPECT_EQ(asked, 2);
    EXPECT_THAT(w->ui.SinceResetHeading->text().toStdString(), HasSubstr("にリセット"));
    EXPECT_THAT(w->ui.SinceResetLabel->text().toStdString(), StartsWith("判定された記録はありません"));
    EXPECT_EQ(w->ui.YieldLabel->text(), everything);  // nothing is removed

    RecordAFailedRunNow();  // the open window shows it at once
    EXPECT_THAT(w->ui.SinceResetLabel->text().toStdString(), HasSubstr("失敗 1"));
    EXPECT_THAT(w->ui.YieldLabel->text().toStdString(), HasSubstr("失敗 1"));
    EXPECT_EQ(w->model()->rowCount(), 13);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(ResultsWindowFixture, ExportsTheShownRecordsAsCsvInEitherEncoding)
{
    Open();
    Choose(w->ui.VerdictBox, QStringLiteral("OK"));
    struct Case {
        int encoding;
        const char* file;
    };
    const std::string sjisTweeter = *Utf8ToSjis(kTweeter);
    for (const Case& k : {Case{kShiftJisCsv, "sjis.csv"}, Case{kUtf8Csv, "utf8.csv"}}) {
        SCOPED_TRACE(k.file);
        w->ui.CsvEncodingBox->setCurrentIndex(k.encoding);
        const std::string path = home.file(k.file);
        dialogs.answers.push_back(QString::fromStdString(path));
        QTest::mouseClick(w->ui.CsvExportButton, Qt::LeftButton);

        ASSERT_FALSE(dialogs.asked.isEmpty());
        const FileDialogRequest& asked = dialogs.asked.back();
        EXPECT_EQ(asked.defaultSuffix, QStringLiteral("csv"));
        EXPECT_TRUE(asked.fileName.startsWith(QStringLiteral("測定履歴_")));
        EXPECT_TRUE(asked.fileName.endsWith(QStringLiteral(".csv")));
        EXPECT_EQ(form->settings.CsvDir, home.path().string());  // the folder is remembered
        ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("\n").toStdString();

        const std::string csv = qlxtest::ReadAll(path);
        // A heading and the seven OK records, newest first.
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; (end = csv.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(csv.substr(at, end - at));
        ASSERT_EQ(lines.size(), 8u);
        const int newestFirst[] = {10, 9, 5, 4, 3, 1, 0};
        for (std::size_t i = 0; i < 7; ++i)
            EXPECT_THAT(lines[i + 1], StartsWith(seeded[static_cast<std::size_t>(newestFirst[i])].uuid + ","));
        if (k.encoding == kUtf8Csv) {
            EXPECT_THAT(csv, StartsWith("\xEF\xBB\xBF"));
            EXPECT_THAT(lines[3], HasSubstr(kTweeter));
        } else {
            EXPECT_THAT(lines[0], StartsWith("uuid,"));
            EXPECT_THAT(lines[3], HasSubstr(sjisTweeter));
            EXPECT_EQ(csv.find(kTweeter), std::string::npos);
        }
    }

    // A file that cannot be written is named in the message.
    const std::string nowhere = home.file("missing-folder/out.csv");
    dialogs.answers.push_back(QString::fromStdString(nowhere));
    w->ui.CsvExportButton->click();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_THAT(dialogs.errors[0].toStdString(), HasSubstr(nowhere));
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST_F(ResultsWindowFixture, TheSettingsDialogStoresTheSettingsAndTheLogFollowsThem)
{
    Open();
    w->ui.SettingsButton->click();
    ResultsSettingsDialog* d = w->settingsDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->LogOnCheck->isChecked());  // on by default
    EXPECT_EQ(d->DatabasePathEdit->text(), QString());
    EXPECT_EQ(d->DatabasePathEdit->placeholderText().toStdString(), DefaultResultsDatabasePath());
    EXPECT_FALSE(d->LineGroup->isChecked());
    auto* sources = qobject_cast<QStandardItemModel*>(w->ui.SourceBox->model());
    EXPECT_FALSE(sources->item(kLineSource)->isEnabled());

    ResultsSettings off;
    off.logOn = false;
    off.databasePath = home.file("elsewhere/results.sqlite");
    off.line = {true, "db.line3.example", 6543, "line3", "station7", " pass word ", "sslmode=require"};
    d->LogOnCheck->setChecked(false);
    d->DatabasePathEdit->setText(QString::fromStdString(off.databasePath));
    d->LineGroup->setChecked(true);
    d->HostEdit->setText(QStringLiteral("db.line3.example"));
    d->PortSpin->setValue(6543);
    d->DatabaseEdit->setText(QStringLiteral("line3"));
    d->UserEdit->setText(QStringLiteral("station7"));
    d->PasswordEdit->setText(QStringLiteral(" pass word "));
    d->OptionsEdit->setText(QStringLiteral("sslmode=require"));
    d->OkButton->click();
    QCoreApplication::processEvents();

    EXPECT_EQ(w->settingsDialog(), nullptr);
    EXPECT_EQ(LoadResultsSettings(*OpenProgramSettings()), off);
    EXPECT_EQ(form->resultsRecorder->settings(), off);
    EXPECT_THAT(w->ui.StatusLabel->text().toStdString(), HasSubstr("記録はオフ"));
    EXPECT_TRUE(sources->item(kLineSource)->isEnabled());
    EXPECT_EQ(w->model()->rowCount(), 0);  // the station's file is now the other one
    RecordAFailedRunNow();
    EXPECT_EQ(form->resultsRecorder->kept(), 0u);
    EXPECT_EQ(w->model()->rowCount(), 0);

    // Cancel changes nothing.
    w->ui.SettingsButton->click();
    ASSERT_NE(w->settingsDialog(), nullptr);
    w->settingsDialog()->LogOnCheck->setChecked(true);
    w->settingsDialog()->CancelButton->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->resultsRecorder->settings(), off);

    // On again, without the line: runs go to the file now named.
    w->ui.SettingsButton->click();
    ASSERT_NE(w->settingsDialog(), nullptr);
    w->settingsDialog()->LogOnCheck->setChecked(true);
    w->settingsDialog()->LineGroup->setChecked(false);
    w->settingsDialog()->OkButton->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(sources->item(kLineSource)->isEnabled());
    RecordAFailedRunNow();
    EXPECT_EQ(w->model()->rowCount(), 1);
    EXPECT_EQ(qlxtest::StoredRecords(off.databasePath).size(), 1u);
    EXPECT_EQ(qlxtest::StoredRecords(DefaultResultsDatabasePath()).size(), seeded.size());
    EXPECT_EQ(w->ui.StatusLabel->text(), QString());
}

TEST_F(ResultsWindowFixture, ARunEndingAsTheWindowClosesIsStillWritten)
{
    Open();
    form->resultsRecorder->MeasurementEnded(form->curves, {}, Outcome::Cancelled);
    form.reset();  // before the write's turn came
    const std::vector<ResultRecord> records = qlxtest::StoredRecords(DefaultResultsDatabasePath());
    ASSERT_EQ(records.size(), seeded.size() + 1);
    EXPECT_EQ(records.back().outcome, RunOutcome::Cancelled);
}

// The start-up check of the Qt SQL drivers, on a recorder of its own.
TEST(ResultsDriverCheck, SaysOnceWhenTheLogCannotWorkAsSet)
{
    struct Case {
        const char* what;
        SqlDriverCheck drivers;
        bool line;
        const char* says;  // nullptr: nothing
        bool logOn;
    };
    const Case cases[] = {
        {"no SQLite driver", {false, true}, false, "QSQLITE", false},
        {"no PostgreSQL driver for the line", {true, false}, true, "QPSQL", true},
        {"no PostgreSQL driver, no line", {true, false}, false, nullptr, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        ResultsHome home;
        ResultsSettings s;
        s.line.enabled = k.line;
        s.line.host = home.file("no-server");
        ResultsHome::Configure(s);
        ResultsRecorder recorder(k.drivers);
        std::vector<std::string> shown;
        recorder.DriverMissingDlg.SetShowStep([&](MsgBoxWindow& box) {
            EXPECT_EQ(box.windowTitle(), QStringLiteral("QLX-50 Manager"));
            shown.push_back(box.findChild<QLabel*>(QStringLiteral("Message"))->text().toStdString());
            box.Button(MsgBtn::OK)->click();
        });
        recorder.CheckDrivers();
        recorder.CheckDrivers();
        ASSERT_EQ(shown.size(), k.says ? 1u : 0u);
        if (k.says) {
            EXPECT_THAT(shown[0], HasSubstr(k.says));
        }
        EXPECT_EQ(recorder.log().on(), k.logOn);
        EXPECT_EQ(recorder.log().forwarder(), nullptr);

        CurveState curves;
        curves.FillDefaultLines();
        recorder.MeasurementEnded(curves, {}, Outcome::Failed);
        QCoreApplication::processEvents();
        EXPECT_EQ(std::filesystem::exists(DefaultResultsDatabasePath()), k.logOn);
    }
}

}  // namespace
}  // namespace qlx
