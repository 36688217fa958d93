#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>

#include "comm/ref_upload.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "support/scripted_ui.h"
#include "support/settled_commands.h"
#include "support/temp_dir.h"
#include "support/upload_fixture.h"

namespace qlx {
namespace {

using qlxtest::ExpectedEmptySlot;
using qlxtest::ExpectedSlot;
using qlxtest::ScriptedUi;
using qlxtest::TempDir;
using qlxtest::UiCall;
using qlxtest::UploadTestCurve;

const std::string kStatus = "RSTT\x03";

// The status command followed by the packets of each slot in turn.
std::vector<std::string> StatusThen(const std::vector<std::vector<std::string>>& slots)
{
    std::vector<std::string> out{kStatus};
    for (const auto& slot : slots)
        out.insert(out.end(), slot.begin(), slot.end());
    return out;
}

int CountHeaders(const std::vector<std::string>& commands)
{
    return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                          [](const std::string& c) { return c.rfind("WIMP\n", 0) == 0; }));
}

// Uploads into an instrument with empty reference slots, on the main
// window's port. The session's pause is recorded instead of slept.
class RefUpload : public ::testing::Test {
protected:
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 5, qlxsim::SimMemory{}, {}}};
    Trs232c port;
    ScriptedUi ui;
    InstrumentSession session{port, ui};
    std::vector<int> pauses;
    TempDir dir;

    void SetUp() override
    {
        ConfigureInstrumentPort(port);
        session.ComPortName = sim.devicePath();
        session.Pause = [this](int ms) { pauses.push_back(ms); };
    }

    std::vector<std::string> Settled() { return qlxtest::SettledCommands(sim); }

    // A curve file in the test folder (or in `folder`); returns its path.
    std::string CurveFile(const std::string& name, const CurveLines& curve, const std::string& folder = {})
    {
        const std::string path = (folder.empty() ? dir.path().string() : folder) + "/" + name;
        EXPECT_TRUE(WriteCurveFile(path, curve).ok);
        return path;
    }

    // A list source whose row r names the curve file at `path` (any folder).
    static void PutRow(RefList& list, int r, const std::string& path)
    {
        list.Row(r) = {"ROW" + std::to_string(r), DisplayName(path), FolderWithoutSeparator(path), false};
    }

    RefUploadSource ListSource(const RefList& list) const
    {
        RefUploadSource source;
        source.ListLines = BuildRefListLines(list);
        source.RefListDir = dir.path().string();
        return source;
    }

    RefUploadSource SingleSource(const CurveLines& curve) const
    {
        RefUploadSource source;
        source.RefLines = curve;
        return source;
    }

    int ProgressMaximum() const
    {
        for (const UiCall& c : ui.calls)
            if (c.kind == UiCall::ProgressOpen)
                return c.maximum;
        return -1;
    }

    void ExpectOneMessage(MsgDlg dialog, const std::string& text)
    {
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].dialog, dialog);
        EXPECT_EQ(messages[0].text, text);
    }

    // Every way an upload ends leaves the port closed, no progress dialog
    // and an idle session.
    void ExpectEndedCleanly()
    {
        EXPECT_FALSE(port.opened());
        EXPECT_FALSE(ui.progressShown());
        EXPECT_EQ(session.CommState(), CommIdle);
        EXPECT_FALSE(session.busy());
    }
};

