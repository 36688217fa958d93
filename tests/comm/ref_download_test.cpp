#include "comm/download_fixture.h"
#include "model/ref_list.h"
#include "model/sjis.h"
#include "support/scratch_volume.h"

namespace qlx {
namespace {

using qlxtest::ReadAll;
using qlxtest::UiCall;

class RefDownload : public DownloadTest {
protected:
    std::string RunFolder(const std::string& name) const { return destination + "/" + name; }
};

TEST_F(RefDownload, AllWithOnlyNo3StoredWritesTheListAndOneCurveFile)
{
    qlxsim::SimMemory memory;
    memory.ref[2] = StoredReference("WOOFER-16A", 3);
    Store(memory);
    PickDestination();
    request.rememberedFolder = destination;

    const OpResult<> r = DownloadReferences(session, request, record);

    ASSERT_TRUE(r.done());
    const std::string run = RunFolder("Ref_20241208");
    const std::string curve = run + "/Ref_No3_WOOFER-16A.q5imp";
    const std::string list = run + "/Ref_20241208.q5lst";
    EXPECT_EQ(EntriesOf(destination), std::set<std::string>{"Ref_20241208"});
    EXPECT_EQ(EntriesOf(run), (std::set<std::string>{"Ref_20241208.q5lst", "Ref_No3_WOOFER-16A.q5imp"}));

    const std::vector<std::string> lines = LinesOf(ReadAll(list));
    ASSERT_EQ(lines.size(), 128u);
    EXPECT_EQ(ReadAll(list).find('\r'), std::string::npos);
    for (int i = 0; i < 128; ++i) {
        const std::string expected = i == 4 ? "[WOOFER-16A  ]" : i == 5 ? curve : ",";
        EXPECT_EQ(lines[i], expected) << "line " << i + 1;
    }
    EXPECT_EQ(ReadAll(curve), CurveFileImage(memory.ref[2]));
    EXPECT_EQ(LinesOf(ReadAll(curve)).size(), 4u * 123u);

    // The list file reads back as a reference list naming the curve.
    RefList read;
    EXPECT_EQ(ParseRefListBytes(ReadAll(list), run, read), 0);
    EXPECT_EQ(read.Row(3).name, "WOOFER-16A  ");
    EXPECT_EQ(RowCurvePath(read.Row(3)), curve);
    EXPECT_FALSE(read.Row(3).missing);

    std::vector<std::string> expected{StatusCmd()};
    for (int s = 0; s < 64; ++s)
        for (int c = 0; c < (s == 2 ? 4 : 1); ++c)
            expected.push_back(ReadCmd('R', s, c, 'A'));
    EXPECT_EQ(Settled(), expected);

    EXPECT_EQ(FolderBrowserShown(),
              std::vector<std::string>{std::string(kRefFolderTitle) + "|保存フォルダーの選択|" + destination});
    EXPECT_EQ(ProgressMaximum(), 64);
    ExpectOnlyMessage(MsgDlg::UpDownloadEnd, "リファレンス・カーブをダウンロードしました。");
    EXPECT_EQ(record.chosenFolder, destination);
    EXPECT_EQ(record.runFolder, run);
    EXPECT_FALSE(record.runFolderRemoved);
    EXPECT_EQ(record.files, (std::vector<std::string>{list, curve}));
    ExpectEndedCleanly();
}

TEST_F(RefDownload, WindowEventsRunAfterEveryReceivedByte)
{
    qlxsim::SimMemory memory;
    memory.ref[2] = StoredReference("W", 3);
    Store(memory);
    PickDestination();
    ASSERT_TRUE(DownloadReferences(session, request, record).done());
    int bytes = 0;
    int exchanges = 0;
    for (int s = 0; s < 64; ++s)
        for (int c = 0; c < (s == 2 ? 4 : 1); ++c) {
            bytes += static_cast<int>(BlockReply(memory.ref[s], c).size()) + 1;
            ++exchanges;
        }
    // After every byte, and once in the pause before every exchange.
    EXPECT_EQ(ui.Count(UiCall::ProcessEvents), bytes + exchanges);
}

TEST_F(RefDownload, RunsOfTheSameDayGetNumberedFolders)
{
    qlxsim::SimMemory memory;
    memory.ref[0] = StoredReference("A", 1);
    Store(memory);
    const char* const runs[] = {"Ref_20241208", "Ref_20241208_1", "Ref_20241208_2"};
    for (const char* name : runs) {
        SCOPED_TRACE(name);
        ui = qlxtest::ScriptedUi();
        PickDestination();
        ASSERT_TRUE(DownloadReferences(session, request, record).done());
        EXPECT_EQ(record.runFolder, RunFolder(name));
        EXPECT_EQ(EntriesOf(RunFolder(name)), (std::set<std::string>{std::string(name) + ".q5lst", "Ref_No1_A.q5imp"}));
        EXPECT_EQ(LinesOf(ReadAll(RunFolder(name) + "/" + name + ".q5lst"))[1], RunFolder(name) + "/Ref_No1_A.q5imp");
    }
    EXPECT_EQ(EntriesOf(destination).size(), 3u);
}

TEST_F(RefDownload, InstrumentNamesGiveFileNamesInsideTheRunFolder)
{
    struct Case {
        int number;
        std::string nameBytes;
        std::string file;
    };
    const Case cases[] = {
        {7, "Woofer/A:1  ", "Ref_No7_Woofer_A_1.q5imp"},
        {1, "            ", "Ref_No1_.q5imp"},
        {2, *Utf8ToSjis("低音"), "Ref_No2_低音.q5imp"},
        {3, *Utf8ToSjis("ソフト表示"), "Ref_No3_ソフト表示.q5imp"},
        {4, "../../x    ", "Ref_No4_.._.._x.q5imp"},
        {5, "............", "Ref_No5_" + std::string(12, '.') + ".q5imp"},
        {6, std::string("\0\0/..\n\r..\0\0", 11), "Ref_No6____..__..__.q5imp"},
    };
    qlxsim::SimMemory memory;
    for (const Case& c : cases)
        memory.ref[c.number - 1] = StoredReference(c.nameBytes, c.number);
    Store(memory);
    PickDestination();

    ASSERT_TRUE(DownloadReferences(session, request, record).done());

    const std::string run = RunFolder("Ref_20241208");
    std::set<std::string> expected{"Ref_20241208.q5lst"};
    for (const Case& c : cases)
        expected.insert(c.file);
    EXPECT_EQ(EntriesOf(run), expected);
    EXPECT_EQ(EntriesOf(destination), std::set<std::string>{"Ref_20241208"});
    EXPECT_EQ(EntriesOf(dir.path().string()), std::set<std::string>{"downloads"});

    const std::vector<std::string> lines = LinesOf(ReadAll(run + "/Ref_20241208.q5lst"));
    ASSERT_EQ(lines.size(), 128u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(ReadAll(run + "/" + c.file), CurveFileImage(memory.ref[c.number - 1]));
        EXPECT_EQ(lines[2 * c.number - 1], run + "/" + c.file);
    }
    // Name lines keep the bytes as received; control bytes become blanks so
    // that the list keeps its two lines per number and reads back whole.
    EXPECT_EQ(lines[2 * 2 - 2], "[" + *Utf8ToSjis("低音") + "        ]");
    EXPECT_EQ(lines[2 * 6 - 2], "[  /..  ..   ]");
    RefList read;
    EXPECT_EQ(ParseRefListBytes(ReadAll(run + "/Ref_20241208.q5lst"), run, read), 0);
    for (const Case& c : cases)
        EXPECT_FALSE(read.Row(c.number).missing) << c.number;
}

TEST_F(RefDownload, SelectedNumbersAreFetchedInNumberOrder)
{
    qlxsim::SimMemory memory;
    for (int s : {1, 2, 4})
        memory.ref[s] = StoredReference("No" + std::to_string(s + 1), s);
    Store(memory);
    PickDestination();
    request.selection = std::vector<int>{5, 2};

    ASSERT_TRUE(DownloadReferences(session, request, record).done());

    std::vector<std::string> expected{StatusCmd()};
    for (int s : {1, 4})
        for (int c = 0; c < 4; ++c)
            expected.push_back(ReadCmd('R', s, c, 'A'));
    EXPECT_EQ(Settled(), expected);
    const std::string run = RunFolder("Ref_20241208");
    EXPECT_EQ(EntriesOf(run), (std::set<std::string>{"Ref_20241208.q5lst", "Ref_No2_No2.q5imp", "Ref_No5_No5.q5imp"}));
    const std::vector<std::string> lines = LinesOf(ReadAll(run + "/Ref_20241208.q5lst"));
    ASSERT_EQ(lines.size(), 128u);
    for (int i = 0; i < 128; ++i) {
        const std::string want = i == 2   ? "[No2         ]"
                                 : i == 3 ? run + "/Ref_No2_No2.q5imp"
                                 : i == 8 ? "[No5         ]"
                                 : i == 9 ? run + "/Ref_No5_No5.q5imp"
                                          : ",";
        EXPECT_EQ(lines[i], want) << "line " << i + 1;
    }
    EXPECT_EQ(ProgressMaximum(), 64);
    ExpectOnlyMessage(MsgDlg::UpDownloadEnd, kRefDownloadEndText);
}

TEST_F(RefDownload, NoneSelectedStartsNothing)
{
    for (const std::vector<int>& selection : {std::vector<int>{}, std::vector<int>{0, 65, -3}}) {
        request.selection = selection;
        EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Cancelled);
        EXPECT_EQ(Settled(), std::vector<std::string>{});
        EXPECT_EQ(ui.Count(UiCall::ChooseFolder), 0);
        EXPECT_EQ(ui.Count(UiCall::ProgressOpen), 0);
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_TRUE(EntriesOf(destination).empty());
    }
}

TEST_F(RefDownload, FolderBrowserStartsAtTheRememberedFolderAndItsCancelMakesNothing)
{
    struct Case {
        std::string remembered;
        std::string start;
    };
    const Case cases[] = {
        {destination, destination},
        {dir.file("gone"), ""},  // the user interface then starts in the documents folder
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remembered);
        ui = qlxtest::ScriptedUi();
        sim.ClearLog();
        request.rememberedFolder = c.remembered;

        EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Cancelled);

