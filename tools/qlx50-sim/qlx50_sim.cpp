#include "qlx50_sim.h"
#include "raw_pty.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include "sim_curves.h"

namespace qlxsim {

namespace {

// Bytes without an ETX kept before they are taken as a command all the same.
constexpr std::size_t kMaxUnended = 1 << 20;
// 1 start, 8 data, 1 parity and 1 stop bit at 38400 bit/s.
constexpr auto kByteTime = std::chrono::nanoseconds(11'000'000'000LL / 38400);

// The first n LF-separated values of a reply ended by ETX, still ended by ETX.
std::string FirstValues(const std::string& reply, int n)
{
    const auto values = SplitLines(reply.substr(0, reply.find(kEtx)));
    std::string out;
    for (int i = 0; i < n && i < static_cast<int>(values.size()); ++i)
        out += (i ? "\n" : "") + values[i];
    return out + kEtx;
}

// A read command ("RIMP\n" kind "\n" slot ...) of the given slot index.
bool ReadsSlot(const std::string& command, int slot)
{
    return slot >= 0 && command.rfind("RIMP\n", 0) == 0 && command.size() > 7 &&
           static_cast<unsigned char>(command[7]) - 0x30 == slot;
}

// ACK, its following byte and the first n data bytes of an acked reply, ETX.
std::string Shortened(const std::string& reply, int n)
{
    if (reply.size() < 2 || reply[0] != kAck)
        return reply;
    const std::string data = reply.substr(2, reply.find(kEtx, 2) - 2);
    return reply.substr(0, 2) + data.substr(0, static_cast<size_t>(std::max(0, n))) + kEtx;
}

}  // namespace

Qlx50Sim::Qlx50Sim(SimConfig config)
    : memory_(config.memory ? *config.memory : DefaultMemory(config.seed)),
      responder_(memory_, config.seed),
      faults_(config.faults),
      paced_(config.paced)
{
    responder_.sweepMode = config.sweepMode;
    responder_.sweepMs = config.sweepMs;
    slavePath_ = OpenRawPty(master_, slave_);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    ::fcntl(master_, F_SETFL, O_NONBLOCK);
    int p[2];
    if (::pipe2(p, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("pipe failed");
    wakeRead_ = p[0];
    wakeWrite_ = p[1];
    thread_ = std::thread([this] { Run(); });
}

Qlx50Sim::~Qlx50Sim()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    const char b = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &b, 1);
    thread_.join();
    for (int fd : {master_, slave_, wakeRead_, wakeWrite_})
        if (fd >= 0)
            ::close(fd);
}

std::vector<std::string> Qlx50Sim::Commands() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

bool Qlx50Sim::WaitForCommands(std::size_t n, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return logged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return log_.size() >= n; });
}

bool Qlx50Sim::WaitForCommand(const std::string& command, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return logged_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return std::find(log_.begin(), log_.end(), command) != log_.end(); });
}

std::size_t Qlx50Sim::CommandCount() const
{
    std::lock_guard lock(mutex_);
    return log_.size();
}

bool Qlx50Sim::Vanished() const
{
    std::lock_guard lock(mutex_);
    return vanished_;
}

std::vector<std::string> Qlx50Sim::Replies() const
{
    std::lock_guard lock(mutex_);
    return replies_;
}

void Qlx50Sim::ClearLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
    replies_.clear();
}

SimMemory Qlx50Sim::Memory() const
{
    std::lock_guard lock(mutex_);
    return memory_;
}

void Qlx50Sim::SetMemory(const SimMemory& memory)
{
    std::lock_guard lock(mutex_);
    memory_ = memory;
}

void Qlx50Sim::SetFaults(const SimFaults& faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
    bytesSent_ = 0;
    commandsSeen_ = 0;
}

void Qlx50Sim::SetSweepMode(bool sweep)
{
    std::lock_guard lock(mutex_);
    responder_.sweepMode = sweep;
}

void Qlx50Sim::SetSweepMs(int ms)
{
    std::lock_guard lock(mutex_);
    responder_.sweepMs = ms;
}

void Qlx50Sim::SetPaced(bool paced)
{
    std::lock_guard lock(mutex_);
    paced_ = paced;
}

std::string Qlx50Sim::StatusText() const
{
    std::lock_guard lock(mutex_);
    return responder_.StatusText();
}

void Qlx50Sim::Run()
{
    // The line's bytes are due at their times: the kernel's default timer
    // slack would let each one come up to 50 µs (more on a busy machine)
    // late, a lateness no real line has.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::string command;
    Clock::time_point lineFree;  // when the last byte received has arrived on a paced line
    for (;;) {
        int timeout = -1;
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
            if (!pendingSweep_.empty()) {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(sweepDue_ - Clock::now()).count();
                timeout = static_cast<int>(std::max<long long>(0, left));
            }
        }
        pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        const int r = ::poll(fds, 2, timeout);
        if (r < 0 && errno != EINTR)
            return;
        if (fds[1].revents) {
            char drain[16];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLIN) {
            char buf[512];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            const auto readAt = Clock::now();
            bool paced;
            {
                std::lock_guard lock(mutex_);
                paced = paced_;
            }
            for (ssize_t i = 0; i < n; ++i) {
                // A byte on the real line has arrived one byte time after the one before.
                if (paced)
                    lineFree = std::max(lineFree, readAt) + kByteTime;
                command.push_back(buf[i]);
                if (buf[i] == kEtx || command.size() >= kMaxUnended) {
                    if (paced)
                        std::this_thread::sleep_until(lineFree);
                    HandleCommand(command);
                    command.clear();
                    if (master_ < 0)
                        break;  // the device is gone: nothing more arrives
                }
            }
        }
        std::string due;
        bool faulty = false;
        {
            std::lock_guard lock(mutex_);
            if (!pendingSweep_.empty() && Clock::now() >= sweepDue_) {
                due.swap(pendingSweep_);
                faulty = pendingSweepFaulty_;
            }
        }
        if (!due.empty())
            Transmit(due, true, faulty);
    }
}