TEST_F(RefUpload, SingleUploadWritesTheCurveIntoTheChosenSlotAsFourBlocks)
{
    const CurveLines curve = UploadTestCurve();
    const std::pair<int, char> cases[] = {{1, '0'}, {64, 'o'}, {11, ':'}};
    for (const auto& [refNo, slot] : cases) {
        SCOPED_TRACE(refNo);
        sim.ClearLog();
        ui = ScriptedUi();
        pauses.clear();

        const OpResult<UploadReport> result = UploadRefCurves(session, refNo, SingleSource(curve));

        ASSERT_TRUE(result.done());
        EXPECT_EQ(result.value().slotsWritten, 1);
        EXPECT_FALSE(result.value().stoppedAtMissingFile);
        const std::vector<std::string> commands = Settled();
        ASSERT_EQ(commands, StatusThen({ExpectedSlot(slot, curve)}));
        EXPECT_EQ(CountHeaders(commands), 4);
        EXPECT_EQ(commands.size(), 1u + 64u);
        // The field lines of blocks 0 to 3, each followed by terminal and flags.
        EXPECT_NE(commands[1].find("\n0\n" + curve[NameLine] + "\nG\nG\x03"), std::string::npos);
        EXPECT_NE(commands[17].find("\n1\n" + curve[FreqRangeLine] + "\nG\nG\x03"), std::string::npos);
        EXPECT_NE(commands[33].find("\n2\n" + curve[ThresholdLine] + "\nG\nG\x03"), std::string::npos);
        EXPECT_NE(commands[49].find("\n3\n" + curve[NameLine] + "\nG\nG\x03"), std::string::npos);
        for (const std::string& c : commands)
            for (const char* hidden : qlxtest::kNeverSent)
                EXPECT_EQ(c.find(hidden), std::string::npos) << hidden;

        std::vector<int> expectedPauses;
        for (int b = 0; b < 4; ++b) {
            expectedPauses.push_back(100);
            expectedPauses.insert(expectedPauses.end(), 15, 25);
        }
        EXPECT_EQ(pauses, expectedPauses);
        EXPECT_EQ(ProgressMaximum(), 1);
        EXPECT_EQ(ui.steps(), 1);
        EXPECT_TRUE(ui.Messages().empty());
        ExpectEndedCleanly();

        // The instrument holds the Shift-JIS name and the code characters as sent.
        const CurveLines stored = sim.Memory().ref[static_cast<size_t>(refNo - 1)];
        EXPECT_EQ(stored[NameLine], curve[NameLine]);
        EXPECT_EQ(stored[StampLine], curve[NameLine]);
        EXPECT_EQ(stored[FreqRangeLine], curve[FreqRangeLine]);
        EXPECT_EQ(stored[ThresholdLine], curve[ThresholdLine]);
        EXPECT_EQ(stored[PointSlot(3, 119)], "4119");
    }
}

TEST_F(RefUpload, EveryPacketLetsTheWindowRunTwiceWhileItsAnswerIsAwaited)
{
    std::vector<int> states;
    ui.onProcessEvents = [&] { states.push_back(session.CommState()); };
    ASSERT_TRUE(UploadRefCurves(session, 3, SingleSource(UploadTestCurve())).done());
    // One step before the slot (its events run inside the step), then two in
    // each of the 64 exchanges, all with the packet written; the pauses,
    // which let the window run as well, are the fixture's here.
    EXPECT_EQ(ui.Count(UiCall::ProcessEvents), 2 * 64);
    ASSERT_EQ(states.size(), 1u + 2 * 64);
    EXPECT_EQ(states[0], CommConfirmed);
    EXPECT_TRUE(std::all_of(states.begin() + 1, states.end(), [](int s) { return s == CommUploadSent; }));
}

TEST_F(RefUpload, ListOfEmptyRowsWritesEverySlotEmptyWithoutAQuestion)
{
    RefList list;
    list.Row(7).name = "NAME ONLY";  // a name without a folder is no file either
    const OpResult<UploadReport> result = UploadRefCurves(session, 0, ListSource(list));

    ASSERT_TRUE(result.done());
    EXPECT_EQ(result.value().slotsWritten, 64);
    std::vector<std::vector<std::string>> slots;
    for (int n = 0; n < 64; ++n)
        slots.push_back(ExpectedEmptySlot(SlotChar(n)));
    const std::vector<std::string> commands = Settled();
    EXPECT_EQ(commands.size(), 1u + 64u * 16u);
    EXPECT_EQ(commands, StatusThen(slots));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ProgressMaximum(), 64);
    EXPECT_EQ(ui.steps(), 64);
    ExpectEndedCleanly();
}

