#include <gtest/gtest.h>

#include <chrono>

#include "comm/remote_measurement.h"
#include "qlx50_sim.h"
#include "support/scripted_ui.h"
#include "support/settled_commands.h"

namespace qlx {
namespace {

using Clock = std::chrono::steady_clock;
using qlxtest::ScriptedUi;
using qlxtest::UiCall;

const std::string kStatus = "RSTT\x03";
const std::string kStop = "RSTP\x03";

std::string Sweep(char code, const char* first, const char* last)
{
    return std::string("RSWP\n") + code + "\n" + first + "\n" + last + "\x03";
}

RemoteMeasurementInput Input(int terminal, bool selChOnly, int selected)
{
    RemoteMeasurementInput in;
    in.TerminalIndex = terminal;
    in.SelChOnly = selChOnly;
    in.SelectedChannel = selected;
    // A short range keeps SweepWait at ten 70 ms sleeps per channel.
    in.RefMinFreq = {40, 40, 40, 40};
    in.RefMaxFreq = {49, 49, 49, 49};
    return in;
}

bool ChannelFilled(const CurveLines& points, int c)
{
    for (int j = 0; j < kPointCount; ++j)
        if (points[PointSlot(c, j)].empty())
            return false;
    return true;
}

bool ChannelEmpty(const CurveLines& points, int c)
{
    for (int j = 0; j < kPointCount; ++j)
        if (!points[PointSlot(c, j)].empty())
            return false;
    return true;
}

// The measurement on the main window's port, against a simulated QLX-50
// whose sweep over the whole grid takes 100 ms.
class RemoteMeasurement : public ::testing::Test {
protected:
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 3, std::nullopt, {}}};
    Trs232c port;
    ScriptedUi ui;
    InstrumentSession session{port, ui};

    void SetUp() override
    {
        ConfigureInstrumentPort(port);
        session.ComPortName = sim.devicePath();
    }

    std::vector<std::string> CommandsWhenSettled() { return qlxtest::SettledCommands(sim); }

    int ProgressMaximum() const
    {
        for (const UiCall& c : ui.calls)
            if (c.kind == UiCall::ProgressOpen)
                return c.maximum;
        return -1;
    }

    // Every way a run ends leaves the port closed, the normal read limit,
    // no progress dialog and an idle session.
    void ExpectEndedCleanly()
    {
        EXPECT_FALSE(port.opened());
        EXPECT_EQ(port.rxtimeout, kNormalRxTimeoutMs);
        EXPECT_FALSE(ui.progressShown());
        EXPECT_EQ(session.CommState(), CommIdle);
        EXPECT_FALSE(session.busy());
    }
};

TEST_F(RemoteMeasurement, SweepsFollowTerminalChannelChoiceAndRanges)
{
    struct Case {
        const char* what;
        RemoteMeasurementInput in;
        std::vector<std::string> sweeps;
        std::vector<int> sweptChannels;
    };
    RemoteMeasurementInput bindingPost = Input(0, false, 2);
    bindingPost.RefMinFreq[0] = 5;
    bindingPost.RefMaxFreq[0] = 87;
    RemoteMeasurementInput nl8 = Input(2, false, 0);
    nl8.RefMinFreq = {0, 10, 20, 110};
    nl8.RefMaxFreq = {9, 19, 29, 119};
    const Case cases[] = {
        {"BINDING POST sweeps channel 1 only, range 005..087", bindingPost, {Sweep('2', "005", "087")}, {0}},
        {"NL 8 sweeps four channels in order",
         nl8,
         {Sweep('7', "000", "009"), Sweep('8', "010", "019"), Sweep('9', "020", "029"), Sweep(':', "110", "119")},
         {0, 1, 2, 3}},
        {"NL 4, only the selected channel 2", Input(1, true, 1), {Sweep('6', "040", "049")}, {1}},
        {"NL 8, only the selected channel 4", Input(2, true, 3), {Sweep(':', "040", "049")}, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim.ClearLog();
        ui = ScriptedUi();

        const OpResult<CurveLines> points = MeasureRemotely(session, c.in);

        ASSERT_TRUE(points.done());
        std::vector<std::string> expected{kStatus};
        expected.insert(expected.end(), c.sweeps.begin(), c.sweeps.end());
        EXPECT_EQ(sim.Commands(), expected);
        const int maximum = static_cast<int>(c.sweeps.size()) * 12;
        EXPECT_EQ(ProgressMaximum(), maximum);
        EXPECT_EQ(ui.steps(), maximum);
        for (int ch = 0; ch < kChannelCount; ++ch) {
            const bool swept = std::find(c.sweptChannels.begin(), c.sweptChannels.end(), ch) != c.sweptChannels.end();
            EXPECT_EQ(swept ? ChannelFilled(points.value(), ch) : ChannelEmpty(points.value(), ch), true)
                << "channel " << ch;
        }
        for (int slot : {0, 1, 2, 123, 369, 492})
            EXPECT_TRUE(points.value()[slot].empty());
        EXPECT_TRUE(ui.Messages().empty());
        ExpectEndedCleanly();
    }
}

TEST_F(RemoteMeasurement, SelectedChannelMissingOnTheTerminalSendsNothingAfterTheStatus)
{
    const RemoteMeasurementInput cases[] = {Input(1, true, 2), Input(0, true, 1)};
    for (const RemoteMeasurementInput& in : cases) {
        SCOPED_TRACE(in.TerminalIndex);
        sim.ClearLog();
        ui = ScriptedUi();
        EXPECT_FALSE(MeasureRemotely(session, in).done());
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].dialog, MsgDlg::Rs232cErr);
        EXPECT_EQ(messages[0].text,
                  "このチャンネルは測定できません。\r\n測定端子、およびチャンネル選択を確認してください。");
        EXPECT_EQ(ui.Count(UiCall::ProgressOpen), 0);
        EXPECT_EQ(CommandsWhenSettled(), std::vector<std::string>{kStatus});
        ExpectEndedCleanly();
    }
}

