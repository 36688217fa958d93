#include "comm/instrument_session.h"

#include <chrono>
#include <thread>

namespace qlx {

namespace {

constexpr std::string_view kModelString = "QLX-50";
constexpr std::size_t kSweepModeByte = 19;
constexpr std::size_t kFlagsByte = 17;

}  // namespace

void ConfigureInstrumentPort(Trs232c& port)
{
    port.charbit = 8;
    port.stopbit = "1";
    port.bps = 38400;
    port.rxbuffsize = 2048;
    port.txbuffsize = 2048;
    port.readinterval = 0;
    port.txtimeout = kNormalRxTimeoutMs;
    port.rxtimeout = kNormalRxTimeoutMs;
    port.paritymode = "ODD";
    port.flowflag = 2;
    port.packetsize = 0;
    port.debug = false;
    port.XonLim = 0;
    port.XoffLim = 0;
    port.XonChar = 0x11;
    port.XoffChar = 0x13;
    port.ErrorChar = 0;
    port.EofChar = 0x03;
    port.EvtChar = 0x03;
}

InstrumentSession::InstrumentSession(Trs232c& port, InstrumentUi& ui)
    : Pause([this](int ms) {
          // The window repaints what the last step changed inside the pause,
          // not in front of it; the pause itself is never shorter.
          const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
          ui_.ProcessEvents();
          std::this_thread::sleep_until(until);
      }),
      port_(port),
      ui_(ui)
{}

InstrumentSession::Operation::Operation(InstrumentSession& session) : session_(session)
{
    if (session_.busy_)
        return;
    session_.busy_ = true;
    session_.rxTimeoutAtStart_ = session_.port_.rxtimeout;
    started_ = true;
    preciseTimers_.emplace();
}

InstrumentSession::Operation::~Operation()
{
    if (!started_)
        return;
    session_.ui_.ProgressClose();
    if (session_.commState_ != CommIdle) {
        session_.port_.close();
        session_.commState_ = CommIdle;
    }
    session_.port_.rxtimeout = session_.rxTimeoutAtStart_;
    session_.busy_ = false;
}

bool InstrumentSession::ReceiveByte(char& out) { return port_.readchar(out); }

StepResult InstrumentSession::StatusCheck(StatusCondition condition)
{
    replyLength_ = 0;
    port_.portname = ComPortName;
    if (!port_.open()) {
        ui_.ShowMessage(MsgDlg::Rs232cOpenErr, kPortOpenErrorText);
        port_.close();
        commState_ = CommIdle;
        return Outcome::Failed;
    }
    commState_ = CommPortOpen;
    Send(StatusCommand());
    commState_ = CommStatusSent;
    if (auto r = ReceiveStatus(); !r)
        return r;

    switch (JudgeStatusReply(ReplyData(), condition)) {
    case StatusVerdict::NotQlx50: CommFailure(); return Outcome::Failed;
    case StatusVerdict::NotSweepMode:
        ui_.ShowMessage(MsgDlg::Qlx50ModeErr, kNotSweepModeText);
        port_.close();
        commState_ = CommIdle;
        return Outcome::Failed;
    case StatusVerdict::Confirmed: break;
    }
    commState_ = CommConfirmed;
    return Outcome::Done;
}

StepResult InstrumentSession::ReceiveStatus()
{
    for (int i = 0; i < kStatusReplyMax; ++i) {
        char b = 0;
        if (!ReceiveByte(b))
            break;
        if (b == ETX) {
            commState_ = CommStatusReceived;
            return Outcome::Done;
        }
        reply_[replyLength_++] = b;
    }
    // Silence, or 65 bytes without ETX.
    CommFailure();
    return Outcome::Failed;
}

void InstrumentSession::Send(const CommandBuffer& command) { port_.write(command.bytes.data(), command.count); }

StepResult InstrumentSession::DataExchange(const CommandBuffer& command, ByteEvents events)
{
    Pause(kDataPauseMs);
    Send(command);
    commState_ = CommDataSent;
    if (auto r = ReceiveAck(); !r)
        return r;
    return ReceiveData(events);
}

StepResult InstrumentSession::ReceiveAck()
{
    replyLength_ = 0;
    char first = 0;
    if (!ReceiveByte(first) || first != ACK) {
        CommFailure();
        return Outcome::Failed;
    }
    char skipped = 0;
    (void)ReceiveByte(skipped);  // the byte after ACK is skipped, also when missing
    return Outcome::Done;
}

StepResult InstrumentSession::ReceiveData(ByteEvents events)
{
    replyLength_ = 0;
    while (replyLength_ < reply_.size()) {
        char b = 0;
        if (!ReceiveByte(b)) {
            CommFailure();
            return Outcome::Failed;
        }
        if (events == ByteEvents::LetWindowRun)
            ui_.ProcessEvents();
        if (b == ETX) {
            commState_ = CommDataReceived;
            return Outcome::Done;
        }
        reply_[replyLength_++] = b;
    }
    return Outcome::Done;  // 2048 bytes without ETX are the reply
}

void InstrumentSession::CommFailure() { FailWith(kCannotCommunicateText); }

void InstrumentSession::FailWith(const std::string& text)
{
    replyLength_ = 0;  // an incomplete reply is never used
    ui_.ProgressClose();
    ui_.ShowMessage(MsgDlg::Rs232cErr, text);
    port_.close();
    commState_ = CommIdle;
    port_.rxtimeout = rxTimeoutAtStart_;
}

void InstrumentSession::OpenProgress(int maximum) { ui_.ProgressOpen(kProgressCaption, 0, maximum); }

StepResult InstrumentSession::AdvanceProgress()
{
    // The step lets the window run before it advances; the advanced bar is
    // painted by the pause in front of the next exchange.
    if (!ui_.ProgressStep())
        return Outcome::Cancelled;
    return Outcome::Done;
}

bool InstrumentSession::ReplyHoldsCurve() const { return StoredCurveMarked(ReplyData()); }

std::string InstrumentSession::ReplyFieldText() const { return FieldTextOf(ReplyData()); }

StatusVerdict JudgeStatusReply(std::string_view reply, InstrumentSession::StatusCondition condition)
{
    if (reply.find(kModelString) == std::string_view::npos)
        return StatusVerdict::NotQlx50;
    const bool sweepMode = reply.size() > kSweepModeByte && reply[kSweepModeByte] == 'A';
    if (condition == InstrumentSession::StatusCondition::SweepMode && !sweepMode)
        return StatusVerdict::NotSweepMode;
    return StatusVerdict::Confirmed;
}

bool StoredCurveMarked(std::string_view data)
{
    return data.size() > kFlagsByte && (static_cast<unsigned char>(data[kFlagsByte]) & 0x08) != 0;
}

std::string FieldTextOf(std::string_view data)
{
    return data.size() > 1 ? std::string(data.substr(1, 12)) : std::string();
}

}  // namespace qlx
