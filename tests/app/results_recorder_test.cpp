// The session's recorder when new settings come while records are kept after
// failed writes: none of them is lost without the user being told.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/results_recorder.h"
#include "model/curve_state.h"
#include "results_home.h"
#include "ui/msg_box_window.h"

namespace qlx {
namespace {

using qlxtest::ResultsHome;
using ::testing::HasSubstr;

// A recorder whose station file lies in a folder that cannot be made (a file
// is in its way) until `Mend`, with the texts of its boxes collected.
struct BlockedStation {
    ResultsHome home;
    std::string blocker = home.file("blocked");
    ResultsSettings settings;
    std::unique_ptr<ResultsRecorder> recorder;
    std::vector<std::string> failures;
    std::vector<std::string> discarded;

    BlockedStation()
    {
        qlxtest::WriteAll(blocker, "");
        settings.databasePath = blocker + "/results.sqlite";
        ResultsHome::Configure(settings);
        recorder = std::make_unique<ResultsRecorder>(CheckSqlDrivers());
        for (auto [dlg, texts] :
             {std::pair{&recorder->WriteFailureDlg, &failures}, {&recorder->DiscardedDlg, &discarded}})
            dlg->SetShowStep([texts = texts](MsgBoxWindow& box) {
                texts->push_back(box.findChild<QLabel*>(QStringLiteral("Message"))->text().toStdString());
                box.Button(MsgBtn::OK)->click();
            });
    }
    void Mend() { std::filesystem::remove(blocker); }
};

TEST(ResultsRecorderNewSettings, KeptRecordsAreWrittenOrTheirLossIsTold)
{
    struct Case {
        const char* what;
        bool logOn;         // the new settings
        bool otherFile;     // the new settings name a file that works
        bool mended;        // the old file works again by then
        std::size_t inOld;  // records that reach the old file
        std::size_t inNew;
        bool told;
    };
    const Case cases[] = {
        {"switched off, the file takes them now", false, false, true, 2, 0, false},
        {"switched off, the file still refuses them", false, false, false, 0, 0, true},
        {"moved to a file that works", true, true, false, 0, 2, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        BlockedStation station;
        ResultsRecorder& recorder = *station.recorder;
        const ResultsSettings& s = station.settings;
        const std::vector<std::string>& failures = station.failures;
        const std::vector<std::string>& discarded = station.discarded;
        CurveState curves;
        curves.FillDefaultLines();
        for (Outcome outcome : {Outcome::Failed, Outcome::Cancelled}) {
            recorder.MeasurementEnded(curves, {}, outcome);
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(recorder.kept(), 2u);
        ASSERT_EQ(failures.size(), 1u);

        if (k.mended)
            station.Mend();
        ResultsSettings next = s;
        next.logOn = k.logOn;
        if (k.otherFile)
            next.databasePath = station.home.file("elsewhere/results.sqlite");
        recorder.ApplySettings(next);

        EXPECT_EQ(recorder.kept(), 0u);
        if (k.mended) {
            EXPECT_EQ(qlxtest::StoredRecords(s.databasePath).size(), k.inOld);
        } else {
            EXPECT_FALSE(std::filesystem::exists(s.databasePath));
        }
        if (k.otherFile) {
            EXPECT_EQ(qlxtest::StoredRecords(next.databasePath).size(), k.inNew);
        }
        ASSERT_EQ(discarded.size(), k.told ? 1u : 0u);
        if (k.told) {
            EXPECT_THAT(discarded[0], HasSubstr("2 件"));
            EXPECT_THAT(discarded[0], HasSubstr(s.databasePath));
            EXPECT_THAT(discarded[0], HasSubstr("cannot create the folder"));
        }
        EXPECT_EQ(failures.size(), 1u);  // the write failure is not shown again
    }
}

// At the end of the session the kept records get a last try; what is still
// refused is told, never dropped in silence.
TEST(ResultsRecorderSessionEnd, KeptRecordsAreWrittenOrTheirLossIsTold)
{
    for (const bool mended : {true, false}) {
        SCOPED_TRACE(mended ? "the file takes them now" : "the file still refuses them");
        BlockedStation station;
        ResultsRecorder& recorder = *station.recorder;
        const ResultsSettings& s = station.settings;
        const std::vector<std::string>& discarded = station.discarded;
        CurveState curves;
        curves.FillDefaultLines();
        recorder.MeasurementEnded(curves, {}, Outcome::Failed);
        QCoreApplication::processEvents();
        // The last run has not been written yet when the session ends.
        recorder.MeasurementEnded(curves, {}, Outcome::Cancelled);
        ASSERT_EQ(recorder.kept(), 1u);

        if (mended)
            station.Mend();
        recorder.SessionEnding();

        EXPECT_EQ(recorder.kept(), 0u);
        EXPECT_FALSE(recorder.retrying());
        if (mended) {
            EXPECT_EQ(qlxtest::StoredRecords(s.databasePath).size(), 2u);
            EXPECT_TRUE(discarded.empty());
        } else {
            ASSERT_EQ(discarded.size(), 1u);
            EXPECT_THAT(discarded[0], HasSubstr("2 件"));
            EXPECT_THAT(discarded[0], HasSubstr(s.databasePath));
        }
    }
}

}  // namespace
}  // namespace qlx