void Qlx50Sim::HandleCommand(const std::string& command)
{
    Response response;
    bool silent = false;
    bool faulty = false;
    bool vanish = false;
    {
        std::lock_guard lock(mutex_);
        log_.push_back(command);
        logged_.notify_all();
        ++commandsSeen_;
        vanish = faults_.vanishAtCommand > 0 && commandsSeen_ == faults_.vanishAtCommand;
        silent = faults_.silenceAfterCommands >= 0 && commandsSeen_ > faults_.silenceAfterCommands;
        faulty = faults_.onlyReplyTo <= 0 || commandsSeen_ == faults_.onlyReplyTo;
        const bool ended = command.back() == kEtx;
        response = responder_.Answer(command.substr(0, command.size() - (ended ? 1 : 0)));
        if (ReadsSlot(command, faults_.shortReadSlot))
            response.now = Shortened(response.now, faults_.shortReadBytes);
        if (response.stop)
            pendingSweep_.clear();
        if (!silent && !response.later.empty()) {
            pendingSweep_ =
                faults_.sweepValues >= 0 ? FirstValues(response.later, faults_.sweepValues) : response.later;
            pendingSweepFaulty_ = faulty;
            sweepDue_ = Clock::now() + std::chrono::milliseconds(response.delayMs);
        }
        if (silent)
            pendingSweep_.clear();
    }
    if (onCommand)
        onCommand(command);
    if (vanish) {
        Vanish();
        return;
    }
    if (!silent && !response.now.empty())
        Transmit(response.now, response.later.empty(), faulty);
}

void Qlx50Sim::Transmit(std::string bytes, bool dataReply, bool faulty)
{
    SimFaults f;
    {
        std::lock_guard lock(mutex_);
        f = faults_;
    }
    if (!faulty) {
        // Only the counters still apply to this reply.
        SimFaults sound;
        sound.silenceAfterBytes = f.silenceAfterBytes;
        f = sound;
    }
    const bool acked = !bytes.empty() && bytes[0] == kAck;
    if (acked && f.ackAlone && bytes.size() >= 2)
        bytes.erase(1, 1);
    if (acked && f.wrongFirstByte >= 0)
        bytes[0] = static_cast<char>(f.wrongFirstByte);
    if (!acked && bytes.rfind("QLX-50", 0) == 0 && f.statusReply)
        bytes = *f.statusReply;
    if (dataReply && f.garbageBytes > 0) {
        std::mt19937 rng(static_cast<unsigned>(bytes.size()));
        std::string garbage;
        while (static_cast<int>(garbage.size()) < f.garbageBytes) {
            const char c = static_cast<char>(rng() & 0xFF);
            if (c != kEtx && c != kAck)
                garbage.push_back(c);
        }
        bytes = (acked ? bytes.substr(0, 2) : std::string()) + garbage;
    }
    if (f.dropEtx && !bytes.empty() && bytes.back() == kEtx)
        bytes.pop_back();
    if (f.cutReplyAfter >= 0 && static_cast<int>(bytes.size()) > f.cutReplyAfter)
        bytes.resize(f.cutReplyAfter);
    {
        std::lock_guard lock(mutex_);
        if (f.silenceAfterBytes >= 0) {
            const long room = std::max(0L, f.silenceAfterBytes - bytesSent_);
            if (static_cast<long>(bytes.size()) > room)
                bytes.resize(room);
        }
        bytesSent_ += static_cast<long>(bytes.size());
    }
    WriteAll(bytes);
}

void Qlx50Sim::Vanish()
{
    {
        std::lock_guard lock(mutex_);
        pendingSweep_.clear();
        vanished_ = true;  // before the hang-up, which the program may see at once
    }
    // Closing the master hangs the line up for every open slave; with the
    // simulator's own slave closed as well the device node goes away.
    ::close(master_);
    ::close(slave_);
    master_ = slave_ = -1;
}

void Qlx50Sim::WriteAll(const std::string& bytes)
{
    if (master_ < 0)
        return;
    bool paced;
    {
        std::lock_guard lock(mutex_);
        paced = paced_;
    }
    // What reached the line, also when the rest is dropped; a reply of which
    // nothing left is no reply. A piece is logged just before it is written
    // (whoever has read a byte finds it logged) and taken back if the write
    // did not take it.
    bool begun = false;
    const auto logPiece = [&](std::size_t from, std::size_t count) {
        std::lock_guard lock(mutex_);
        if (!begun || replies_.empty())
            replies_.emplace_back();
        begun = true;
        replies_.back().append(bytes, from, count);
    };
    const auto takeBack = [&](std::size_t count) {
        std::lock_guard lock(mutex_);
        if (replies_.empty())
            return;
        std::string& last = replies_.back();
        last.resize(last.size() - std::min(count, last.size()));
        if (last.empty()) {
            replies_.pop_back();
            begun = false;
        }
    };
    // On the real line a byte is there once its stop bit has been sent.
    auto next = Clock::now() + kByteTime;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (paced) {
            std::this_thread::sleep_until(next);
            next += kByteTime;
        }
        const std::size_t chunk = paced ? 1 : bytes.size() - sent;
        logPiece(sent, chunk);
        const ssize_t n = ::write(master_, bytes.data() + sent, chunk);
        takeBack(chunk - static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        pollfd p{master_, POLLOUT, 0};
        if (::poll(&p, 1, 1000) <= 0)
            return;  // nobody reads: drop the rest
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
        }
    }
}

}  // namespace qlxsim