TEST_F(RemoteMeasurement, InstrumentNotInSweepModeIsToldAndNotSwept)
{
    sim.SetSweepMode(false);
    EXPECT_FALSE(MeasureRemotely(session, Input(0, false, 0)).done());
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].dialog, MsgDlg::Qlx50ModeErr);
    EXPECT_EQ(messages[0].text, "測定できません。\r\nQLX-50をスイープモードにしてください。");
    EXPECT_EQ(CommandsWhenSettled(), std::vector<std::string>{kStatus});
    ExpectEndedCleanly();
}

TEST_F(RemoteMeasurement, CancelStopsWithoutMessageAndStopsASweepInProgress)
{
    struct Case {
        int cancelAtStep;
        std::vector<std::string> commands;
    };
    const std::string sweep = Sweep('2', "040", "049");
    const Case cases[] = {
        {1, {kStatus}},                 // before the sweep command
        {2, {kStatus, sweep, kStop}},   // first step of SweepWait
        {11, {kStatus, sweep, kStop}},  // last step of SweepWait
        {12, {kStatus, sweep}},         // after the reply was read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cancelAtStep);
        sim.ClearLog();
        ui = ScriptedUi();
        ui.cancelAtStep = c.cancelAtStep;
        EXPECT_FALSE(MeasureRemotely(session, Input(0, false, 0)).done());
        EXPECT_EQ(CommandsWhenSettled(), c.commands);
        EXPECT_TRUE(ui.Messages().empty());
        ExpectEndedCleanly();
    }
}

TEST_F(RemoteMeasurement, FailureDuringAChannelIsShownAndRestoresTheReadLimit)
{
    struct Case {
        const char* what;
        qlxsim::SimFaults faults;
        long long minimumMs;  // the sweep's read limit must be in force
    };
    const long statusBytes = static_cast<long>(sim.StatusText().size()) + 1;
    qlxsim::SimFaults wrongFirst;
    wrongFirst.wrongFirstByte = 0x15;
    qlxsim::SimFaults silentMidReply;
    silentMidReply.silenceAfterBytes = statusBytes + 2 + 100;
    const Case cases[] = {
        {"NAK instead of ACK", wrongFirst, 0},
        {"silence in the middle of the points", silentMidReply, kSweepRxTimeoutMs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui = ScriptedUi();
        sim.SetFaults(c.faults);
        const auto start = Clock::now();
        EXPECT_FALSE(MeasureRemotely(session, Input(0, false, 0)).done());
        EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), c.minimumMs);
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].dialog, MsgDlg::Rs232cErr);
        EXPECT_EQ(messages[0].text, kCannotCommunicateText);
        ExpectEndedCleanly();
    }
}