TEST_F(RefUpload, ListRowsSendTheirFilesOwnLinesAndEmptyRowsAnEmptySlot)
{
    const CurveLines a = UploadTestCurve(1);
    const CurveLines b = UploadTestCurve(2);
    RefList list;
    PutRow(list, 1, CurveFile("a.q5imp", a));
    // CR LF line ends, blank lines and leading blanks read as if absent.
    std::string spaced = "\r\n\r\n";
    for (int i = 0; i < MemoSlot; ++i)
        spaced += "  " + b[i] + "\r\n" + (i % 50 == 0 ? "\r\n \t\r\n" : "");
    const std::string bPath = dir.file("b spaced.q5imp");
    qlxtest::WriteAll(bPath, spaced + "MEMO LINE\r\n");
    PutRow(list, 3, bPath);
    list.Row(1).name = "LIST NAME";  // the name sent is the file's own
    const RefUploadSource source = ListSource(list);
    const RefUploadSource before = source;
    const std::string aBytes = qlxtest::ReadAll(dir.file("a.q5imp"));

    const OpResult<UploadReport> result = UploadRefCurves(session, 0, source);

    ASSERT_TRUE(result.done());
    std::vector<std::vector<std::string>> slots{ExpectedSlot('0', a), ExpectedEmptySlot('1'), ExpectedSlot('2', b)};
    for (int n = 3; n < 64; ++n)
        slots.push_back(ExpectedEmptySlot(SlotChar(n)));
    EXPECT_EQ(Settled(), StatusThen(slots));
    EXPECT_TRUE(ui.Messages().empty());
    // Nothing the upload was given is changed: lines, folder and files.
    EXPECT_EQ(source.ListLines, before.ListLines);
    EXPECT_EQ(source.RefListDir, before.RefListDir);
    EXPECT_EQ(source.RefLines, before.RefLines);
    EXPECT_EQ(qlxtest::ReadAll(dir.file("a.q5imp")), aBytes);
    EXPECT_EQ(qlxtest::ReadAll(bPath), spaced + "MEMO LINE\r\n");
    ExpectEndedCleanly();
}

TEST_F(RefUpload, FileMovedBesideTheListIsFoundThereWithoutAQuestion)
{
    const CurveLines moved = UploadTestCurve(5);
    CurveFile("moved.q5imp", moved);  // lies in the list's folder now
    RefList list;
    list.Row(2) = {"MOVED", "moved", "/nonexistent/old folder", true};
    ASSERT_TRUE(UploadRefCurves(session, 0, ListSource(list)).done());
    const std::vector<std::string> commands = Settled();
    ASSERT_EQ(commands.size(), 1u + 16u + 64u + 62u * 16u);
    const std::vector<std::string> slot2(commands.begin() + 17, commands.begin() + 17 + 64);
    EXPECT_EQ(slot2, ExpectedSlot('1', moved));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(RefUpload, MissingFileAnsweredNoStopsThereAndTheUploadStillCountsAsDone)
{
    const CurveLines a = UploadTestCurve(1);
    for (int answer : {int(mrNo), int(mrCancel)}) {  // the close box counts as No
        SCOPED_TRACE(answer);
        sim.ClearLog();
        ui = ScriptedUi();
        ui.messageAnswers = {mrYes, answer, mrOk};  // upload question, missing file, completion
        RefList list;
        PutRow(list, 1, CurveFile("a.q5imp", a));
        list.Row(2) = {"GONE", "gone", "/nonexistent", true};
        PutRow(list, 3, CurveFile("c.q5imp", a));

        const OpResult<UploadReport> result = ConfirmAndUploadRefCurves(session, 0, ListSource(list));

        ASSERT_TRUE(result.done());
        EXPECT_TRUE(result.value().stoppedAtMissingFile);
        EXPECT_EQ(result.value().slotsWritten, 1);
        EXPECT_EQ(Settled(), StatusThen({ExpectedSlot('0', a)}));
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 3u);
        EXPECT_EQ(messages[0].dialog, MsgDlg::UpLoad);
        EXPECT_EQ(messages[0].text, "QLX-50のリファレンス・カーブが上書されます。\r\nアップロードしても良いですか？");
        EXPECT_EQ(messages[1].dialog, MsgDlg::ImpFileNothingErr);
        EXPECT_EQ(messages[1].text,
                  "次のインピーダンスカーブファイルがありません。\r\n\r\nリファレンスNo.2   gone.q5imp\r\n\r\n"
                  "処理を続けますか？");
        EXPECT_EQ(messages[2].dialog, MsgDlg::UpDownloadEnd);
        EXPECT_EQ(messages[2].text, "リファレンス・カーブをアップロードしました。");
        ExpectEndedCleanly();
    }
}

