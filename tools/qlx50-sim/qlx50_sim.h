#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sim_memory.h"
#include "sim_responder.h"

namespace qlxsim {

// Misbehaviour on demand, for tests of the program's failure handling.
// Commands are counted from the last SetFaults (or the start), from 1.
struct SimFaults {
    long silenceAfterBytes = -1;             // no reply byte after this many in total
    int silenceAfterCommands = -1;           // commands after the first N get no reply
    int wrongFirstByte = -1;                 // sent instead of ACK
    bool ackAlone = false;                   // the byte after ACK (or wrongFirstByte) is not sent
    int cutReplyAfter = -1;                  // every reply ends after this many bytes
    bool dropEtx = false;                    // replies lack their closing ETX
    int garbageBytes = 0;                    // the reply's data replaced by this many bytes, none of them ETX or ACK
    std::optional<std::string> statusReply;  // replaces the status reply (bytes as sent)
    int sweepValues = -1;                    // a sweep reply holds only its first N values
    // When above 0, the reply faults above (wrongFirstByte to statusReply)
    // hit only the reply to command N; the other replies are sound.
    int onlyReplyTo = 0;
    int shortReadSlot = -1;  // reads (RIMP) of this slot index, reference or measured, ...
    int shortReadBytes = 0;  // ... send only their first N data bytes, then ETX
    // When above 0, the device vanishes as command N arrives (an adapter
    // pulled out): no reply, and the simulator closes its side of the line,
    // so that the program's end sees a hang-up and the device path is gone.
    int vanishAtCommand = 0;
};

struct SimConfig {
    bool sweepMode = true;
    int sweepMs = 6000;  // a sweep over the full grid
    // The real line rate, 38400 bit/s and 11 bits a byte, both ways: replies
    // are sent at that rate, and a command is answered only once its last
    // byte would have arrived.
    bool paced = false;
    unsigned seed = 1;
    std::optional<SimMemory> memory;  // default: the built-in speakers
    SimFaults faults;
};

// A QLX-50 on the master side of a pseudo-terminal, answering in a thread of
// its own. The program (or a test) opens devicePath() as its serial port.
class Qlx50Sim {
public:
    explicit Qlx50Sim(SimConfig config = {});
    ~Qlx50Sim();
    Qlx50Sim(const Qlx50Sim&) = delete;
    Qlx50Sim& operator=(const Qlx50Sim&) = delete;

    const std::string& devicePath() const { return slavePath_; }

    // Every command received, bytes as sent including the ETX. Nothing is
    // dropped: a command longer than the instrument takes is logged whole
    // (and refused).
    std::vector<std::string> Commands() const;
    // Waits until at least n commands were received; false on time-out.
    bool WaitForCommands(std::size_t n, int timeoutMs) const;
    // Waits until `command` was received; false on time-out.
    bool WaitForCommand(const std::string& command, int timeoutMs) const;
    std::size_t CommandCount() const;
    // The line went away (SimFaults::vanishAtCommand).
    bool Vanished() const;
    // Every reply as it went onto the line, in order: the bytes actually
    // written after the faults (an ACK and the sweep's points that follow it
    // are two replies). Together with Commands() this is every byte the line
    // carried, for the line time a run cannot beat.
    std::vector<std::string> Replies() const;
    // Forgets the commands and the replies logged so far.
    void ClearLog();

    SimMemory Memory() const;
    void SetMemory(const SimMemory& memory);
    void SetFaults(const SimFaults& faults);
    void SetSweepMode(bool sweep);
    void SetSweepMs(int ms);
    void SetPaced(bool paced);
    std::string StatusText() const;

    // Called from the simulator's thread after each command (for logging).
    std::function<void(const std::string& command)> onCommand;

private:
    using Clock = std::chrono::steady_clock;

    void Run();
    void HandleCommand(const std::string& command);
    void Transmit(std::string bytes, bool dataReply, bool faulty);
    void WriteAll(const std::string& bytes);
    void Vanish();

    // Both closed (-1) once the device vanished; only the simulator's thread
    // uses or changes them until the destructor has joined it.
    int master_ = -1;
    int slave_ = -1;  // kept open: the line stays up between the program's opens
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string slavePath_;

    mutable std::mutex mutex_;
    mutable std::condition_variable logged_;
    SimMemory memory_;
    SimResponder responder_;
    SimFaults faults_;
    bool paced_ = false;
    std::vector<std::string> log_;
    std::vector<std::string> replies_;
    long bytesSent_ = 0;
    int commandsSeen_ = 0;
    bool vanished_ = false;
    std::string pendingSweep_;
    bool pendingSweepFaulty_ = false;
    Clock::time_point sweepDue_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace qlxsim
