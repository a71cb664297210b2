#include "serial/posix_port.h"
#include "serial/emergency_byte.h"
#include "serial/link_trace.h"
#include "serial/port_holders.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// Interrupts a TIOCMIWAIT, which no poll() can include. Installed without
// SA_RESTART so the ioctl returns EINTR; the handler itself does nothing.
int wakeSignal()
{
    static const int sig = [] {
        const int s = SIGRTMIN + 4;
        struct sigaction sa {};
        sa.sa_handler = [](int) {};
        sigemptyset(&sa.sa_mask);
        sigaction(s, &sa, nullptr);
        return s;
    }();
    return sig;
}

std::optional<speed_t> speedFor(uint32_t baud)
{
    switch (baud) {
        case 50:
            return B50;
        case 75:
            return B75;
        case 110:
            return B110;
        case 134:
            return B134;
        case 150:
            return B150;
        case 200:
            return B200;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 1800:
            return B1800;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 500000:
            return B500000;
        case 576000:
            return B576000;
        case 921600:
            return B921600;
        case 1000000:
            return B1000000;
        case 1152000:
            return B1152000;
        case 1500000:
            return B1500000;
        case 2000000:
            return B2000000;
        case 2500000:
            return B2500000;
        case 3000000:
            return B3000000;
        case 3500000:
            return B3500000;
        case 4000000:
            return B4000000;
        default:
            return std::nullopt;
    }
}

tcflag_t dataBitsFlag(TByteSize size)
{
    switch (size) {
        case TByteSize::_5:
            return CS5;
        case TByteSize::_6:
            return CS6;
        case TByteSize::_7:
            return CS7;
        case TByteSize::_8:
            break;
    }
    return CS8;
}

tcflag_t parityFlags(TParity parity)
{
    switch (parity) {
        case TParity::Odd:
            return PARENB | PARODD;
        case TParity::Even:
            return PARENB;
        case TParity::Mark:
            return PARENB | CMSPAR | PARODD;
        case TParity::Space:
            return PARENB | CMSPAR;
        case TParity::None:
            break;
    }
    return 0;
}

// poll() with the stop signals first and the port last; the time-out is
// nanoseconds, or none when negative.
int waitFor(const StopSignals& stop, int fd, short events, std::chrono::nanoseconds timeout, pollfd* fds,
            int& count)
{
    count = stop.fill(fds);
    fds[count++] = pollfd{fd, events, 0};
    timespec ts{};
    const bool limited = timeout.count() >= 0;
    if (limited) {
        ts.tv_sec = static_cast<time_t>(timeout.count() / 1000000000);
        ts.tv_nsec = static_cast<long>(timeout.count() % 1000000000);
    }
    return ::ppoll(fds, count, limited ? &ts : nullptr, nullptr);
}

class PosixPort : public Port {
public:
    explicit PosixPort(int fd) : fd_(fd)
    {
        // What the line was before: put back on close, so that the port is
        // left to its next user as it was found.
        savedLine_ = ::tcgetattr(fd_, &line_) == 0;
        savedModem_ = ::ioctl(fd_, TIOCMGET, &modem_) == 0;
        serial_icounter_struct c{};
        lineEvents_ = ::ioctl(fd_, TIOCGICOUNT, &c) == 0;
        if (lineEvents_) {
            errorCounts_ = modemCounts_ = c;
            wakeSignal();
        }
    }
    ~PosixPort() override { close(); }

    // Linux has no per-port queue sizes: the line discipline keeps a fixed
    // 4096-byte input buffer and the driver its own transmit buffer.
    bool setQueueSizes(size_t, size_t) override { return true; }

    // The abort flags have no equivalent: pending reads and writes are ended
    // by the close event, which every wait of both threads includes.
    void purge(unsigned flags) override
    {
        const bool rx = flags & kPurgeRxClear;
        const bool tx = flags & kPurgeTxClear;
        if (rx || tx) {
            ::tcflush(fd_, rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH);
        }
    }