TEST_F(RefUpload, MissingFileAnsweredYesWritesThatSlotEmptyAndGoesOn)
{
    const CurveLines a = UploadTestCurve(1);
    ui.messageAnswers = {mrYes};
    RefList list;
    list.Row(1) = {"GONE", "gone", "/nonexistent", true};
    PutRow(list, 2, CurveFile("a.q5imp", a));
    RefUploadSource source = ListSource(list);
    source.RefListDir.clear();  // no list folder to look in either

    const OpResult<UploadReport> result = UploadRefCurves(session, 0, source);

    ASSERT_TRUE(result.done());
    EXPECT_FALSE(result.value().stoppedAtMissingFile);
    EXPECT_EQ(result.value().slotsWritten, 64);
    std::vector<std::vector<std::string>> slots{ExpectedEmptySlot('0'), ExpectedSlot('1', a)};
    for (int n = 2; n < 64; ++n)
        slots.push_back(ExpectedEmptySlot(SlotChar(n)));
    EXPECT_EQ(Settled(), StatusThen(slots));
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].dialog, MsgDlg::ImpFileNothingErr);
    ExpectEndedCleanly();
}

TEST_F(RefUpload, PathsStartingWithAControlByteCountAsNoPath)
{
    RefList list;
    RefUploadSource source = ListSource(list);
    source.ListLines[1] = "\x14/curves/a.q5imp";  // row 1: absent, written empty
    source.ListLines[3] = "\x15missing.q5imp";    // row 2: present, so asked about
    ui.messageAnswers = {mrNo};
    const OpResult<UploadReport> result = UploadRefCurves(session, 0, source);
    ASSERT_TRUE(result.done());
    EXPECT_EQ(Settled(), StatusThen({ExpectedEmptySlot('0')}));
    ExpectOneMessage(MsgDlg::ImpFileNothingErr, MissingCurveFileText(2, "\x15missing.q5imp"));
}

TEST_F(RefUpload, WrongOrMissingAnswerFailsAtOnceAndSendsNothingMore)
{
    const CurveLines curve = UploadTestCurve();
    const std::vector<std::string> slot = ExpectedSlot('4', curve);
    struct Case {
        const char* what;
        qlxsim::SimFaults faults;
        std::size_t packetsSent;
    };
    qlxsim::SimFaults nakFirstHeader, letterFirstHeader, silentFirstHeader, nakMidSlot;
    nakFirstHeader.wrongFirstByte = 0x15;
    nakFirstHeader.onlyReplyTo = 2;  // the status command is the first
    letterFirstHeader.wrongFirstByte = 'A';
    letterFirstHeader.onlyReplyTo = 2;
    silentFirstHeader.silenceAfterCommands = 1;
    nakMidSlot.wrongFirstByte = 0x15;
    nakMidSlot.onlyReplyTo = 1 + 20;  // the third point packet of block 1
    const Case cases[] = {
        {"NAK after the first header", nakFirstHeader, 1},
        {"another byte after the first header", letterFirstHeader, 1},
        {"no answer after the first header", silentFirstHeader, 1},
        {"NAK in the middle of the slot", nakMidSlot, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim.ClearLog();
        ui = ScriptedUi();
        ui.messageAnswers = {mrYes};
        port.rxtimeout = 300;  // the silent case waits out this limit
        sim.SetFaults(c.faults);

        const OpResult<UploadReport> result = ConfirmAndUploadRefCurves(session, 5, SingleSource(curve));

        EXPECT_EQ(result.outcome(), Outcome::Failed);
        const std::vector<std::string> expected(slot.begin(), slot.begin() + static_cast<long>(c.packetsSent));
        EXPECT_EQ(Settled(), StatusThen({expected}));
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 2u);  // the question and the failure, no completion
        EXPECT_EQ(messages[1].dialog, MsgDlg::Rs232cErr);
        EXPECT_EQ(messages[1].text, kCannotCommunicateText);
        ExpectEndedCleanly();
    }
}

