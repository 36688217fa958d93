#pragma once

#include <random>
#include <string>

#include "sim_memory.h"

namespace qlxsim {

constexpr char kEtx = 0x03;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr char kAfterAck = '0';  // the byte that follows every ACK or NAK
// The longest command the instrument takes, ETX not counted; a longer one is refused.
constexpr std::size_t kMaxCommand = 4096;

// What the instrument sends for one command: `now` at once, `later` (if not
// empty) after `delayMs` unless a stop command comes first.
struct Response {
    std::string now;
    std::string later;
    int delayMs = 0;
    bool stop = false;  // the command was RSTP: a pending sweep is dropped
};

// The QLX-50's command interpreter, without any input or output of its own.
class SimResponder {
public:
    SimResponder(SimMemory& memory, unsigned seed) : memory_(memory), rng_(seed) {}

    bool sweepMode = true;
    int sweepMs = 6000;  // duration of a sweep over the full grid

    // The status text (without ETX); byte 19 is "A" in sweep mode.
    std::string StatusText() const;

    // `command` is a complete command as received, without its ETX.
    Response Answer(const std::string& command);

private:
    Response Sweep(const std::string& command);
    Response ReadCurve(const std::string& command);
    Response WriteHeader(const std::string& command);
    Response WritePoints(const std::string& command);
    static Response Acked(std::string data = {}, bool withEtx = false);
    static Response Refused();

    SimMemory& memory_;
    std::mt19937 rng_;
    // Upload in progress: slot and block of the last header, next point packet.
    int uploadSlot_ = -1;
    int uploadBlock_ = 0;
    int uploadPacket_ = 0;
};

std::vector<std::string> SplitLines(const std::string& text);

}  // namespace qlxsim
