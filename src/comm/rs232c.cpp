#include "comm/rs232c.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "comm/comm_thread.h"
#include "comm/output_drain.h"

namespace qlx {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline, rounded up, never negative.
int MsUntil(Clock::time_point deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    return static_cast<int>(std::min<long long>(INT_MAX, std::chrono::ceil<std::chrono::milliseconds>(left).count()));
}

// Waits for `events` on fd until deadline; returns the revents, 0 on time-out,
// -1 on error.
int PollUntil(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, MsUntil(deadline));
        if (r > 0)
            return p.revents;
        if (r == 0 && Clock::now() >= deadline)
            return 0;
        if (r < 0 && errno != EINTR)
            return -1;
    }
}

bool IsPseudoTerminal(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;  // Unix98 pseudo-terminal slaves
}

void SetModemLine(int fd, int line, bool on)
{
    // A pseudo-terminal has no modem lines (ENOTTY); that is no failure.
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

Trs232c::Trs232c(OwnerSink sink, TNotifyEvent onCreate)
    : OnCreate(std::move(onCreate)), sink_(std::move(sink)), alive_(std::make_shared<Trs232c*>(this))
{
    if (OnCreate)
        OnCreate(*this);
}

Trs232c::~Trs232c()
{
    close();
    alive_.reset();
}

std::string Trs232c::DevicePathFor(const std::string& portname)
{
    if (portname.find('/') != std::string::npos)
        return portname;
    if (portname.size() > 3 && std::toupper(static_cast<unsigned char>(portname[0])) == 'C' &&
        std::toupper(static_cast<unsigned char>(portname[1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(portname[2])) == 'M' &&
        std::all_of(portname.begin() + 3, portname.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        const long n = std::strtol(portname.c_str() + 3, nullptr, 10);
        if (n >= 1 && n <= 256)
            return "/dev/ttyS" + std::to_string(n - 1);
    }
    return "/dev/" + portname;
}

bool Trs232c::Fail(const char* utf8Text)
{
    if (debug && ShowMessage)
        ShowMessage(utf8Text);
    if (fd_ >= 0) {
        ::tcflush(fd_, TCIOFLUSH);
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }
    return false;
}

bool Trs232c::open()
{
    if (opened())
        return false;

    const std::string path = DevicePathFor(portname);
    char resolved[PATH_MAX];
    const char* target = ::realpath(path.c_str(), resolved) ? resolved : path.c_str();
    const int fd = ::open(target, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail("回線オープンエラー");
    // flock also stops a second open by root, which TIOCEXCL lets through.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // Another holder owns the device: its queues and its exclusive
        // claim (both belong to the device, not to this descriptor) stay.
        ::close(fd);
        return Fail("回線オープンエラー");
    }
    fd_ = fd;
    ::ioctl(fd_, TIOCEXCL);

    // The tty queues have a fixed size; only nonsense sizes are refused.
    if (rxbuffsize <= 0 || txbuffsize <= 0)
        return Fail("バッファサイズ設定エラー");

    if (!Configure())
        return Fail("通信条件設定エラー");

    if (readinterval < 0 || rxtimeout < 0 || txtimeout < 0)
        return Fail("タイムアウト時間設定エラー");
    appliedReadInterval_ = readinterval;
    appliedRxTimeout_ = rxtimeout;
    appliedTxTimeout_ = txtimeout;

    eventmask_ = BuildEventMask();
    ::tcflush(fd_, TCIOFLUSH);
    queue_.Clear();
    rxcount_ = 0;
    decoder_.Reset(flow(), appliedErrorChar_);

    if (eventmask_ != 0) {
        thread_ = std::make_unique<tcommthread>(*this, fd_);
        thread_->Start();
    }
    if (OnOpen)
        OnOpen(*this);
    return true;
}

bool Trs232c::Configure()
{
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return false;
    LineSettings s;
    s.bps = bps;
    s.charbit = charbit;
    s.stopbit = stopbit;
    s.paritymode = paritymode;
    s.flowflag = flowflag;
    s.XonChar = XonChar;
    s.XoffChar = XoffChar;
    s.EofChar = EofChar;
    if (!ApplyLineSettings(tio, s))
        return false;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        // The C library reads the block back and reports EINVAL when the
        // device dropped the parity or size bits. A pseudo-terminal always
        // drops parity (it has no line), so there the settings stand.
        if (errno != EINVAL || !IsPseudoTerminal(fd_))
            return false;
    }
    // Characters without a termios slot are the component's own: 0 keeps the
    // one applied before.
    if (ErrorChar != 0)
        appliedErrorChar_ = ErrorChar;
    if (EvtChar != 0)
        appliedEvtChar_ = EvtChar;
    ApplyModemLines();
    return true;
}

void Trs232c::ApplyModemLines()
{
    // Handshake and toggle modes have no fixed level; the line is raised and
    // CRTSCTS (set with the termios block) does the handshake.
    SetModemLine(fd_, TIOCM_DTR, DtrControlOf(flowflag) != 0);
    const int rts = RtsControlOf(flowflag);
    if (rts != 2)
        SetModemLine(fd_, TIOCM_RTS, rts != 0);
}

bool Trs232c::close()
{
    if (!opened())
        return false;
    // Only input is discarded: a write returns once its bytes have left, and
    // a command sent just before closing (the stop command) must arrive. On a
    // pseudo-terminal an output flush drops bytes the other end has not read
    // yet, which the drain in write cannot see.
    ::tcflush(fd_, TCIFLUSH);
    thread_.reset();  // stops and joins the event thread
    const int fd = fd_;
    fd_ = -1;
    if (OnClose)
        OnClose(*this);
    ::ioctl(fd, TIOCNXCL);
    return ::close(fd) == 0;
}

int Trs232c::Limit(int property, int applied) const
{
    const int limit = std::max(property, 0);
    return applied > 0 ? std::min(limit, applied) : limit;
}

bool Trs232c::write(const void* buffer, std::size_t count)
{
    if (!opened())
        return false;
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    const auto deadline = Clock::now() + std::chrono::milliseconds(Limit(txtimeout, appliedTxTimeout_));
    std::size_t sent = 0;
    while (sent < count) {
        const ssize_t n = ::write(fd_, bytes + sent, count - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        const int ev = PollUntil(fd_, POLLOUT, deadline);
        if (ev <= 0 || (ev & (POLLERR | POLLHUP | POLLNVAL)))
            break;
    }
    // Accepted by the driver is not yet sent: held by flow control, the bytes
    // would wait, and the purge of the next close would drop them.
    const bool allSent = sent == count && WaitOutputSent([this] { return QueuedOutput(fd_); }, deadline);
    if (thread_)
        thread_->NoteWrite();
    if (allSent)
        return true;
    ::tcflush(fd_, TCOFLUSH);
    return false;
}

bool Trs232c::read(void* buffer, std::size_t count)
{
    if (!opened())
        return false;
    auto* out = static_cast<unsigned char*>(buffer);
    if (!thread_)
        return ReadDirect(out, count);

    const auto deadline = Clock::now() + std::chrono::milliseconds(Limit(rxtimeout, appliedRxTimeout_));
    for (std::size_t got = 0; got < count; ++got) {
        auto until = deadline;
        if (got > 0 && appliedReadInterval_ > 0)
            until = std::min(until, Clock::now() + std::chrono::milliseconds(appliedReadInterval_));
        if (!queue_.Take(out[got], until))
            return false;
    }
    return true;
}

bool Trs232c::ReadDirect(unsigned char* out, std::size_t count)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(Limit(rxtimeout, appliedRxTimeout_));
    auto lastByte = Clock::now();
    std::size_t got = 0;
    unsigned char raw[256];
    bool readable = false;
    while (got < count) {
        auto until = deadline;
        if (got > 0 && appliedReadInterval_ > 0)
            until = std::min(until, lastByte + std::chrono::milliseconds(appliedReadInterval_));
        // Never more raw bytes than still wanted: nothing past the caller's
        // count is taken from the device.
        const std::size_t want = std::min(count - got, sizeof raw);
        const ssize_t n = ::read(fd_, raw, want);
        if (n > 0) {
            readable = false;
            lastByte = Clock::now();
            for (ssize_t i = 0; i < n; ++i)
                if (const auto b = decoder_.Feed(raw[i]))
                    out[got++] = *b;
            continue;
        }
        // End of file right after poll said readable: the other end is gone.
        if (n == 0 && readable)
            break;
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        const int ev = PollUntil(fd_, POLLIN, until);
        if (ev <= 0 || !(ev & POLLIN))
            break;
        readable = true;
    }
    if (got == count)
        return true;
    ::tcflush(fd_, TCIFLUSH);
    return false;
}

bool Trs232c::readchar(char& out)
{
    if (!read(&receiveCell_, 1))
        return false;
    out = static_cast<char>(receiveCell_);
    return true;
}

}  // namespace qlx
