#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "comm/input_decoder.h"
#include "comm/input_queue.h"
#include "comm/line_settings.h"

namespace qlx {

class Trs232c;
class tcommthread;

// Plain notify event: the component as sender.
using TNotifyEvent = std::function<void(Trs232c& sender)>;

// Hands a piece of work to the owner's thread (for example by posting it to
// the owner's event loop). Notifications of the event thread arrive this way,
// so that handlers always run on the owner's thread.
using OwnerSink = std::function<void(std::function<void()>)>;

// Line events of the event mask.
enum CommEvent : unsigned {
    EvRxChar = 0x01,
    EvRxFlag = 0x02,
    EvTxEmpty = 0x04,
    EvCts = 0x08,
    EvDsr = 0x10,
    EvRlsd = 0x20,
    EvBreak = 0x40,
    EvErr = 0x80,
    EvRing = 0x100,
};

// Private notification codes handed to the owner's sink.
enum CommNotify : unsigned {
    NotifyBreak = 0x81F5,
    NotifyCts,
    NotifyDsr,
    NotifyErr,
    NotifyRing,
    NotifyRlsd,
    NotifyPacket,
    NotifyRxChar,
    NotifyRxFlag,
    NotifyTxEmpty,
};

// Serial-port component on termios and poll.
//
// The published properties below are plain fields; they take effect at the
// next `open`, except that `read` and `write` wait at most `rxtimeout` /
// `txtimeout` as they stand at the call (and never longer than the limits in
// force at the last `open`). All members except the event thread's work run on
// the owner's thread.
//
// Port names: "COMn" (n >= 1, any letter case) is /dev/ttyS(n-1); a name with
// a "/" is a device path; any other name is taken relative to /dev. Symbolic
// links (such as /dev/serial/by-id/...) are resolved before opening.
class Trs232c {
public:
    // `sink` receives the event thread's notifications for the owner's thread.
    // Without one they wait in the component until DeliverPending() is called.
    explicit Trs232c(OwnerSink sink = {}, TNotifyEvent onCreate = {});
    ~Trs232c();
    Trs232c(const Trs232c&) = delete;
    Trs232c& operator=(const Trs232c&) = delete;

    // ---- published properties (component defaults) ----
    int charbit = 8;
    std::string stopbit = "1";
    int bps = 9600;
    std::string portname = "COM1";
    int rxbuffsize = 1024;
    int txbuffsize = 1024;
    int readinterval = 0;  // ms between two received bytes; 0 = not used
    int txtimeout = 30000;
    int rxtimeout = 30000;
    std::string paritymode = "\x96\xb3\x82\xb5";  // 無し (Shift-JIS)
    int flowflag = 1;
    int packetsize = 0;
    bool debug = false;
    int XonLim = 0;   // no termios form: kept, without effect on this platform
    int XoffLim = 0;  // as XonLim
    unsigned char XonChar = 0x11;
    unsigned char XoffChar = 0x13;
    unsigned char ErrorChar = 0;
    unsigned char EofChar = 0;
    unsigned char EvtChar = 0;

    FlowSet flow() const { return FlowSet::FromBits(flowflag); }
    // Replaces bits 0..14 of flowflag; higher bits stay.
    void set_flow(FlowSet f) { flowflag = (flowflag & ~0x7FFF) | f.bits(); }

    // ---- events ----
    TNotifyEvent OnBREAK, OnCTS, OnDSR, OnERR, OnRING, OnRLSD, OnRXCHAR, OnRXFLAG, OnTXEMPTY, OnCreate, OnOpen, OnClose,
        OnPACKET;

    // Shows a configuration failure text (UTF-8) when `debug` is set.
    std::function<void(const std::string& text)> ShowMessage;
    // Receives an exception thrown by an event handler; without it the
    // exception is dropped. Either way further notifications are delivered.
    std::function<void(std::exception_ptr)> OnHandlerException;

    // Opens and configures the device. False when already open (nothing
    // changes then) or when a step fails; a failed step releases the device.
    bool open();
    // Purges and closes; false when it was not open or the release failed.
    bool close();
    // Sends count bytes; true only when all left within txtimeout.
    bool write(const void* buffer, std::size_t count);
    // Receives exactly count bytes within rxtimeout (and within readinterval
    // between bytes when that is set). A shorter transfer is a failure.
    bool read(void* buffer, std::size_t count);
    bool readchar(char& out);

    bool opened() const { return fd_ >= 0; }
    bool threadused() const { return thread_ != nullptr; }
    unsigned eventmask() const { return eventmask_; }
    int rxcount() const { return rxcount_.load(); }

    // Runs the notifications that arrived while no sink was given.
    void DeliverPending();

    // Device path that `open` uses for a port name (before link resolution).
    static std::string DevicePathFor(const std::string& portname);

private:
    friend class tcommthread;

    bool Fail(const char* utf8Text);
    bool Configure();
    void ApplyModemLines();
    unsigned BuildEventMask() const;
    int Limit(int property, int applied) const;
    bool ReadDirect(unsigned char* out, std::size_t count);
    void Post(CommNotify code);
    void Dispatch(CommNotify code);

    int fd_ = -1;
    unsigned eventmask_ = 0;
    std::atomic<int> rxcount_{0};
    std::unique_ptr<tcommthread> thread_;
    InputQueue queue_;  // filled by the event thread while it runs
    InputDecoder decoder_;
    unsigned char receiveCell_ = 0;
    unsigned char appliedErrorChar_ = 0;
    unsigned char appliedEvtChar_ = 0;
    int appliedRxTimeout_ = 0;
    int appliedTxTimeout_ = 0;
    int appliedReadInterval_ = 0;

    OwnerSink sink_;
    std::mutex pendingMutex_;
    std::vector<std::function<void()>> pending_;
    // Notifications still queued at the owner after destruction find it gone.
    std::shared_ptr<Trs232c*> alive_;
};

}  // namespace qlx