        EXPECT_EQ(FolderBrowserShown(),
                  std::vector<std::string>{std::string(kRefFolderTitle) + "|" + kSaveFolderStatus + "|" + c.start});
        EXPECT_EQ(Settled(), std::vector<std::string>{StatusCmd()});
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_EQ(ui.Count(UiCall::ProgressOpen), 0);
        EXPECT_TRUE(EntriesOf(destination).empty());
        EXPECT_TRUE(record.chosenFolder.empty());
        ExpectEndedCleanly();
    }
}

TEST_F(RefDownload, CancelDuringTheThirdNumberRemovesTheRunFolder)
{
    qlxsim::SimMemory memory;
    for (int s = 0; s < 4; ++s)
        memory.ref[s] = StoredReference("R" + std::to_string(s + 1), s);
    Store(memory);
    const std::string trashFolder = dir.file("trash");
    std::filesystem::create_directory(trashFolder);
    struct Case {
        const char* what;
        bool trashTakesIt;
    };
    for (const Case& c : {Case{"the trash takes it", true}, Case{"no trash: deleted", false}}) {
        SCOPED_TRACE(c.what);
        ui = qlxtest::ScriptedUi();
        PickDestination();
        ui.cancelAtStep = 3;
        if (c.trashTakesIt)
            ui.trash = [&](const std::string& path) {
                std::filesystem::rename(path, trashFolder + "/" + std::filesystem::path(path).filename().string());
                return true;
            };

        EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Cancelled);

        EXPECT_TRUE(EntriesOf(destination).empty());
        EXPECT_TRUE(record.runFolderRemoved);
        EXPECT_TRUE(record.files.empty());
        EXPECT_EQ(record.runFolder, RunFolder("Ref_20241208"));
        ASSERT_EQ(ui.Count(UiCall::MoveToTrash), 1);
        EXPECT_TRUE(ui.Messages().empty());
        ExpectEndedCleanly();
    }
    // What the trash took is the whole run as far as it got: the list and
    // the first two curves.
    EXPECT_EQ(EntriesOf(trashFolder + "/Ref_20241208"),
              (std::set<std::string>{"Ref_20241208.q5lst", "Ref_No1_R1.q5imp", "Ref_No2_R2.q5imp"}));
}

