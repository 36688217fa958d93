#include "comm/instrument_session.h"

#include <chrono>
#include <thread>

namespace qlx {

const char* const kPortOpenErrorText =
    "COMポートが開けません。 [通信] メニュー，[COMポート番号] の設定を確認してください。";
const char* const kCannotCommunicateText =
    "通信できません。\r\nQLX-50との接続、および [通信] メニュー，[COMポート番号] の設定を確認してください。";
const char* const kNotSweepModeText = "測定できません。\r\nQLX-50をスイープモードにしてください。";

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
    : Pause([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }), port_(port), ui_(ui)
{}

InstrumentSession::Operation::Operation(InstrumentSession& session) : session_(session)
{
    if (session_.busy_)
        return;
    session_.busy_ = true;
    session_.rxTimeoutAtStart_ = session_.port_.rxtimeout;
    started_ = true;
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

bool InstrumentSession::StatusCheck(StatusCondition condition)
{
    replyLength_ = 0;
    port_.portname = ComPortName;
    if (!port_.open()) {
        ui_.ShowMessage(MsgDlg::Rs232cOpenErr, kPortOpenErrorText);
        port_.close();
        commState_ = CommIdle;
        return false;
    }
    commState_ = CommPortOpen;
    Send(StatusCommand());
    commState_ = CommStatusSent;
    if (!ReceiveStatus())
        return false;

    if (ReplyData().find(kModelString) == std::string_view::npos) {
        CommFailure();
        return false;
    }
    if (condition == StatusCondition::SweepMode && ReplyByte(kSweepModeByte) != 'A') {
        ui_.ShowMessage(MsgDlg::Qlx50ModeErr, kNotSweepModeText);
        port_.close();
        commState_ = CommIdle;
        return false;
    }
    commState_ = CommConfirmed;
    return true;
}

bool InstrumentSession::ReceiveStatus()
{
    for (int i = 0; i < kStatusReplyMax; ++i) {
        char b = 0;
        if (!ReceiveByte(b))
            break;
        if (b == ETX) {
            commState_ = CommStatusReceived;
            return true;
        }
        reply_[replyLength_++] = b;
    }
    // Silence, or 65 bytes without ETX.
    CommFailure();
    return false;
}

void InstrumentSession::Send(const CommandBuffer& command) { port_.write(command.bytes.data(), command.count); }

std::uint8_t InstrumentSession::DataExchange(const CommandBuffer& command, ByteEvents events)
{
    Pause(kDataPauseMs);
    Send(command);
    commState_ = CommDataSent;
    if (!ReceiveAck())
        return commState_;
    return ReceiveData(events);
}

bool InstrumentSession::ReceiveAck()
{
    replyLength_ = 0;
    char first = 0;
    if (!ReceiveByte(first) || first != ACK) {
        CommFailure();
        return false;
    }
    char skipped = 0;
    ReceiveByte(skipped);
    return true;
}

std::uint8_t InstrumentSession::ReceiveData(ByteEvents events)
{
    replyLength_ = 0;
    while (replyLength_ < reply_.size()) {
        char b = 0;
        if (!ReceiveByte(b)) {
            CommFailure();
            return commState_;
        }
        if (events == ByteEvents::LetWindowRun)
            ui_.ProcessEvents();
        if (b == ETX) {
            commState_ = CommDataReceived;
            return commState_;
        }
        reply_[replyLength_++] = b;
    }
    return commState_;
}

void InstrumentSession::CommFailure()
{
    replyLength_ = 0;  // an incomplete reply is never used
    ui_.ProgressClose();
    ui_.ShowMessage(MsgDlg::Rs232cErr, kCannotCommunicateText);
    port_.close();
    commState_ = CommIdle;
    port_.rxtimeout = rxTimeoutAtStart_;
}

void InstrumentSession::OpenProgress(int maximum) { ui_.ProgressOpen(kProgressCaption, 0, maximum); }

bool InstrumentSession::AdvanceProgress()
{
    if (!ui_.ProgressStep())
        return false;
    ui_.ProcessEvents();
    return true;
}

bool InstrumentSession::ReplyHoldsCurve() const
{
    return (static_cast<unsigned char>(ReplyByte(kFlagsByte)) & 0x08) != 0;
}

std::string InstrumentSession::ReplyFieldText() const
{
    const std::string_view data = ReplyData();
    return data.size() > 1 ? std::string(data.substr(1, 12)) : std::string();
}

}  // namespace qlx
