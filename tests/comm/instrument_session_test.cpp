#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include <sys/prctl.h>

#include "comm/instrument_session.h"
#include "qlx50_sim.h"
#include "support/scripted_ui.h"

namespace qlx {
namespace {

using Clock = std::chrono::steady_clock;
using qlxtest::ScriptedUi;
using qlxtest::UiCall;

long long MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A session on the main window's port, talking to a simulated QLX-50.
class SessionWithSim : public ::testing::Test {
protected:
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 200, false, 7, std::nullopt, {}}};
    Trs232c port;
    ScriptedUi ui;
    InstrumentSession session{port, ui};
    std::vector<int> pauses;

    void SetUp() override
    {
        ConfigureInstrumentPort(port);
        session.ComPortName = sim.devicePath();
        session.Pause = [this](int ms) { pauses.push_back(ms); };
    }

    // One data exchange; its result and the state it leaves must agree (Done
    // leaves a reply, Failed leaves the session idle). Returns the state.
    std::uint8_t Exchange(const CommandBuffer& command,
                          InstrumentSession::ByteEvents events = InstrumentSession::ByteEvents::None)
    {
        const StepResult r = session.DataExchange(command, events);
        EXPECT_EQ(r.done(), session.CommState() != CommIdle);
        return session.CommState();
    }

    // Shortens the per-byte limit where a test waits for silence on purpose.
    void QuickTimeout() { port.rxtimeout = 300; }

    void ExpectFailureShownAndPortClosed()
    {
        EXPECT_EQ(session.CommState(), CommIdle);
        EXPECT_FALSE(port.opened());
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].dialog, MsgDlg::Rs232cErr);
        EXPECT_EQ(messages[0].text, kCannotCommunicateText);
    }

    std::string Block(bool reference, int slot, int block, int lines)
    {
        const auto memory = sim.Memory();
        const CurveLines& c = (reference ? memory.ref : memory.meas)[slot];
        std::string out;
        for (int i = 0; i < lines; ++i)
            out += (i ? "\n" : "") + c[kBlockSize * block + i];
        return out;
    }
};