TEST_F(RemoteMeasurement, ShortReplyLeavesTheMissingPointsEmpty)
{
    for (int values : {50, 1, 0}) {
        SCOPED_TRACE(values);
        ui = ScriptedUi();
        qlxsim::SimFaults faults;
        faults.sweepValues = values;
        sim.SetFaults(faults);
        const OpResult<CurveLines> points = MeasureRemotely(session, Input(0, false, 0));
        ASSERT_TRUE(points.done());
        for (int j = 0; j < kPointCount; ++j)
            EXPECT_EQ(points.value()[PointSlot(0, j)].empty(), j >= values) << "point " << j;
        EXPECT_TRUE(ChannelEmpty(points.value(), 1));
        ExpectEndedCleanly();
    }
}

TEST_F(RemoteMeasurement, ReplyParseStopsAtTheEndOfTheData)
{
    CurveLines lines{};
    PutSweepPoints(std::string_view("12\n345\n\n7", 9), 2, lines);
    EXPECT_EQ(lines[PointSlot(2, 0)], "12");
    EXPECT_EQ(lines[PointSlot(2, 1)], "345");
    EXPECT_EQ(lines[PointSlot(2, 2)], "");
    EXPECT_EQ(lines[PointSlot(2, 3)], "7");
    for (int j = 4; j < kPointCount; ++j)
        EXPECT_TRUE(lines[PointSlot(2, j)].empty());
    EXPECT_TRUE(lines[PointSlot(3, 0)].empty());
}

TEST_F(RemoteMeasurement, SecondOperationDuringTheSweepDoesNothing)
{
    int attempts = 0;
    bool secondGotPoints = false;
    bool portOpenAfterSecond = true;
    ui.onProcessEvents = [&] {
        if (attempts++ != 3)
            return;
        secondGotPoints = MeasureRemotely(session, Input(0, false, 0)).done();
        portOpenAfterSecond = port.opened();
    };
    const OpResult<CurveLines> points = MeasureRemotely(session, Input(0, false, 0));
    ASSERT_TRUE(points.done());
    EXPECT_TRUE(ChannelFilled(points.value(), 0));
    EXPECT_FALSE(secondGotPoints);
    EXPECT_TRUE(portOpenAfterSecond);
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{kStatus, Sweep('2', "040", "049")}));
    EXPECT_TRUE(ui.Messages().empty());
    ExpectEndedCleanly();
}

TEST(TakeMeasuredCurve, PointsWithTheReferenceHeaderAndNoFile)
{
    CurveState curves;
    curves.FillDefaultLines();
    for (int i = 0; i < MemoSlot; ++i)
        curves.RefLines[i] = "r" + std::to_string(i);
    curves.RefLines[NameLine] = NameLineFor("WOOFER");
    curves.RefFlags = FlagRangeValid | FlagProtect;
    curves.RefMinFreq = {1, 2, 3, 4};
    curves.RefMaxFreq = {100, 101, 102, 103};
    curves.SelectedChannel = 2;
    curves.ImpLines[MemoSlot] = "kept memo";
    curves.ImpFilePath = "/tmp/old.q5imp";

    CurveLines points{};
    for (int j = 0; j < kPointCount; ++j)
        points[PointSlot(0, j)] = std::to_string(100 + j);
    points[PointSlot(0, 7)].clear();

    TakeMeasuredCurve(curves, points);

    const CurveLines& imp = curves.ImpLines;
    EXPECT_EQ(imp[StampLine], NameLineFor("WOOFER"));
    EXPECT_EQ(imp[NameLine], NameLineFor("WOOFER"));
    EXPECT_EQ(imp[FlagsLine], std::string(1, static_cast<char>(0x40 + 13)));
    for (int slot : {1, 123, 124, 125, 246, 247, 248, 370, 371})
        EXPECT_EQ(imp[slot], curves.RefLines[slot]) << slot;
    EXPECT_EQ(imp[PointSlot(0, 0)], "100");
    EXPECT_EQ(imp[PointSlot(0, 7)], "0");
    for (int c = 1; c < kChannelCount; ++c)
        EXPECT_EQ(imp[PointSlot(c, 60)], "0");
    EXPECT_EQ(imp[MemoSlot], "kept memo");
    EXPECT_TRUE(curves.ImpFilePath.empty());
    EXPECT_TRUE(curves.ImpLoaded);
    EXPECT_EQ(curves.ImpMinFreq, curves.RefMinFreq);
    EXPECT_EQ(curves.ImpMaxFreq, curves.RefMaxFreq);
    EXPECT_EQ(curves.DrawMinFreq, 3);
    EXPECT_EQ(curves.DrawMaxFreq, 102);
}

}  // namespace
}  // namespace qlx