TEST_F(RefUpload, MissingSecondAnswerByteDoesNotFailTheExchange)
{
    qlxsim::SimFaults faults;
    faults.ackAlone = true;
    faults.onlyReplyTo = 2;
    sim.SetFaults(faults);
    port.rxtimeout = 300;  // waited once, for the byte that never comes
    const CurveLines curve = UploadTestCurve();
    const OpResult<UploadReport> result = UploadRefCurves(session, 2, SingleSource(curve));
    ASSERT_TRUE(result.done());
    EXPECT_EQ(Settled(), StatusThen({ExpectedSlot('1', curve)}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(RefUpload, CancelWhileSlotFiveIsWrittenCompletesSlotFiveAndSendsNothingAfterIt)
{
    RefList list;
    std::vector<std::vector<std::string>> slots;
    for (int r = 1; r <= 8; ++r) {
        const CurveLines c = UploadTestCurve(r);
        PutRow(list, r, CurveFile("c" + std::to_string(r) + ".q5imp", c));
        if (r <= 5)
            slots.push_back(ExpectedSlot(SlotChar(r - 1), c));
    }
    // The user presses cancel while a packet of slot 5's first block awaits its answer.
    int eventsInSlot5 = 0;
    ui.onProcessEvents = [&] {
        if (ui.steps() == 5 && ++eventsInSlot5 == 20)
            ui.cancelAtStep = 6;
    };
    ui.messageAnswers = {mrYes};

    const OpResult<UploadReport> result = ConfirmAndUploadRefCurves(session, 0, ListSource(list));

    EXPECT_EQ(result.outcome(), Outcome::Cancelled);
    EXPECT_EQ(Settled(), StatusThen(slots));
    ExpectOneMessage(MsgDlg::UpLoad, kUploadQuestionText);  // no completion message
    ExpectEndedCleanly();
}

TEST_F(RefUpload, PacketTooLongForTheBufferRefusesItsSlotBeforeAnyOfItIsSent)
{
    CurveLines longName = UploadTestCurve();
    longName[ThresholdLine] = "[" + std::string(2100, 'x') + "]";  // block 2's header
    const OpResult<UploadReport> single = UploadRefCurves(session, 9, SingleSource(longName));
    EXPECT_EQ(single.outcome(), Outcome::Failed);
    EXPECT_EQ(Settled(), std::vector<std::string>{kStatus});
    ExpectOneMessage(MsgDlg::Rs232cErr,
                     "リファレンスNo.9\r\n\r\nカーブに長すぎる行があるため、送信できません。\r\n"
                     "このリファレンスNo.から後は書き込まれていません。");
    ExpectEndedCleanly();

    // In a list, the slots before stay written and nothing follows.
    sim.ClearLog();
    ui = ScriptedUi();
    const CurveLines a = UploadTestCurve(1);
    CurveLines longPoint = UploadTestCurve(2);
    longPoint[PointSlot(3, 119)] = std::string(3000, '9');
    RefList list;
    PutRow(list, 1, CurveFile("a.q5imp", a));
    PutRow(list, 2, CurveFile("long.q5imp", longPoint));
    PutRow(list, 3, CurveFile("c.q5imp", a));
    EXPECT_EQ(UploadRefCurves(session, 0, ListSource(list)).outcome(), Outcome::Failed);
    EXPECT_EQ(Settled(), StatusThen({ExpectedSlot('0', a)}));
    ExpectOneMessage(MsgDlg::Rs232cErr, PacketTooLongText(2, "long.q5imp"));
    ExpectEndedCleanly();
}

TEST_F(RefUpload, PacketFillingTheBufferExactlyIsSentWhole)
{
    CurveLines curve = UploadTestCurve();
    curve[PointSlot(0, 0)] = std::string(2048 - 36, '3');  // packet 0: 2048 bytes with its ETX
    ASSERT_TRUE(UploadRefCurves(session, 1, SingleSource(curve)).done());
    const std::vector<std::string> commands = Settled();
    ASSERT_EQ(commands.size(), 65u);
    EXPECT_EQ(commands[2].size(), 2048u);
    EXPECT_EQ(commands, StatusThen({ExpectedSlot('0', curve)}));
}

TEST_F(RefUpload, ShortCurveFileSendsTheEmptyCurvesValuesForWhatItLacks)
{
    const CurveLines full = UploadTestCurve(1);
    std::string shortFile;
    for (int i = 0; i < 10; ++i)
        shortFile += full[i] + "\n";
    RefList list;
    PutRow(list, 1, CurveFile("full.q5imp", full));
    qlxtest::WriteAll(dir.file("short.q5imp"), shortFile);
    PutRow(list, 2, dir.file("short.q5imp"));

    ASSERT_TRUE(UploadRefCurves(session, 0, ListSource(list)).done());

    // Lines 0..9 from the file, the rest as in the EmptyCurve, never the
    // previous file's lines.
    CurveLines expected;
    for (int i = 0; i < MemoSlot; ++i)
        expected[i] = i < 10 ? full[i] : "0";
    expected[NameLine] = "[            ]";
    const std::vector<std::string> commands = Settled();
    ASSERT_GE(commands.size(), 1u + 128u);
    const std::vector<std::string> slot2(commands.begin() + 65, commands.begin() + 129);
    EXPECT_EQ(slot2, ExpectedSlot('1', expected));
    EXPECT_EQ(slot2[16], "WIMP\nR\n1\n1\n0\nG\nG\x03");
}

TEST_F(RefUpload, UnreadableCurveFileEndsTheUploadWithTheFileLayersText)
{
    // A listed file that exists and fails at its first read (EIO), even for root.
    const std::string broken = dir.file("broken.q5imp");
    ASSERT_EQ(::symlink("/proc/self/mem", broken.c_str()), 0);
    std::vector<std::string> lines;
    const IoResult io = ReadCurveFileLines(broken, lines);
    ASSERT_FALSE(io.ok);

    const CurveLines a = UploadTestCurve(1);
    RefList list;
    PutRow(list, 1, CurveFile("a.q5imp", a));
    PutRow(list, 2, broken);
    PutRow(list, 3, CurveFile("c.q5imp", a));
    bool progressAtMessage = true, portAtMessage = false;
    ui.onMessage = [&] {
        progressAtMessage = ui.progressShown();
        portAtMessage = port.opened();
    };
    ui.messageAnswers = {mrYes};

    const OpResult<UploadReport> result = ConfirmAndUploadRefCurves(session, 0, ListSource(list));

    EXPECT_EQ(result.outcome(), Outcome::Failed);
    EXPECT_EQ(Settled(), StatusThen({ExpectedSlot('0', a)}));
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].dialog, MsgDlg::Rs232cErr);
    EXPECT_EQ(messages[1].text, io.error);
    EXPECT_EQ(messages[1].text.rfind("ファイルを読み込めません。\n" + broken + "\n", 0), 0u);
    EXPECT_FALSE(progressAtMessage);
    EXPECT_TRUE(portAtMessage);
    ExpectEndedCleanly();
}

TEST_F(RefUpload, PortThatCannotBeOpenedOrAnInstrumentThatIsNoQlx50SendsNoPacket)
{
    Trs232c holder;  // another program holds the device
    ConfigureInstrumentPort(holder);
    holder.portname = sim.devicePath();
    ASSERT_TRUE(holder.open());
    EXPECT_EQ(UploadRefCurves(session, 1, SingleSource(UploadTestCurve())).outcome(), Outcome::Failed);
    ExpectOneMessage(MsgDlg::Rs232cOpenErr, kPortOpenErrorText);
    EXPECT_EQ(ui.Count(UiCall::ProgressOpen), 0);
    holder.close();
    EXPECT_EQ(Settled(), std::vector<std::string>{});

    sim.ClearLog();
    ui = ScriptedUi();
    qlxsim::SimFaults faults;
    faults.statusReply = std::string("QLX-40 Ver.1.10\x03");
    sim.SetFaults(faults);
    EXPECT_EQ(UploadRefCurves(session, 0, ListSource(RefList{})).outcome(), Outcome::Failed);
    ExpectOneMessage(MsgDlg::Rs232cErr, kCannotCommunicateText);
    EXPECT_EQ(Settled(), std::vector<std::string>{kStatus});
    ExpectEndedCleanly();
}

TEST_F(RefUpload, SecondUploadStartedFromEventsOfTheFirstIsRefused)
{
    std::vector<Outcome> seconds;
    ui.onProcessEvents = [&] {
        if (seconds.size() < 2) {
            seconds.push_back(UploadRefCurves(session, 2, SingleSource(UploadTestCurve())).outcome());
            seconds.push_back(ConfirmAndUploadRefCurves(session, 2, SingleSource(UploadTestCurve())).outcome());
        }
    };
    const CurveLines curve = UploadTestCurve(3);
    ASSERT_TRUE(UploadRefCurves(session, 1, SingleSource(curve)).done());
    EXPECT_EQ(seconds, (std::vector<Outcome>{Outcome::Busy, Outcome::Busy}));
    EXPECT_EQ(Settled(), StatusThen({ExpectedSlot('0', curve)}));
    EXPECT_TRUE(ui.Messages().empty());  // not even the question
}

TEST_F(RefUpload, UploadQuestionAnsweredNoOrANumberOutsideTheSlotsSendsNothing)
{
    ui.messageAnswers = {mrNo};
    EXPECT_EQ(ConfirmAndUploadRefCurves(session, 1, SingleSource(UploadTestCurve())).outcome(), Outcome::Cancelled);
    ExpectOneMessage(MsgDlg::UpLoad, kUploadQuestionText);
    for (int refNo : {-1, 65}) {
        SCOPED_TRACE(refNo);
        EXPECT_EQ(UploadRefCurves(session, refNo, SingleSource(UploadTestCurve())).outcome(), Outcome::Cancelled);
    }
    EXPECT_EQ(Settled(), std::vector<std::string>{});
    ExpectEndedCleanly();
}

// The protocol's own pauses, slept for real.
TEST(RefUploadRealPauses, SingleUploadWithTheRealPausesSendsTheSamePackets)
{
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 5, qlxsim::SimMemory{}, {}}};
    Trs232c port;
    ConfigureInstrumentPort(port);
    ScriptedUi ui;
    InstrumentSession session{port, ui};
    session.ComPortName = sim.devicePath();
    RefUploadSource source;
    source.RefLines = UploadTestCurve();
    ASSERT_TRUE(UploadRefCurves(session, 64, source).done());
    EXPECT_EQ(qlxtest::SettledCommands(sim), StatusThen({ExpectedSlot('o', source.RefLines)}));
}

}  // namespace
}  // namespace qlx