TEST_F(SessionWithSim, StatusCheckConfirmsTheInstrument)
{
    ASSERT_TRUE(session.StatusCheck());
    EXPECT_EQ(session.CommState(), CommConfirmed);
    EXPECT_TRUE(port.opened());
    EXPECT_EQ(port.portname, sim.devicePath());
    EXPECT_EQ(session.ReplyData(), sim.StatusText());
    ASSERT_TRUE(sim.WaitForCommands(1, 5000));
    EXPECT_EQ(sim.Commands(), std::vector<std::string>{"RSTT\x03"});
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SessionWithSim, StatusReplyShapes)
{
    const std::string model = "QLX-50";
    struct Case {
        const char* what;
        std::string reply;
        bool passes;
    };
    const Case cases[] = {
        {"model inside other text", "ANALYZER QLX-50 READY\x03", true},
        {"65 bytes, the last ETX", std::string(30, 'x') + model + std::string(28, 'y') + "\x03", true},
        {"65 bytes without ETX", std::string(30, 'x') + model + std::string(29, 'y'), false},
        {"no model string", "QLX-5O Ver.1.10 MD:A\x03", false},
        {"model after the ETX", "HELLO\x03QLX-50\x03", false},
        {"nothing at all", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.calls.clear();
        QuickTimeout();
        qlxsim::SimFaults faults;
        faults.statusReply = c.reply;
        sim.SetFaults(faults);
        {
            InstrumentSession::Operation op(session);
            ASSERT_TRUE(op.started());
            EXPECT_EQ(static_cast<bool>(session.StatusCheck()), c.passes);
            if (c.passes) {
                EXPECT_EQ(session.CommState(), CommConfirmed);
                EXPECT_TRUE(ui.Messages().empty());
            } else {
                ExpectFailureShownAndPortClosed();
            }
        }
        EXPECT_FALSE(port.opened());
    }
}

// The reading of a status reply on its own: the model string anywhere, and
// for a measurement byte 19 "A"; a reply too short for byte 19 is not in
// sweep mode.
TEST(StatusReply, ModelStringAnywhereAndSweepModeAtByte19)
{
    struct Case {
        const char* what;
        std::string reply;
        StatusVerdict modelOnly;
        StatusVerdict sweepMode;
    };
    const Case cases[] = {
        {"the instrument in sweep mode", "QLX-50 Ver.1.10 MD:A SN:0502", StatusVerdict::Confirmed,
         StatusVerdict::Confirmed},
        {"in judgement mode", "QLX-50 Ver.1.10 MD:J SN:0502", StatusVerdict::Confirmed, StatusVerdict::NotSweepMode},
        {"model late, A at 19", std::string(19, 'x') + "AQLX-50", StatusVerdict::Confirmed, StatusVerdict::Confirmed},
        {"too short for byte 19", "xQLX-50x", StatusVerdict::Confirmed, StatusVerdict::NotSweepMode},
        {"A at 19 but no model", std::string(19, 'x') + "A QLX-5O", StatusVerdict::NotQlx50, StatusVerdict::NotQlx50},
        {"lower case model", "qlx-50 Ver.1.10 MD:A", StatusVerdict::NotQlx50, StatusVerdict::NotQlx50},
        {"nothing", "", StatusVerdict::NotQlx50, StatusVerdict::NotQlx50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(JudgeStatusReply(c.reply, InstrumentSession::StatusCondition::ModelOnly), c.modelOnly);
        EXPECT_EQ(JudgeStatusReply(c.reply, InstrumentSession::StatusCondition::SweepMode), c.sweepMode);
    }
}

TEST_F(SessionWithSim, SilentInstrumentFailsAfterTheTwoSecondLimit)
{
    qlxsim::SimFaults faults;
    faults.silenceAfterCommands = 0;
    sim.SetFaults(faults);
    const auto start = Clock::now();
    EXPECT_FALSE(session.StatusCheck());
    const auto elapsed = MsSince(start);
    EXPECT_GE(elapsed, 2000);
    EXPECT_LT(elapsed, 2000 + 2000);
    ExpectFailureShownAndPortClosed();
}

TEST_F(SessionWithSim, SweepModeCondition)
{
    sim.SetSweepMode(false);
    EXPECT_FALSE(session.StatusCheck(InstrumentSession::StatusCondition::SweepMode));
    EXPECT_EQ(session.CommState(), CommIdle);
    EXPECT_FALSE(port.opened());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].dialog, MsgDlg::Qlx50ModeErr);
    EXPECT_EQ(ui.Messages()[0].text, kNotSweepModeText);

    ui.calls.clear();
    EXPECT_TRUE(session.StatusCheck(InstrumentSession::StatusCondition::ModelOnly));
    port.close();
    sim.SetSweepMode(true);
    EXPECT_TRUE(session.StatusCheck(InstrumentSession::StatusCondition::SweepMode));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SessionWithSim, PortThatCannotBeOpenedSendsNothing)
{
    Trs232c holder;  // another program holds the device
    ConfigureInstrumentPort(holder);
    holder.portname = sim.devicePath();
    ASSERT_TRUE(holder.open());
    EXPECT_FALSE(session.StatusCheck());
    EXPECT_EQ(session.CommState(), CommIdle);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].dialog, MsgDlg::Rs232cOpenErr);
    EXPECT_EQ(ui.Messages()[0].text, kPortOpenErrorText);
    EXPECT_FALSE(sim.WaitForCommands(1, 200));
    EXPECT_TRUE(holder.opened());

    session.ComPortName = "/dev/qlx50-not-there";
    EXPECT_FALSE(session.StatusCheck());
    EXPECT_EQ(ui.Messages().back().dialog, MsgDlg::Rs232cOpenErr);
}

TEST_F(SessionWithSim, ReadChannelTwoOfReferenceThree)
{
    ASSERT_TRUE(session.StatusCheck());
    EXPECT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Curve, 2, 1)), CommDataReceived);
    ASSERT_TRUE(sim.WaitForCommands(2, 5000));
    EXPECT_EQ(sim.Commands()[1], std::string("\x52\x49\x4D\x50\x0A\x52\x0A\x32\x0A\x31\x0A\x41\x03", 13));
    // The ACK and the byte after it are not part of the data.
    EXPECT_EQ(session.ReplyData(), Block(true, 2, 1, kBlockSize));
    EXPECT_EQ(pauses, std::vector<int>{kDataPauseMs});
    EXPECT_TRUE(port.opened());
}

TEST_F(SessionWithSim, HeaderRepliesTellStoredFromEmptySlots)
{
    ASSERT_TRUE(session.StatusCheck());
    ASSERT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 0, 0)), CommDataReceived);
    EXPECT_TRUE(session.ReplyHoldsCurve());
    EXPECT_EQ(session.ReplyFieldText(), "WOOFER-16A  ");
    ASSERT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 40, 0)), CommDataReceived);
    EXPECT_FALSE(session.ReplyHoldsCurve());
    ASSERT_EQ(Exchange(ReadCommand(CurveStore::Measured, ReadPart::Header, 1, 3)), CommDataReceived);
    EXPECT_TRUE(session.ReplyHoldsCurve());
    EXPECT_EQ(session.ReplyData(), Block(false, 1, 3, 3));
}

