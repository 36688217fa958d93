#include "comm/download_fixture.h"
#include "model/curve_file.h"
#include "model/sjis.h"
#include "support/scratch_volume.h"

namespace qlx {
namespace {

using qlxtest::ReadAll;
using qlxtest::UiCall;

class ImpDownload : public DownloadTest {
protected:
    std::string Run(const std::string& name = "Imp_20241208") const { return destination + "/" + name; }

    std::vector<std::string> CurveReads(const std::vector<int>& slots)
    {
        std::vector<std::string> commands{StatusCmd()};
        for (int s : slots)
            for (int c = 0; c < 4; ++c)
                commands.push_back(ReadCmd('M', s, c, 'A'));
        return commands;
    }
};

TEST_F(ImpDownload, AllGivesEachStoredCurveAFileNamedAfterNameAndStamp)
{
    qlxsim::SimMemory memory;
    memory.meas[3] = StoredMeasured("241208153012", "Woofer A", 3);
    memory.meas[0] = StoredMeasured("241207090000", *Utf8ToSjis("低音12/8Ω"), 1);
    memory.meas[9] = StoredMeasured("241208153013", "SP:1/L", 9);
    Store(memory);
    PickDestination();

    ASSERT_TRUE(DownloadMeasured(session, request, record).done());

    const std::string woofer = Run() + "/Woofer A_2024_1208_1530_12.q5imp";
    const std::string bass = Run() + "/低音12_8Ω_2024_1207_0900_00.q5imp";
    const std::string sp = Run() + "/SP_1_L_2024_1208_1530_13.q5imp";
    EXPECT_EQ(EntriesOf(destination), std::set<std::string>{"Imp_20241208"});
    EXPECT_EQ(EntriesOf(Run()),
              (std::set<std::string>{"Woofer A_2024_1208_1530_12.q5imp", "低音12_8Ω_2024_1207_0900_00.q5imp",
                                     "SP_1_L_2024_1208_1530_13.q5imp"}));
    EXPECT_EQ(ReadAll(woofer), CurveFileImage(memory.meas[3]));
    EXPECT_EQ(ReadAll(bass), CurveFileImage(memory.meas[0]));
    EXPECT_EQ(ReadAll(sp), CurveFileImage(memory.meas[9]));
    // The file opens as the curve it was.
    CurveLines read{};
    ASSERT_TRUE(ReadCurveFile(woofer, read).ok);
    EXPECT_EQ(read[StampLine], "[241208153012]");
    EXPECT_EQ(read[NameLine], "[Woofer A    ]");

    std::vector<std::string> expected{StatusCmd()};
    for (int s = 0; s < 64; ++s)
        for (int c = 0; c < (s == 0 || s == 3 || s == 9 ? 4 : 1); ++c)
            expected.push_back(ReadCmd('M', s, c, 'A'));
    EXPECT_EQ(Settled(), expected);
    EXPECT_EQ(ProgressMaximum(), 64);
    EXPECT_EQ(FolderBrowserShown(),
              std::vector<std::string>{"測定カーブを保存するフォルダーを選択してください。|保存フォルダーの選択|"});
    ExpectOnlyMessage(MsgDlg::UpDownloadEnd, "測定カーブをダウンロードしました。");
    EXPECT_EQ(record.chosenFolder, destination);
    EXPECT_EQ(record.runFolder, Run());
    EXPECT_EQ(record.files, (std::vector<std::string>{bass, woofer, sp}));
    ExpectEndedCleanly();
}

TEST_F(ImpDownload, SelectedRowsAreFetchedInListOrderEachTheSlotItShows)
{
    qlxsim::SimMemory memory;
    for (int s : {0, 1, 3})
        memory.meas[s] = StoredMeasured("24120812000" + std::to_string(s), "S" + std::to_string(s), s);
    Store(memory);
    struct Case {
        const char* what;
        std::vector<int> rows;
        std::vector<int> slots;
        std::set<std::string> files;
    };
    const Case cases[] = {
        {"rows 3 and 1", {3, 1}, {3, 1}, {"S3_2024_1208_1200_03.q5imp", "S1_2024_1208_1200_01.q5imp"}},
        {"row 64 shows slot 0", {64}, {0}, {"S0_2024_1208_1200_00.q5imp"}},
        {"an empty row and rows out of range", {2, 0, 65}, {2}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui = qlxtest::ScriptedUi();
        sim.ClearLog();
        std::filesystem::remove_all(Run());
        PickDestination();
        request.selection = c.rows;

        ASSERT_TRUE(DownloadMeasured(session, request, record).done());

        std::vector<std::string> expected{StatusCmd()};
        for (int s : c.slots)
            for (int block = 0; block < (s == 2 ? 1 : 4); ++block)
                expected.push_back(ReadCmd('M', s, block, 'A'));
        EXPECT_EQ(Settled(), expected);
        EXPECT_EQ(ProgressMaximum(), static_cast<int>(c.slots.size()));
        EXPECT_EQ(EntriesOf(Run()), c.files);
        ExpectOnlyMessage(MsgDlg::UpDownloadEnd, kImpDownloadEndText);
    }
}

TEST_F(ImpDownload, TwoCurvesOfTheSameNameAndStampBothStay)
{
    qlxsim::SimMemory memory;
    memory.meas[1] = StoredMeasured("241208153012", "Woofer A", 1);
    memory.meas[2] = StoredMeasured("241208153012", "Woofer A", 2);
    memory.meas[3] = StoredMeasured("241208153012", "Woofer A", 3);
    Store(memory);
    PickDestination();

    ASSERT_TRUE(DownloadMeasured(session, request, record).done());

    const std::string base = Run() + "/Woofer A_2024_1208_1530_12";
    EXPECT_EQ(ReadAll(base + ".q5imp"), CurveFileImage(memory.meas[1]));
    EXPECT_EQ(ReadAll(base + "_1.q5imp"), CurveFileImage(memory.meas[2]));
    EXPECT_EQ(ReadAll(base + "_2.q5imp"), CurveFileImage(memory.meas[3]));
    EXPECT_EQ(EntriesOf(Run()).size(), 3u);
}

TEST_F(ImpDownload, NamesAndStampsCannotLeaveTheRunFolder)
{
    qlxsim::SimMemory memory;
    memory.meas[1] = StoredMeasured("../../../../", "............", 1);
    memory.meas[2] = StoredMeasured("241208153012", std::string("/\0\x1b/..", 6), 2);
    memory.meas[3] = StoredMeasured("241208153012", "            ", 3);
    Store(memory);
    PickDestination();

    ASSERT_TRUE(DownloadMeasured(session, request, record).done());

    EXPECT_EQ(EntriesOf(dir.path().string()), std::set<std::string>{"downloads"});
    EXPECT_EQ(EntriesOf(destination), std::set<std::string>{"Imp_20241208"});
    EXPECT_EQ(EntriesOf(Run()), (std::set<std::string>{"_..........._20..__..__.._._._.q5imp",
                                                       "____.._2024_1208_1530_12.q5imp", "_2024_1208_1530_12.q5imp"}));
}

TEST_F(ImpDownload, AllSlotsEmptyStillCompletes)
{
    Store(qlxsim::SimMemory{});
    PickDestination();

    ASSERT_TRUE(DownloadMeasured(session, request, record).done());

    EXPECT_EQ(EntriesOf(destination), std::set<std::string>{"Imp_20241208"});
    EXPECT_TRUE(EntriesOf(Run()).empty());
    EXPECT_TRUE(record.files.empty());
    EXPECT_EQ(Settled().size(), 65u);
    ExpectOnlyMessage(MsgDlg::UpDownloadEnd, kImpDownloadEndText);

    // The same for references: the list of 128 "," and no curve file.
    ui = qlxtest::ScriptedUi();
    PickDestination();
    ASSERT_TRUE(DownloadReferences(session, request, record).done());
    const std::string refRun = destination + "/Ref_20241208";
    EXPECT_EQ(EntriesOf(refRun), std::set<std::string>{"Ref_20241208.q5lst"});
    EXPECT_EQ(ReadAll(refRun + "/Ref_20241208.q5lst"), [] {
        std::string all;
        for (int i = 0; i < 128; ++i)
            all += ",\n";
        return all;
    }());
    ExpectOnlyMessage(MsgDlg::UpDownloadEnd, kRefDownloadEndText);
}

TEST_F(ImpDownload, CancelDuringTheThirdSlotRemovesTheRunFolder)
{
    qlxsim::SimMemory memory;
    for (int s = 0; s < 4; ++s)
        memory.meas[s] = StoredMeasured("24120812000" + std::to_string(s), "M" + std::to_string(s), s);
    Store(memory);
    PickDestination();
    ui.cancelAtStep = 3;
    std::set<std::string> inRunFolderAtCancel;
    ui.trash = [&](const std::string& path) {
        inRunFolderAtCancel = EntriesOf(path);
        return false;  // the trash cannot take it: deleted
    };

    EXPECT_EQ(DownloadMeasured(session, request, record).outcome(), Outcome::Cancelled);

    EXPECT_EQ(inRunFolderAtCancel, (std::set<std::string>{"M0_2024_1208_1200_00.q5imp", "M1_2024_1208_1200_01.q5imp"}));
    EXPECT_TRUE(EntriesOf(destination).empty());
    EXPECT_TRUE(record.runFolderRemoved);
    EXPECT_EQ(Settled(), CurveReads({0, 1}));
    EXPECT_TRUE(ui.Messages().empty());
    ExpectEndedCleanly();
}

TEST_F(ImpDownload, CancelBeforeTheRunFolderExistsTouchesNoTrash)
{
    PickDestination();
    ui.cancelAtStep = 1;
    EXPECT_EQ(DownloadMeasured(session, request, record).outcome(), Outcome::Cancelled);
    EXPECT_EQ(ui.Count(UiCall::MoveToTrash), 0);
    EXPECT_TRUE(EntriesOf(destination).empty());
    EXPECT_FALSE(record.runFolderRemoved);
    EXPECT_EQ(record.chosenFolder, destination);
    ExpectEndedCleanly();
}

TEST_F(ImpDownload, LineFailureInTheMiddleKeepsCompletedCurvesAndThePartOne)
{
    qlxsim::SimMemory memory;
    memory.meas[0] = StoredMeasured("241208153010", "ONE", 1);
    memory.meas[1] = StoredMeasured("241208153011", "TWO", 2);
    Store(memory);
    PickDestination();
    qlxsim::SimFaults faults;
    faults.silenceAfterCommands = 7;  // slot 1's third block gets no reply
    sim.SetFaults(faults);
    QuickTimeout();

    EXPECT_EQ(DownloadMeasured(session, request, record).outcome(), Outcome::Failed);

    ExpectOnlyMessage(MsgDlg::Rs232cErr, kCannotCommunicateText);
    const std::string one = Run() + "/ONE_2024_1208_1530_10.q5imp";
    EXPECT_EQ(ReadAll(one), CurveFileImage(memory.meas[0]));
    EXPECT_EQ(ReadAll(Run() + "/temp.q5imp"),
              BlockReply(memory.meas[1], 0) + "\n" + BlockReply(memory.meas[1], 1) + "\n");
    EXPECT_EQ(EntriesOf(Run()), (std::set<std::string>{"ONE_2024_1208_1530_10.q5imp", "temp.q5imp"}));
    EXPECT_EQ(record.files, (std::vector<std::string>{one, Run() + "/temp.q5imp"}));
    EXPECT_EQ(Settled().size(), 8u);
    ExpectEndedCleanly();
}

TEST_F(ImpDownload, CurveReplyTooShortForItsFlagsByteIsAnEmptySlot)
{
    qlxsim::SimMemory memory;
    memory.meas[1] = StoredMeasured("241208153011", "ONE", 1);
    memory.meas[2] = StoredMeasured("241208153012", "TWO", 2);
    Store(memory);
    PickDestination();
    qlxsim::SimFaults faults;
    faults.shortReadSlot = 2;
    faults.shortReadBytes = 17;
    sim.SetFaults(faults);

    ASSERT_TRUE(DownloadMeasured(session, request, record).done());

    EXPECT_EQ(EntriesOf(Run()), std::set<std::string>{"ONE_2024_1208_1530_11.q5imp"});
    EXPECT_EQ(Settled(), [] {
        std::vector<std::string> c{StatusCmd()};
        for (int s = 0; s < 64; ++s)
            for (int block = 0; block < (s == 1 ? 4 : 1); ++block)
                c.push_back(ReadCmd('M', s, block, 'A'));
        return c;
    }());
}

TEST_F(ImpDownload, FullDestinationEndsTheRunWithThePathAndReason)
{
    qlxtest::ScratchVolume volume(destination, 2 * 4096);
    if (!volume.mounted())
        GTEST_SKIP() << "no file system of the test's own: " << volume.reason();
    qlxsim::SimMemory memory;
    for (int s = 0; s < 3; ++s)
        memory.meas[s] = StoredMeasured("24120812000" + std::to_string(s), "M" + std::to_string(s), s);
    Store(memory);
    PickDestination();

    EXPECT_EQ(DownloadMeasured(session, request, record).outcome(), Outcome::Failed);

    ExpectOnlyMessage(MsgDlg::Rs232cErr, std::string(kDownloadStoppedText) + "\nファイルを書き込めません。\n" + Run() +
                                             "/temp.q5imp\nNo space left on device");
    EXPECT_EQ(ReadAll(Run() + "/M0_2024_1208_1200_00.q5imp"), CurveFileImage(memory.meas[0]));
    EXPECT_EQ(ReadAll(Run() + "/M1_2024_1208_1200_01.q5imp"), CurveFileImage(memory.meas[1]));
    EXPECT_EQ(Settled().size(), 1u + 4 + 4 + 1) << "nothing is sent after the failure";
    ExpectEndedCleanly();
}

// The destination turns read-only while slot 1 is received: its
// "temp.q5imp", open by then, is completed, but cannot get its final name;
// the run ends there with both names and the system's reason, and the
// received curve stays under the temporary name.
TEST_F(ImpDownload, DestinationTurningReadOnlyInTheMiddleKeepsTheReceivedCurve)
{
    qlxtest::ScratchVolume volume(destination, 1 << 20);
    if (!volume.mounted())
        GTEST_SKIP() << "no file system of the test's own: " << volume.reason();
    qlxsim::SimMemory memory;
    for (int s = 0; s < 4; ++s)
        memory.meas[s] = StoredMeasured("24120812000" + std::to_string(s), "M" + std::to_string(s), s);
    Store(memory);
    PickDestination();
    bool covered = false;
    ui.onProcessEvents = [&] {
        if (!covered && sim.CommandCount() >= 1 + 4 + 2) {
            covered = true;
            ASSERT_TRUE(volume.CoverReadOnly()) << volume.reason();
        }
    };

    EXPECT_EQ(DownloadMeasured(session, request, record).outcome(), Outcome::Failed);

    const std::string temp = Run() + "/temp.q5imp";
    const std::string second = Run() + "/M1_2024_1208_1200_01.q5imp";
    ExpectOnlyMessage(MsgDlg::Rs232cErr, std::string(kDownloadStoppedText) + "\nファイルの名前を変更できません。\n" +
                                             temp + " → " + second + "\nRead-only file system");
    EXPECT_EQ(ReadAll(Run() + "/M0_2024_1208_1200_00.q5imp"), CurveFileImage(memory.meas[0]));
    EXPECT_EQ(ReadAll(temp), CurveFileImage(memory.meas[1]));
    EXPECT_EQ(EntriesOf(Run()), (std::set<std::string>{"M0_2024_1208_1200_00.q5imp", "temp.q5imp"}));
    EXPECT_EQ(record.files, (std::vector<std::string>{Run() + "/M0_2024_1208_1200_00.q5imp", temp}));
    EXPECT_EQ(Settled().size(), 1u + 4 + 4) << "nothing is sent after the failure";
    ExpectEndedCleanly();
}

}  // namespace
}  // namespace qlx