    // Without a Linux equivalent, and so not applied: DSR output flow
    // control, DTR handshake, DSR sensitivity, continuing after XOFF, the
    // XON/XOFF limits (the kernel picks its own thresholds), replacing bytes
    // with parity errors and discarding null bytes.
    void applyLineSettings(const LineSettings& s) override
    {
        termios t{};
        if (::tcgetattr(fd_, &t) != 0) {
            return;
        }
        const speed_t ispeed = ::cfgetispeed(&t);
        const speed_t ospeed = ::cfgetospeed(&t);
        // Binary mode: every flag is rebuilt, nothing of the previous state kept.
        t.c_iflag = (s.parityCheck ? INPCK : 0) | (s.outX ? IXON : 0) | (s.inX ? IXOFF : 0);
        t.c_oflag = 0;
        t.c_lflag = 0;
        // The carrier is reported as a modem event, never turned into a hang-up.
        t.c_cflag = CREAD | CLOCAL | HUPCL | dataBitsFlag(s.byteSize) | parityFlags(s.parity) |
                    (s.stopBits != TStopBits::_1 ? CSTOPB : 0) |
                    (s.outxCtsFlow || s.rts == TRtsControl::RtsHandshake ? CRTSCTS : 0);
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        t.c_cc[VSTART] = static_cast<cc_t>(s.xonChar);
        t.c_cc[VSTOP] = static_cast<cc_t>(s.xoffChar);
        // An unsupported rate leaves the line at the rate it had.
        const std::optional<speed_t> speed = speedFor(s.baudRate);
        ::cfsetispeed(&t, speed ? *speed : ispeed);
        ::cfsetospeed(&t, speed ? *speed : ospeed);
        ::tcsetattr(fd_, TCSANOW, &t);

        // A pseudo-terminal has no modem lines: these fail there, harmlessly.
        const int dtr = TIOCM_DTR;
        const int rts = TIOCM_RTS;
        ::ioctl(fd_, s.dtr == TDtrControl::DtrDisable ? TIOCMBIC : TIOCMBIS, &dtr);
        if (s.rts != TRtsControl::RtsHandshake) {
            ::ioctl(fd_, s.rts == TRtsControl::RtsEnable ? TIOCMBIS : TIOCMBIC, &rts);
        }
    }

    LowLatencyAnswer requestLowLatency() override { return request_low_latency(fd_); }

    void applyTimeouts(const Timeouts& t) override
    {
        std::lock_guard lock(timeoutsMutex_);
        timeouts_ = t;
    }

    ReadResult read(char* buffer, size_t capacity, const StopSignals& stop) override
    {
        const Timeouts t = currentTimeouts();
        using std::chrono::milliseconds;
        using std::chrono::nanoseconds;
        const nanoseconds none(-1);
        // An all-ones interval returns what has arrived once the first byte is there.
        const nanoseconds interval = t.readInterval == 0 ? none
                                     : t.readInterval == UINT32_MAX
                                         ? nanoseconds(0)
                                         : nanoseconds(milliseconds(t.readInterval));
        const bool totalLimit = t.readTotalMultiplier != 0 || t.readTotalConstant != 0;
        const milliseconds total(uint64_t(t.readTotalMultiplier) * capacity + t.readTotalConstant);
        Clock::time_point deadline = Clock::now() + total;

        size_t got = 0;
        for (;;) {
            const ssize_t n = ::read(fd_, buffer + got, capacity - got);
            if (n > 0) {
                got += static_cast<size_t>(n);
                if (got == capacity) {
                    break;
                }
                continue;
            }
            if (n == 0) {
                if (got > 0) {
                    break;
                }
                return {IoStatus::EndOfData};
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EAGAIN) {
                if (got > 0) {
                    break;  // deliver these; the next read meets the error again
                }
                return {errno == EBADF ? IoStatus::InvalidHandle : IoStatus::Failed};
            }

            nanoseconds timeout = got > 0 ? interval : none;
            if (totalLimit) {
                const nanoseconds left = std::max(nanoseconds(0), deadline - Clock::now());
                timeout = timeout < nanoseconds(0) ? left : std::min(timeout, left);
            }
            pollfd fds[StopSignals::kMaxFds + 1];
            int count = 0;
            const int r = waitFor(stop, fd_, POLLIN, timeout, fds, count);
            if (r < 0 && errno != EINTR) {
                return {IoStatus::Failed};
            }
            if (stop.isSet()) {
                return {IoStatus::Stopped};  // partial bytes go with the receive purge
            }
            if (fds[count - 1].revents & POLLNVAL) {
                return {IoStatus::InvalidHandle};
            }
            if (r == 0) {
                if (got > 0) {
                    break;
                }
                // A total time-out with no byte: simply wait again rather
                // than end reception on a quiet line.
                deadline = Clock::now() + total;
            }
        }
        return {IoStatus::Ok, got, lineEvents_ ? takeLineErrors() : 0};
    }