TEST_F(SessionWithSim, FirstByteOtherThanAckFails)
{
    for (int wrong : {0x15, 0x00, 0x03, int('A'), 0xFF}) {
        SCOPED_TRACE(wrong);
        ui.calls.clear();
        qlxsim::SimFaults faults;
        faults.wrongFirstByte = wrong;
        sim.SetFaults(faults);
        ASSERT_TRUE(session.StatusCheck());
        EXPECT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 0, 0)), CommIdle);
        EXPECT_TRUE(session.ReplyData().empty());
        ExpectFailureShownAndPortClosed();
    }
}

TEST_F(SessionWithSim, SilenceAfterTheCommandIsFoundWithinOneReadLimit)
{
    qlxsim::SimFaults faults;
    faults.silenceAfterCommands = 1;
    sim.SetFaults(faults);
    ASSERT_TRUE(session.StatusCheck());
    const auto start = Clock::now();
    EXPECT_EQ(Exchange(ReadCommand(CurveStore::Measured, ReadPart::Curve, 0, 0)), CommIdle);
    const auto elapsed = MsSince(start);
    EXPECT_GE(elapsed, 2000);
    EXPECT_LT(elapsed, 2000 + 2000);
    ExpectFailureShownAndPortClosed();
}

TEST_F(SessionWithSim, FailureClosesProgressThenShowsTheMessageThenClosesThePort)
{
    bool progressAtMessage = true, portAtMessage = false;
    int stateAtMessage = -1;
    ui.onMessage = [&] {
        progressAtMessage = ui.progressShown();
        portAtMessage = port.opened();
        stateAtMessage = session.CommState();
    };
    qlxsim::SimFaults faults;
    faults.silenceAfterCommands = 1;
    sim.SetFaults(faults);
    QuickTimeout();
    ASSERT_TRUE(session.StatusCheck());
    session.OpenProgress(2);
    ASSERT_TRUE(session.AdvanceProgress());
    EXPECT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 0, 0)), CommIdle);
    EXPECT_FALSE(progressAtMessage);
    EXPECT_TRUE(portAtMessage);
    EXPECT_EQ(stateAtMessage, CommDataSent);
    ExpectFailureShownAndPortClosed();
}

TEST_F(SessionWithSim, BrokenRepliesFailAndLeaveNoData)
{
    struct Case {
        const char* what;
        qlxsim::SimFaults faults;
    };
    qlxsim::SimFaults cut, noEtx, ackOnly, justAck;
    cut.cutReplyAfter = 60;
    noEtx.dropEtx = true;
    ackOnly.cutReplyAfter = 2;
    justAck.cutReplyAfter = 1;  // the skipped byte missing too
    const Case cases[] = {{"cut off", cut}, {"no ETX", noEtx}, {"ACK and one byte", ackOnly}, {"ACK alone", justAck}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.calls.clear();
        QuickTimeout();
        sim.SetFaults({});
        ASSERT_TRUE(session.StatusCheck());
        sim.SetFaults(c.faults);
        EXPECT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Curve, 0, 0)), CommIdle);
        EXPECT_TRUE(session.ReplyData().empty());
        ExpectFailureShownAndPortClosed();
    }
}

TEST_F(SessionWithSim, ReplyOf2048BytesWithoutEtxStopsThereAndReadsNoFurther)
{
    qlxsim::SimFaults faults;
    faults.garbageBytes = 2048 + 5;
    ASSERT_TRUE(session.StatusCheck());
    sim.SetFaults(faults);
    EXPECT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Curve, 0, 0)), CommDataSent);
    EXPECT_EQ(session.ReplyData().size(), 2048u);
    EXPECT_EQ(session.ReplyData().find('\x03'), std::string_view::npos);
    EXPECT_TRUE(ui.Messages().empty());
    // Exactly the five bytes past the buffer are still waiting in the line.
    port.rxtimeout = 300;
    char c;
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(port.readchar(c)) << i;
    EXPECT_FALSE(port.readchar(c));
}

TEST_F(SessionWithSim, DownloadsLetTheWindowRunAfterEveryByte)
{
    ASSERT_TRUE(session.StatusCheck());
    ASSERT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 0, 0),
                       InstrumentSession::ByteEvents::LetWindowRun),
              CommDataReceived);
    EXPECT_EQ(ui.Count(UiCall::ProcessEvents), static_cast<int>(session.ReplyData().size()) + 1);
    ui.calls.clear();
    ASSERT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 0, 0)), CommDataReceived);
    EXPECT_EQ(ui.Count(UiCall::ProcessEvents), 0);
}

