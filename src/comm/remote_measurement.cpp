#include "comm/remote_measurement.h"

#include <algorithm>

namespace qlx {

namespace {

constexpr std::array<int, 11> kHeaderSlotsFromRef{1, 2, 123, 124, 125, 246, 247, 248, 369, 370, 371};

int ChannelCountOf(int terminalIndex) { return terminalIndex == 0 ? 1 : terminalIndex == 1 ? 2 : 4; }

// Stops a run: the port is closed and CommState is 0 (the operation's end
// then closes the progress dialog and restores the read limit).
Outcome EndRun(InstrumentSession& session, Outcome how)
{
    session.port().close();
    session.SetCommState(CommIdle);
    return how;
}

// The second port open inside a channel takes the read limit set just before.
void ReopenWithTimeout(InstrumentSession& session, int rxTimeoutMs)
{
    session.port().close();
    session.port().rxtimeout = rxTimeoutMs;
    (void)session.port().open();  // a failed open shows up as silence at the next read
}

// Waits out the instrument's sweep in ten progress steps. On cancel the
// instrument is told to stop.
StepResult SweepWait(InstrumentSession& session, int minFreq, int maxFreq)
{
    const int rounds = SweepWaitRounds(minFreq, maxFreq);
    for (int step = 0; step < kSweepWaitSteps; ++step) {
        for (int i = 0; i < rounds; ++i) {
            session.ui().ProcessEvents();
            session.Pause(kSweepWaitSleepMs);
        }
        if (auto r = session.AdvanceProgress(); !r) {
            session.Send(StopCommand());
            return EndRun(session, r.outcome());
        }
    }
    return Outcome::Done;
}

// One channel (1..4): sweep command, ACK, wait, reply, points.
StepResult MeasureChannel(InstrumentSession& session, const RemoteMeasurementInput& in, int channel, CurveLines& points)
{
    const int c = channel - 1;
    if (auto r = session.AdvanceProgress(); !r)
        return EndRun(session, r.outcome());
    const CommandBuffer command = SweepCommand(*ChannelCode(in.TerminalIndex, c), in.RefMinFreq[c], in.RefMaxFreq[c]);
    session.Pause(kDataPauseMs);
    ReopenWithTimeout(session, in.SweepRxTimeoutMs);
    session.Send(command);
    session.SetCommState(CommDataSent);
    if (auto r = session.ReceiveAck(); !r)
        return r;
    if (auto r = SweepWait(session, in.RefMinFreq[c], in.RefMaxFreq[c]); !r)
        return r;
    if (auto r = session.ReceiveData(); !r)
        return r;
    ReopenWithTimeout(session, kNormalRxTimeoutMs);
    if (auto r = session.AdvanceProgress(); !r)
        return EndRun(session, r.outcome());
    PutSweepPoints(session.ReplyData(), c, points);
    return Outcome::Done;
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

OpResult<CurveLines> MeasureRemotely(InstrumentSession& session, const RemoteMeasurementInput& in)
{
    InstrumentSession::Operation op(session);
    if (!op.started())
        return Outcome::Busy;
    if (auto r = session.StatusCheck(InstrumentSession::StatusCondition::SweepMode); !r)
        return r.outcome();

    const ChannelSpan span = ChannelsToSweep(in);
    if (span.last < span.first) {
        session.ui().ShowMessage(MsgDlg::Rs232cErr, kChannelNotMeasurableText);
        return EndRun(session, Outcome::Failed);
    }
    session.OpenProgress((span.last - span.first + 1) * kProgressStepsPerChannel);

    CurveLines points{};
    for (int channel = span.first; channel <= span.last; ++channel)
        if (auto r = MeasureChannel(session, in, channel, points); !r)
            return r.outcome();
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