    // A write time-out would only end a write early, after which the rest of
    // the block is written anyway; so writes here wait until the driver takes
    // bytes.
    IoStatus write(const char* data, size_t length, size_t& written, const StopSignals& stop) override
    {
        for (;;) {
            const ssize_t n = ::write(fd_, data, length);
            if (n > 0) {
                written = static_cast<size_t>(n);
                return IoStatus::Ok;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && errno != EAGAIN) {
                return errno == EBADF ? IoStatus::InvalidHandle : IoStatus::Failed;
            }
            pollfd fds[StopSignals::kMaxFds + 1];
            int count = 0;
            const int r = waitFor(stop, fd_, POLLOUT, std::chrono::nanoseconds(-1), fds, count);
            if (r < 0 && errno != EINTR) {
                return IoStatus::Failed;
            }
            if (stop.isSet()) {
                return IoStatus::Stopped;
            }
            if (fds[count - 1].revents & POLLNVAL) {
                return IoStatus::InvalidHandle;
            }
        }
    }

    bool hasLineEvents() const override { return lineEvents_; }

    LineEventResult waitLineEvent(const StopSignals& stop) override
    {
        for (;;) {
            {
                std::lock_guard lock(waiterMutex_);
                waiting_ = true;
                waiter_ = ::pthread_self();
            }
            // Checked after registering, so interruptLineEventWait() either
            // finds the stop here or keeps signalling until the ioctl returns.
            int r = 0;
            int err = 0;
            if (!stop.isSet()) {
                r = ::ioctl(fd_, TIOCMIWAIT, TIOCM_CD | TIOCM_RNG);
                err = errno;
            }
            {
                std::lock_guard lock(waiterMutex_);
                waiting_ = false;
            }
            waiterDone_.notify_all();
            if (stop.isSet()) {
                return {IoStatus::Stopped};
            }
            if (r < 0 && err == EINTR) {
                continue;
            }
            if (r < 0) {
                return {err == EBADF ? IoStatus::InvalidHandle : IoStatus::Failed};
            }
            serial_icounter_struct c{};
            if (::ioctl(fd_, TIOCGICOUNT, &c) != 0) {
                return {IoStatus::Failed};
            }
            const uint32_t events = (c.dcd != modemCounts_.dcd ? kEventCarrier : 0) |
                                    (c.rng != modemCounts_.rng ? kEventRing : 0);
            modemCounts_ = c;
            if (events != 0) {
                return {IoStatus::Ok, events};
            }
        }
    }

    void interruptLineEventWait() override
    {
        std::unique_lock lock(waiterMutex_);
        while (waiting_) {
            ::pthread_kill(waiter_, wakeSignal());
            waiterDone_.wait_for(lock, std::chrono::milliseconds(1));
        }
    }

