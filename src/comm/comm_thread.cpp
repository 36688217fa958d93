#include "comm/comm_thread.h"

#include <cerrno>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "comm/rs232c.h"

namespace qlx {

namespace {

constexpr int kCounterPeriodMs = 20;
constexpr unsigned kCounterEvents = EvCts | EvDsr | EvRing | EvRlsd | EvBreak | EvErr;

}  // namespace

tcommthread::tcommthread(Trs232c& component, int fd)
    : component_(component),
      fd_(fd),
      mask_(component.eventmask()),
      packetWanted_(static_cast<bool>(component.OnPACKET)),
      rxcharWanted_(static_cast<bool>(component.OnRXCHAR)),
      packetsize_(component.packetsize),
      queueLimit_(static_cast<std::size_t>(component.rxbuffsize)),
      evtChar_(component.appliedEvtChar_)
{
    int p[2];
    if (::pipe2(p, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = p[0];
        wakeWrite_ = p[1];
    }
}

tcommthread::~tcommthread()
{
    stop_ = true;
    Wake();
    if (thread_.joinable())
        thread_.join();
    if (wakeRead_ >= 0)
        ::close(wakeRead_);
    if (wakeWrite_ >= 0)
        ::close(wakeWrite_);
}

void tcommthread::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void tcommthread::NoteWrite()
{
    if (!(mask_ & EvTxEmpty))
        return;
    txPending_ = true;
    Wake();
}

void tcommthread::Wake()
{
    if (wakeWrite_ < 0)
        return;
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &b, 1);
}

void tcommthread::Run()
{
    // Without a wake pipe the thread could never be stopped while it waits.
    if (wakeRead_ >= 0) {
        while (!stop_) {
            const unsigned events = Wait() & mask_;
            if (stop_)
                break;
            lastEvents_ = events;
            if (events)
                Dispatch(events);
        }
    }
    // Nothing fills the queue any more: reads must not wait for it.
    component_.queue_.End();
}

unsigned tcommthread::Wait()
{
    pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {fd_, POLLIN, 0}};
    const nfds_t count = inputGone_ ? 1 : 2;
    const bool periodic = (countersUsable_ && (mask_ & kCounterEvents)) || txPending_;
    const int r = ::poll(fds, count, periodic ? kCounterPeriodMs : -1);
    if (r < 0) {
        // A wait that fails at once would otherwise be retried in a tight loop.
        if (errno != EINTR)
            stop_ = true;
        return 0;
    }
    unsigned events = 0;
    if (fds[0].revents) {
        char drain[64];
        while (::read(wakeRead_, drain, sizeof drain) > 0) {
        }
    }
    if (count == 2 && fds[1].revents) {
        if (fds[1].revents & POLLIN) {
            events |= ReadInput();
        } else {
            inputGone_ = true;
            component_.queue_.End();
            events |= EvErr;
        }
    }
    if (countersUsable_ && (mask_ & kCounterEvents))
        events |= CheckCounters();
    if (txPending_) {
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued == 0) {
            txPending_ = false;
            events |= EvTxEmpty;
        }
    }
    return events;
}

unsigned tcommthread::ReadInput()
{
    unsigned char raw[256];
    const ssize_t n = ::read(fd_, raw, sizeof raw);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    if (n <= 0) {
        // Hang-up: stop watching the input so that poll does not return at once forever.
        inputGone_ = true;
        component_.queue_.End();
        return EvErr;
    }
    unsigned events = 0;
    for (ssize_t i = 0; i < n; ++i) {
        const auto b = component_.decoder_.Feed(raw[i]);
        if (!b)
            continue;
        events |= EvRxChar;
        if (*b == evtChar_)
            events |= EvRxFlag;
        if (!component_.queue_.Push(*b, queueLimit_))
            events |= EvErr;
    }
    return events;
}

unsigned tcommthread::CheckCounters()
{
    serial_icounter_struct ic{};
    if (::ioctl(fd_, TIOCGICOUNT, &ic) != 0) {
        // No counters on this device (a pseudo-terminal): those events stay silent.
        countersUsable_ = false;
        return 0;
    }
    const int now[kCounters] = {ic.cts, ic.dsr, ic.rng,
                                ic.dcd, ic.brk, ic.frame + ic.overrun + ic.parity + ic.buf_overrun};
    static constexpr unsigned kEvent[kCounters] = {EvCts, EvDsr, EvRing, EvRlsd, EvBreak, EvErr};
    unsigned events = 0;
    for (int i = 0; i < kCounters; ++i) {
        if (countersKnown_ && now[i] != counters_[i])
            events |= kEvent[i];
        counters_[i] = now[i];
    }
    countersKnown_ = true;
    return events;
}

void tcommthread::Dispatch(unsigned events)
{
    static constexpr std::pair<unsigned, CommNotify> kLineEvents[] = {
        {EvBreak, NotifyBreak}, {EvCts, NotifyCts},   {EvDsr, NotifyDsr},
        {EvErr, NotifyErr},     {EvRing, NotifyRing}, {EvRlsd, NotifyRlsd},
    };
    for (const auto& [bit, code] : kLineEvents)
        if (events & bit)
            component_.Post(code);
    if (events & EvRxChar) {
        int queued = static_cast<int>(component_.queue_.Size());
        component_.rxcount_ = queued;
        if (packetWanted_ && packetsize_ != 0 && queued >= packetsize_) {
            component_.rxcount_ = 0;
            component_.Post(NotifyPacket);
        }
        if (rxcharWanted_)
            component_.Post(NotifyRxChar);
    }
    if (events & EvRxFlag)
        component_.Post(NotifyRxFlag);
    if (events & EvTxEmpty)
        component_.Post(NotifyTxEmpty);
}

}  // namespace qlx