TEST_F(RefDownload, LineFailureInTheMiddleKeepsWhatWasWritten)
{
    qlxsim::SimMemory memory;
    memory.ref[0] = StoredReference("ONE", 1);
    memory.ref[1] = StoredReference("TWO", 2);
    memory.ref[2] = StoredReference("THREE", 3);
    Store(memory);
    PickDestination();
    // Status, No. 1's four blocks, No. 2's first two blocks, then silence.
    qlxsim::SimFaults faults;
    faults.silenceAfterCommands = 7;
    sim.SetFaults(faults);
    QuickTimeout();

    EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Failed);

    ExpectOnlyMessage(MsgDlg::Rs232cErr, kCannotCommunicateText);
    const std::string run = RunFolder("Ref_20241208");
    const std::string one = run + "/Ref_No1_ONE.q5imp", two = run + "/Ref_No2_TWO.q5imp";
    EXPECT_EQ(ReadAll(one), CurveFileImage(memory.ref[0]));
    EXPECT_EQ(ReadAll(two), BlockReply(memory.ref[1], 0) + "\n" + BlockReply(memory.ref[1], 1) + "\n");
    EXPECT_EQ(LinesOf(ReadAll(run + "/Ref_20241208.q5lst")),
              (std::vector<std::string>{"[ONE         ]", one, "[TWO         ]", two}));
    EXPECT_EQ(record.files, (std::vector<std::string>{run + "/Ref_20241208.q5lst", one, two}));
    EXPECT_EQ(Settled().size(), 8u) << "nothing is sent after the failure";
    EXPECT_EQ(ui.Count(UiCall::MoveToTrash), 0);
    ExpectEndedCleanly();
}