    void close() override
    {
        if (fd_ >= 0) {
            emergency_byte::release(fd_);
            restoreLine();
            ::ioctl(fd_, TIOCNXCL);
            ::close(fd_);  // also drops the advisory lock
            fd_ = -1;
        }
    }

    int descriptor() const override { return fd_; }

private:
    void restoreLine()
    {
        termios now{};
        const bool known = ::tcgetattr(fd_, &now) == 0;
        if (savedLine_) {
            // The bytes still on their way leave at the rate they were sent
            // with, unless a flow control could hold them up for ever.
            const bool mayStall = !known || (now.c_cflag & CRTSCTS) || (now.c_iflag & IXON);
            ::tcsetattr(fd_, mayStall ? TCSANOW : TCSADRAIN, &line_);
        }
        // With HUPCL the close drops DTR and RTS anyway, and raising them
        // again for that moment would reset many boards; without it the
        // lines stay as the close leaves them, so they get their old state.
        if (savedModem_ && savedLine_ && !(line_.c_cflag & HUPCL)) {
            for (const int bit : {TIOCM_DTR, TIOCM_RTS})
                ::ioctl(fd_, (modem_ & bit) ? TIOCMBIS : TIOCMBIC, &bit);
        }
    }

    Timeouts currentTimeouts()
    {
        std::lock_guard lock(timeoutsMutex_);
        return timeouts_;
    }

    // The error counters that moved since the last look, as OnReceiveError flags.
    uint32_t takeLineErrors()
    {
        serial_icounter_struct c{};
        if (::ioctl(fd_, TIOCGICOUNT, &c) != 0) {
            return 0;
        }
        const serial_icounter_struct& p = errorCounts_;
        const uint32_t flags =
            (c.buf_overrun != p.buf_overrun ? kLineErrorRxOver : 0) |
            (c.overrun != p.overrun ? kLineErrorOverrun : 0) | (c.parity != p.parity ? kLineErrorParity : 0) |
            (c.frame != p.frame ? kLineErrorFrame : 0) | (c.brk != p.brk ? kLineErrorBreak : 0);
        errorCounts_ = c;
        return flags;
    }

    int fd_;
    termios line_{};
    bool savedLine_ = false;
    int modem_ = 0;
    bool savedModem_ = false;
    bool lineEvents_ = false;
    serial_icounter_struct errorCounts_{};  // receive thread only
    serial_icounter_struct modemCounts_{};  // line-event wait only
    std::mutex timeoutsMutex_;
    Timeouts timeouts_;
    std::mutex waiterMutex_;
    std::condition_variable waiterDone_;
    bool waiting_ = false;
    pthread_t waiter_{};
};

}  // namespace

OpenStatus PosixPortLayer::open(const std::string& path, std::shared_ptr<Port>& port, int& systemError)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        systemError = errno;
        return OpenStatus::OpenFailed;
    }
    if (!::isatty(fd)) {
        systemError = errno;
        ::close(fd);
        return OpenStatus::NotATerminal;
    }
    // A port another program has open is left as it is: our settings would
    // replace its own, and our bytes would reach its device. An open alone
    // changes nothing on a terminal that is open already, nor does its close.
    const QString name = QString::fromLocal8Bit(path.c_str());
    if (const QString held = held_by_text(port_holders(name)); !held.isEmpty()) {
        trace_event(QStringLiteral("open %1 passed over: %2").arg(name, held));
        ::close(fd);
        systemError = EBUSY;
        return OpenStatus::OpenFailed;
    }
    // The lock keeps out other instances even where TIOCEXCL does not (root
    // ignores it); TIOCEXCL keeps out other programs. The lock comes first so
    // that a refused open never clears the owner's TIOCEXCL.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // A held lock means another program has the port: say busy, as an
        // open refused by TIOCEXCL does, rather than "try again".
        systemError = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return OpenStatus::OpenFailed;
    }
    ::ioctl(fd, TIOCEXCL);
    port = std::make_shared<PosixPort>(fd);
    return OpenStatus::Ok;
}
