#include "comm/remote_measurement.h"

#include <algorithm>

namespace qlx {

const char* const kChannelNotMeasurableText =
    "このチャンネルは測定できません。\r\n測定端子、およびチャンネル選択を確認してください。";

namespace {

constexpr std::array<int, 11> kHeaderSlotsFromRef{1, 2, 123, 124, 125, 246, 247, 248, 369, 370, 371};

int ChannelCountOf(int terminalIndex) { return terminalIndex == 0 ? 1 : terminalIndex == 1 ? 2 : 4; }

// Stops a run: the port is closed and CommState is 0 (the operation's end
// then closes the progress dialog and restores the read limit).
void EndRun(InstrumentSession& session)
{
    session.port().close();
    session.SetCommState(CommIdle);
}

// The second port open inside a channel takes the read limit set just before.
void ReopenWithTimeout(InstrumentSession& session, int rxTimeoutMs)
{
    session.port().close();
    session.port().rxtimeout = rxTimeoutMs;
    session.port().open();
}

// Waits out the instrument's sweep in ten progress steps. On cancel the
// instrument is told to stop. False when the run ended.
bool SweepWait(InstrumentSession& session, int minFreq, int maxFreq)
{
    const int rounds = SweepWaitRounds(minFreq, maxFreq);
    for (int step = 0; step < kSweepWaitSteps; ++step) {
        for (int i = 0; i < rounds; ++i) {
            session.ui().ProcessEvents();
            session.Pause(kSweepWaitSleepMs);
        }
        if (!session.AdvanceProgress()) {
            session.Send(StopCommand());
            EndRun(session);
            return false;
        }
    }
    return true;
}

// One channel (1..4): sweep command, ACK, wait, reply, points. False when
// the run ended (failure shown, or cancelled).
bool MeasureChannel(InstrumentSession& session, const RemoteMeasurementInput& in, int channel, CurveLines& points)
{
    const int c = channel - 1;
    if (!session.AdvanceProgress()) {
        EndRun(session);
        return false;
    }
    const CommandBuffer command = SweepCommand(*ChannelCode(in.TerminalIndex, c), in.RefMinFreq[c], in.RefMaxFreq[c]);
    session.Pause(kDataPauseMs);
    ReopenWithTimeout(session, kSweepRxTimeoutMs);
    session.Send(command);
    session.SetCommState(CommDataSent);
    if (!session.ReceiveAck())
        return false;
    if (!SweepWait(session, in.RefMinFreq[c], in.RefMaxFreq[c]))
        return false;
    if (session.ReceiveData() == CommIdle)
        return false;
    ReopenWithTimeout(session, kNormalRxTimeoutMs);
    if (!session.AdvanceProgress()) {
        EndRun(session);
        return false;
    }
    PutSweepPoints(session.ReplyData(), c, points);
    return true;
}

}  // namespace

ChannelSpan ChannelsToSweep(const RemoteMeasurementInput& in)
{
    const int n = ChannelCountOf(in.TerminalIndex);
    if (!in.SelChOnly)
        return {1, n};
    const int first = in.SelectedChannel + 1;
    return {first, std::min(n, first)};
}

int SweepWaitRounds(int minFreq, int maxFreq) { return (maxFreq - minFreq) / 10 + 1; }

void PutSweepPoints(std::string_view data, int c, CurveLines& lines)
{
    std::size_t pos = 0;
    for (int j = 0; j < kPointCount; ++j) {
        if (pos > data.size())
            return;
        const std::size_t end = std::min(data.find_first_of(std::string_view("\n\x03", 2), pos), data.size());
        lines[PointSlot(c, j)] = std::string(data.substr(pos, end - pos));
        pos = end + 1;
    }
}

std::optional<CurveLines> MeasureRemotely(InstrumentSession& session, const RemoteMeasurementInput& in)
{
    InstrumentSession::Operation op(session);
    if (!op.started())
        return std::nullopt;
    if (!session.StatusCheck(InstrumentSession::StatusCondition::SweepMode))
        return std::nullopt;

    const ChannelSpan span = ChannelsToSweep(in);
    if (span.last < span.first) {
        session.ui().ShowMessage(MsgDlg::Rs232cErr, kChannelNotMeasurableText);
        EndRun(session);
        return std::nullopt;
    }
    session.OpenProgress((span.last - span.first + 1) * kProgressStepsPerChannel);

    CurveLines points{};
    for (int channel = span.first; channel <= span.last; ++channel)
        if (!MeasureChannel(session, in, channel, points))
            return std::nullopt;
    return points;
}

void TakeMeasuredCurve(CurveState& curves, const CurveLines& points)
{
    CurveLines& imp = curves.ImpLines;
    for (int i = 0; i < MemoSlot; ++i)
        imp[i] = points[i].empty() ? "0" : points[i];
    imp[StampLine] = curves.RefLines[NameLine];
    for (int slot : kHeaderSlotsFromRef)
        imp[slot] = curves.RefLines[slot];
    imp[FlagsLine] = std::string(1, CodeChar(curves.RefFlags | FlagRemoteMeasured));
    curves.ImpFilePath.clear();
    curves.ImpMinFreq = curves.RefMinFreq;
    curves.ImpMaxFreq = curves.RefMaxFreq;
    curves.DrawMinFreq = curves.ImpMinFreq[curves.SelectedChannel];
    curves.DrawMaxFreq = curves.ImpMaxFreq[curves.SelectedChannel];
    curves.ImpLoaded = true;
}

}  // namespace qlx