TEST_F(RefDownload, CurveReplyTooShortForItsFlagsByteIsAnEmptySlot)
{
    qlxsim::SimMemory memory;
    memory.ref[1] = StoredReference("TWO", 2);
    memory.ref[2] = StoredReference("THREE", 3);
    Store(memory);
    for (int bytes : {17, 18}) {
        SCOPED_TRACE(bytes);
        ui = qlxtest::ScriptedUi();
        PickDestination();
        qlxsim::SimFaults faults;
        faults.shortReadSlot = 2;
        faults.shortReadBytes = bytes;
        sim.SetFaults(faults);

        ASSERT_TRUE(DownloadReferences(session, request, record).done());

        const std::string run = record.runFolder;
        const std::string list = run + "/" + std::filesystem::path(run).filename().string() + ".q5lst";
        const std::vector<std::string> lines = LinesOf(ReadAll(list));
        ASSERT_EQ(lines.size(), 128u);
        EXPECT_EQ(lines[2], "[TWO         ]");
        EXPECT_EQ(ReadAll(run + "/Ref_No2_TWO.q5imp"), CurveFileImage(memory.ref[1]));
        if (bytes == 17) {
            EXPECT_EQ(lines[4], ",");
            EXPECT_EQ(lines[5], ",");
            EXPECT_EQ(EntriesOf(run).size(), 2u);
        } else {
            // Exactly what came: never a byte of an earlier reply.
            std::string cut;
            for (int c = 0; c < 4; ++c)
                cut += BlockReply(memory.ref[2], c).substr(0, 18) + "\n";
            EXPECT_EQ(lines[4], "[THREE       ]");
            EXPECT_EQ(ReadAll(run + "/Ref_No3_THREE.q5imp"), cut);
        }
    }
}

TEST_F(RefDownload, FolderThatCannotBeMadeEndsTheRunWithItsPathAndReason)
{
    qlxsim::SimMemory memory;
    memory.ref[0] = StoredReference("ONE", 1);
    Store(memory);
    // The chosen folder went away between the choice and the first number.
    const std::string gone = dir.file("removed");
    ui.folderAnswers.push_back(gone);

    EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Failed);

    ExpectOnlyMessage(MsgDlg::Rs232cErr, std::string(kDownloadStoppedText) + "\nフォルダーを作成できません。\n" + gone +
                                             "/Ref_20241208\nNo such file or directory");
    EXPECT_EQ(record.chosenFolder, gone);
    EXPECT_TRUE(record.runFolder.empty());
    EXPECT_EQ(Settled(), (std::vector<std::string>{StatusCmd(), ReadCmd('R', 0, 0, 'A')}));
    ExpectEndedCleanly();
}