TEST_F(SessionWithSim, PacedLineGivesTheSameReply)
{
    sim.SetPaced(true);
    ASSERT_TRUE(session.StatusCheck());
    ASSERT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 0, 0)), CommDataReceived);
    EXPECT_EQ(session.ReplyData(), Block(true, 0, 0, 3));
}

TEST_F(SessionWithSim, OperationFrameClosesEverythingAtItsEnd)
{
    port.rxtimeout = 1234;
    const long threadSlack = ThreadTimerSlackNs();
    ::prctl(PR_SET_TIMERSLACK, 80000UL, 0UL, 0UL, 0UL);
    {
        InstrumentSession::Operation op(session);
        ASSERT_TRUE(op.started());
        EXPECT_TRUE(session.busy());
        EXPECT_EQ(ThreadTimerSlackNs(), 1);  // the operation's sleeps end when due
        ASSERT_TRUE(session.StatusCheck());
        session.OpenProgress(3);
        EXPECT_TRUE(ui.progressShown());
        ASSERT_TRUE(session.AdvanceProgress());
        port.rxtimeout = 12500;
        ASSERT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, 0, 0)), CommDataReceived);
    }
    EXPECT_FALSE(session.busy());
    EXPECT_FALSE(ui.progressShown());
    EXPECT_FALSE(port.opened());
    EXPECT_EQ(session.CommState(), CommIdle);
    EXPECT_EQ(port.rxtimeout, 1234);
    EXPECT_EQ(ThreadTimerSlackNs(), 80000);
    ::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(threadSlack), 0UL, 0UL, 0UL);
    EXPECT_TRUE(ui.Messages().empty());
    const auto opens = std::count_if(ui.calls.begin(), ui.calls.end(), [](const UiCall& c) {
        return c.kind == UiCall::ProgressOpen && c.text == "通信中" && c.minimum == 0 && c.maximum == 3;
    });
    EXPECT_EQ(opens, 1);
}

TEST_F(SessionWithSim, CancelEndsTheOperationWithoutAMessage)
{
    ui.cancelAtStep = 2;
    {
        InstrumentSession::Operation op(session);
        ASSERT_TRUE(session.StatusCheck());
        session.OpenProgress(64);
        int units = 0;
        while (session.AdvanceProgress()) {
            ++units;
            Exchange(ReadCommand(CurveStore::Reference, ReadPart::Header, units, 0));
        }
        EXPECT_EQ(units, 1);
    }
    EXPECT_FALSE(port.opened());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(sim.Commands().size(), 2u);
}

TEST_F(SessionWithSim, SecondOperationStartedDuringOneDoesNothing)
{
    int secondStarts = 0;
    bool portOpenAfterSecond = false;
    ui.onProcessEvents = [&] {
        InstrumentSession::Operation second(session);
        if (second.started())
            ++secondStarts;
        portOpenAfterSecond = port.opened();
    };
    {
        InstrumentSession::Operation op(session);
        ASSERT_TRUE(op.started());
        ASSERT_TRUE(session.StatusCheck());
        session.OpenProgress(1);
        ASSERT_TRUE(session.AdvanceProgress());
        EXPECT_EQ(Exchange(ReadCommand(CurveStore::Reference, ReadPart::Curve, 0, 0),
                           InstrumentSession::ByteEvents::LetWindowRun),
                  CommDataReceived);
    }
    EXPECT_EQ(secondStarts, 0);
    EXPECT_TRUE(portOpenAfterSecond);
    EXPECT_TRUE(ui.Messages().empty());
    ui.onProcessEvents = nullptr;
    InstrumentSession::Operation later(session);
    EXPECT_TRUE(later.started());
}

// The session's own pause lets the window run once and still lasts the
// whole pause the protocol fixes.
TEST(InstrumentSessionPause, LetsTheWindowRunAndIsNeverShorter)
{
    Trs232c port;
    ScriptedUi ui;
    InstrumentSession session{port, ui};
    for (const int ms : {0, 25}) {
        SCOPED_TRACE(ms);
        const int before = ui.Count(UiCall::ProcessEvents);
        const auto start = Clock::now();
        session.Pause(ms);
        EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(ms));
        EXPECT_EQ(ui.Count(UiCall::ProcessEvents), before + 1);
    }
}

}  // namespace
}  // namespace qlx
