#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "comm/commands.h"
#include "comm/instrument_ui.h"
#include "comm/messages.h"
#include "comm/op_result.h"
#include "comm/precise_timers.h"
#include "comm/rs232c.h"

namespace qlx {

constexpr int kStatusReplyMax = 65;  // bytes of a status reply, ETX included
constexpr int kDataPauseMs = 25;     // before every data command
constexpr int kNormalRxTimeoutMs = 2000;

// Values of CommState.
enum CommStateValue : std::uint8_t {
    CommIdle = 0,
    CommPortOpen = 1,
    CommStatusSent = 2,
    CommStatusReceived = 3,
    CommConfirmed = 4,
    CommDataSent = 5,
    CommDataReceived = 6,
    CommUploadSent = 10,
};

// Sets the instrument line of the main window's port: 38400 bit/s, 8 data
// bits, odd parity with checking, 1 stop bit, no handshake, 2048-byte queues,
// 2000 ms limits, ETX as end and event character.
void ConfigureInstrumentPort(Trs232c& port);

// The instrument protocol shared by every instrument operation: the status
// check, the data exchange, the failure step and the frame around them.
//
// An operation runs on the owner's thread like this:
//
//     InstrumentSession::Operation op(session);
//     if (!op.started()) return Outcome::Busy;    // another one is running
//     if (auto r = session.StatusCheck(); !r) return r.outcome();  // shown
//     session.OpenProgress(units);
//     for (each unit) {
//         if (auto r = session.AdvanceProgress(); !r) return r.outcome();
//         if (auto r = session.DataExchange(ReadCommand(...)); !r)
//             return r.outcome();                  // failed, shown
//         ... use session.ReplyData() ...
//     }
//     return result;  // leaving the scope closes the progress and the port
//
// Every step returns a StepResult and every operation an OpResult: Done,
// Cancelled (the user stopped it), Failed (already shown) or Busy.
//
// Replies are read one byte at a time with the port's per-byte time limit,
// never past the reply's ETX and never past the 2048-byte buffer.
class InstrumentSession {
public:
    InstrumentSession(Trs232c& port, InstrumentUi& ui);

    // The COM port setting; copied into the port by every status check.
    std::string ComPortName = "COM1";

    // Claims the session for one operation. A second operation started
    // while one runs (from events let through by the first) does not start
    // and touches nothing. The destructor ends the frame: it closes the
    // progress dialog and, unless CommState is already 0, the port, and
    // sets CommState 0 and the read time limit back to its value at start.
    class Operation {
    public:
        explicit Operation(InstrumentSession& session);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;
        bool started() const { return started_; }

    private:
        InstrumentSession& session_;
        bool started_ = false;
        std::optional<PreciseTimers> preciseTimers_;
    };

    bool busy() const { return busy_; }
    std::uint8_t CommState() const { return commState_; }
    // For operation steps of their own (folder chosen: 4; upload frame: 10).
    void SetCommState(std::uint8_t state) { commState_ = state; }

    Trs232c& port() { return port_; }
    InstrumentUi& ui() { return ui_; }

    enum class StatusCondition { ModelOnly, SweepMode };

    // Opens the port named by ComPortName, sends the status command and
    // checks the reply for "QLX-50" (and, for SweepMode, byte 19 "A").
    // Done with CommState 4; Failed with CommState 0 after the user was told.
    StepResult StatusCheck(StatusCondition condition = StatusCondition::ModelOnly);

    enum class ByteEvents { None, LetWindowRun };

    // Pause, command, ACK, the skipped byte, then the reply up to ETX.
    // Done leaves CommState 6 (reply complete) or 5 (2048 bytes without ETX,
    // which then are the reply); Failed leaves 0 (shown, port closed).
    StepResult DataExchange(const CommandBuffer& command, ByteEvents events = ByteEvents::None);

    // Receives the first reply byte, which must be ACK, and the byte after
    // it (skipped, also when it does not come). Failed after CommFailure.
    StepResult ReceiveAck();

    // Receives the data of a reply into the reply buffer (after ACK and the
    // skipped byte): up to ETX (CommState 6) or 2048 bytes (state unchanged).
    // A failed receive calls CommFailure and is Failed.
    StepResult ReceiveData(ByteEvents events = ByteEvents::None);

    // Reports the lost communication, closes the port, CommState 0.
    void CommFailure();
    // The same end with another text (UTF-8) in the same dialog, for a
    // failure found on the program's side (a file, a packet too long):
    // progress dialog closed, message shown, port closed, CommState 0.
    void FailWith(const std::string& text);

    // Progress dialog "通信中" with cancel, range 0..maximum.
    void OpenProgress(int maximum);
    // Advances the progress dialog (which lets the window run first);
    // Cancelled when the user pressed cancel (or the steps passed the maximum).
    StepResult AdvanceProgress();

    // Sends bytes without waiting for an answer (result ignored, as every
    // command's: a lost command shows up as a missing reply).
    void Send(const CommandBuffer& command);
    // The pause before data commands: lets the window run once, then sleeps
    // out the rest of it; replaceable for tests.
    std::function<void(int ms)> Pause;

    // The reply: status text before its ETX, or a data reply's data bytes.
    std::string_view ReplyData() const { return {reply_.data(), replyLength_}; }
    // Byte i of the reply; 0 past its end.
    char ReplyByte(std::size_t i) const { return i < replyLength_ ? reply_[i] : '\0'; }
    // StoredCurveMarked and FieldTextOf of the reply's data.
    bool ReplyHoldsCurve() const;
    std::string ReplyFieldText() const;

private:
    StepResult ReceiveStatus();
    bool ReceiveByte(char& out);

    Trs232c& port_;
    InstrumentUi& ui_;
    std::uint8_t commState_ = CommIdle;
    bool busy_ = false;
    int rxTimeoutAtStart_ = kNormalRxTimeoutMs;
    std::array<char, kCommBufferSize> reply_{};
    std::size_t replyLength_ = 0;
};

// How the status check reads a status reply (the bytes before its ETX):
// "QLX-50" at any position confirms the instrument, and with SweepMode only
// when byte 19 is "A" as well.
enum class StatusVerdict { Confirmed, NotQlx50, NotSweepMode };
StatusVerdict JudgeStatusReply(std::string_view reply, InstrumentSession::StatusCondition condition);

// Header checks of a stored-curve reply's data: byte 17 with bit 3 marks a
// stored curve (a reply too short to hold byte 17 marks none); bytes 1..12
// are the 12 characters of its first line (fewer when the data is shorter).
bool StoredCurveMarked(std::string_view data);
std::string FieldTextOf(std::string_view data);

}  // namespace qlx