TEST_F(RefDownload, ReadOnlyOrFullDestinationEndsTheRunAndKeepsWhatWasCompleted)
{
    qlxtest::ScratchVolume volume(destination, 3 * 4096);
    if (!volume.mounted())
        GTEST_SKIP() << "no file system of the test's own: " << volume.reason();
    qlxsim::SimMemory memory;
    for (int s = 0; s < 4; ++s)
        memory.ref[s] = StoredReference("R" + std::to_string(s + 1), s);
    Store(memory);

    // Full: three pages hold the list and the first two curves.
    PickDestination();
    EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Failed);
    const std::string run = RunFolder("Ref_20241208");
    const std::string third = run + "/Ref_No3_R3.q5imp";
    ExpectOnlyMessage(MsgDlg::Rs232cErr, std::string(kDownloadStoppedText) + "\nファイルを書き込めません。\n" + third +
                                             "\nNo space left on device");
    EXPECT_EQ(ReadAll(run + "/Ref_No1_R1.q5imp"), CurveFileImage(memory.ref[0]));
    EXPECT_EQ(ReadAll(run + "/Ref_No2_R2.q5imp"), CurveFileImage(memory.ref[1]));
    EXPECT_EQ(Settled().size(), 1u + 4 + 4 + 1) << "nothing is sent after the failure";
    ExpectEndedCleanly();

    // Read-only: not even the run folder can be made.
    ui = qlxtest::ScriptedUi();
    PickDestination();
    ASSERT_TRUE(volume.MakeReadOnly()) << volume.reason();
    EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Failed);
    ExpectOnlyMessage(MsgDlg::Rs232cErr, std::string(kDownloadStoppedText) + "\nフォルダーを作成できません。\n" +
                                             RunFolder("Ref_20241208_1") + "\nRead-only file system");
    ExpectEndedCleanly();
}

// The destination turns read-only while No. 2 is received: the files open
// by then (the list, No. 2's curve) are completed, the next file cannot be
// made, and the run ends there with the path and the system's reason.
TEST_F(RefDownload, DestinationTurningReadOnlyInTheMiddleEndsTheRunAtTheNextFile)
{
    qlxtest::ScratchVolume volume(destination, 1 << 20);
    if (!volume.mounted())
        GTEST_SKIP() << "no file system of the test's own: " << volume.reason();
    qlxsim::SimMemory memory;
    for (int s = 0; s < 4; ++s)
        memory.ref[s] = StoredReference("R" + std::to_string(s + 1), s);
    Store(memory);
    PickDestination();
    bool covered = false;
    ui.onProcessEvents = [&] {
        if (!covered && sim.CommandCount() >= 1 + 4 + 2) {
            covered = true;
            ASSERT_TRUE(volume.CoverReadOnly()) << volume.reason();
        }
    };

    EXPECT_EQ(DownloadReferences(session, request, record).outcome(), Outcome::Failed);

    const std::string run = RunFolder("Ref_20241208");
    ExpectOnlyMessage(MsgDlg::Rs232cErr, std::string(kDownloadStoppedText) + "\nファイルを書き込めません。\n" + run +
                                             "/Ref_No3_R3.q5imp\nRead-only file system");
    EXPECT_EQ(ReadAll(run + "/Ref_No1_R1.q5imp"), CurveFileImage(memory.ref[0]));
    EXPECT_EQ(ReadAll(run + "/Ref_No2_R2.q5imp"), CurveFileImage(memory.ref[1]));
    const std::vector<std::string> list = LinesOf(ReadAll(run + "/Ref_20241208.q5lst"));
    EXPECT_EQ(list, (std::vector<std::string>{"[R1          ]", run + "/Ref_No1_R1.q5imp", "[R2          ]",
                                              run + "/Ref_No2_R2.q5imp"}));
    EXPECT_EQ(EntriesOf(run), (std::set<std::string>{"Ref_20241208.q5lst", "Ref_No1_R1.q5imp", "Ref_No2_R2.q5imp"}));
    EXPECT_EQ(record.files, (std::vector<std::string>{run + "/Ref_20241208.q5lst", run + "/Ref_No1_R1.q5imp",
                                                      run + "/Ref_No2_R2.q5imp"}));
    EXPECT_EQ(Settled().size(), 1u + 4 + 4 + 1) << "nothing is sent after the failure";
    ExpectEndedCleanly();
}

}  // namespace
}  // namespace qlx
