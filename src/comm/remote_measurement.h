#pragma once

#include "comm/instrument_session.h"
#include "model/curve_state.h"

namespace qlx {

constexpr int kSweepRxTimeoutMs = 12500;  // per byte, from the sweep command to the last point
constexpr int kSweepWaitSleepMs = 70;
constexpr int kSweepWaitSteps = 10;
constexpr int kProgressStepsPerChannel = 12;  // one before the command, ten while sweeping, one after

// What a remote measurement needs from the window.
struct RemoteMeasurementInput {
    int TerminalIndex = 0;  // item of the reference terminal box: 0 BINDING POST, 1 NL 4, 2 NL 8
    int SelectedChannel = 0;
    bool SelChOnly = false;  // "選択チャンネルのみ測定"
    ChannelInts RefMinFreq{0, 0, 0, 0};
    ChannelInts RefMaxFreq{119, 119, 119, 119};
    // Per-byte read limit from the sweep command to the channel's last point.
    // The window keeps the instrument's; tests of a silent line shorten it.
    int SweepRxTimeoutMs = kSweepRxTimeoutMs;
};

// Channels 1..4 to sweep; last < first when the selected channel does not
// exist on the terminal.
struct ChannelSpan {
    int first = 1;
    int last = 1;
};
ChannelSpan ChannelsToSweep(const RemoteMeasurementInput& in);

// Progress steps of SweepWait's sleeps: (max - min) div 10, plus one.
int SweepWaitRounds(int minFreq, int maxFreq);

// Splits a sweep reply's data into its 120 point values, never reading past
// the data: values the reply lacks stay empty. The points go to the slots of
// channel c (0..3) of `lines`.
void PutSweepPoints(std::string_view data, int c, CurveLines& lines);

// Runs the remote measurement as one instrument operation: status check with
// sweep mode, then per channel the sweep command, the wait for the sweep and
// the reply. Done with the swept channels' point slots (every other slot
// empty) when all channels were read; otherwise Failed (the user was told),
// Cancelled, or Busy when another operation runs.
OpResult<CurveLines> MeasureRemotely(InstrumentSession& session, const RemoteMeasurementInput& in);

// Makes measured points the measured curve: points (empty slots "0"), the
// memo kept, header slots from the reference curve with the remote-measured
// flag, no file, valid ranges from the judgement ranges, draw range of the
// selected channel, ImpLoaded.
void TakeMeasuredCurve(CurveState& curves, const CurveLines& points);

}  // namespace qlx
