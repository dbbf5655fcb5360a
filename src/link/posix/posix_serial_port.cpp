#include "link/posix/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/serial.h>
#include <sys/prctl.h>
#include <sys/sysmacros.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <thread>

#include "link/device_port.h"
#include "link/posix/open_failure.h"

namespace lorvex {

namespace {

// A write is bounded like the register's line allows: 10 ms a byte and a second more.
constexpr std::uint32_t kWriteMsPerByte = 10;
constexpr std::uint32_t kWriteBaseMs = 1000;
constexpr int kOutputPollMs = 10;
constexpr int kMostInterruptions = 100;
// Start bit, eight data bits, stop bit.
constexpr long kBitsPerByte = 10;
// Between two looks at the UART's transmitter the line moves on by this share of a byte.
constexpr int kTransmitterChecksPerByte = 8;
// Timers may fire this late (the default allows 50 us, a twentieth of a byte at 9600 baud).
constexpr unsigned long kTimerSlackNs = 1000;

using SteadyClock = std::chrono::steady_clock;

void makeRaw(termios& tio, bool baud19200) {
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = baud19200 ? B19200 : B9600;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
}

// What kind of line a device is, by its major number where the system tells.
PosixSerialPort::LineKind lineKindOf(const struct stat& info) {
#ifdef __linux__
    // Unix98 pty slaves have majors 136 to 143; the legacy BSD-style slaves major 3.
    const unsigned int deviceMajor = major(info.st_rdev);
    const bool pseudo = (deviceMajor >= 136 && deviceMajor <= 143) || deviceMajor == 3;
    return pseudo ? PosixSerialPort::LineKind::Pseudo : PosixSerialPort::LineKind::Serial;
#else
    (void)info;
    return PosixSerialPort::LineKind::Unknown;
#endif
}

}  // namespace

std::unique_ptr<PosixSerialPort> PosixSerialPort::open(const std::string& path, bool baud19200,
                                                       PortFailure& failure) {
    // Why the step failed, told once the descriptor is closed again.
    std::unique_ptr<PosixSerialPort> port;
    const auto fail = [&](int error) {
        port.reset();
        explainOpenFailure(path, error, failure);
        return nullptr;
    };
    // Only a character device is opened at all: a regular file or a disk is never touched.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return fail(errno);
    if (!S_ISCHR(info.st_mode)) return fail(ENOTTY);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    port.reset(new PosixSerialPort(fd, baud19200));
    port->lineKind_ = lineKindOf(info);
#ifdef TIOCSERGETLSR
    unsigned int lineStatus = 0;
    port->transmitterStatus_ = ::ioctl(fd, TIOCSERGETLSR, &lineStatus) == 0;
#endif
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return fail(errno);
    // Another program holding the port gets no mixed bytes: the lock is taken or the open fails.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno);
    if (::ioctl(fd, TIOCEXCL) != 0) return fail(errno);
    port->exclusive_ = true;
    makeRaw(tio, baud19200);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return fail(errno);
    // Like a freshly opened port: nothing left over from before the run.
    ::tcflush(fd, TCIFLUSH);
    port->setLowLatency(true);
    port->setRts(1);
    port->setDtr(1);
#ifdef __linux__
    // Every byte is drained before the next one goes: the waits must end on time.
    if (port->lineKind_ == LineKind::Serial) ::prctl(PR_SET_TIMERSLACK, kTimerSlackNs, 0, 0, 0);
#endif
    return port;
}

PosixSerialPort::PosixSerialPort(int fd, bool baud19200)
    : fd_(fd),
      byteTime_((kBitsPerByte * 1000000 + (baud19200 ? 19200 : 9600) - 1) /
                (baud19200 ? 19200 : 9600)) {}

PosixSerialPort::~PosixSerialPort() {
    if (lowLatencySet_) setLowLatency(false);
    // The exclusive flag belongs to the terminal: only the port that set it clears it, never one
    // that failed to get the lock from another program.
    if (exclusive_) ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
}

bool PosixSerialPort::writeBytes(const std::uint8_t* data, std::size_t count) {
    const std::uint32_t limitMs =
        kWriteBaseMs +
        kWriteMsPerByte * static_cast<std::uint32_t>(std::min<std::size_t>(count, 100000));
    std::uint32_t waitedMs = 0;
    std::size_t done = 0;
    drained_ = false;
    while (done < count) {
        const ssize_t written = ::write(fd_, data + done, count - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            lineFreeAt_ = std::max(lineFreeAt_, SteadyClock::now()) + byteTime_ * written;
            continue;
        }
        if (written < 0 && errno == EINTR) {
            ++waitedMs;
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The output queue is full: wait for room, within the write's time.
            pollfd room{fd_, POLLOUT, 0};
            const int ready = ::poll(&room, 1, kOutputPollMs);
            if (ready < 0 && errno != EINTR) return false;
            if (ready > 0 && (room.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
            waitedMs += kOutputPollMs;
        } else {
            // EIO, ENXIO: the device is gone.
            return false;
        }
        if (waitedMs >= limitMs) return false;
    }
    return drainOutput(limitMs);
}

bool PosixSerialPort::drainOutput(std::uint32_t limitMs) {
    // Every byte is followed by a drain and preceded by another: only the first has work.
    if (drained_) return true;
    // A pseudo-terminal has no line: what was written is with the other side already.
    if (lineKind_ == LineKind::Pseudo) {
        drained_ = true;
        return true;
    }
    const Instant deadline = SteadyClock::now() + std::chrono::milliseconds(limitMs);
    // Bytes still in the driver's queue leave at the line's pace: sleep for them rather than
    // poll. A stuck adapter keeps them queued until the deadline, so tcdrain below never waits
    // on it without a bound.
    for (;;) {
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0) break;
        const Instant now = SteadyClock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_until(std::min(deadline, now + byteTime_ * queued));
    }
    if (lineKind_ == LineKind::Serial) {
        // While the UART still sends, the kernel's drain sleeps in whole timer ticks: 1 to 8 ms,
        // several bytes at 9600 baud, for every single byte. The bytes' own line time is
        // waited out here instead, and then the UART is asked directly where it can tell.
        std::this_thread::sleep_until(std::min(deadline, lineFreeAt_));
        bool empty = false;
        if (awaitTransmitterEmpty(deadline, empty)) {
            drained_ = empty;
            return empty;
        }
    }
    for (int attempt = 0; attempt < kMostInterruptions; ++attempt) {
        if (::tcdrain(fd_) == 0) {
            drained_ = true;
            return true;
        }
        if (errno != EINTR) return false;
    }
    return false;
}

bool PosixSerialPort::awaitTransmitterEmpty(Instant deadline, bool& empty) {
#ifdef TIOCSERGETLSR
    while (transmitterStatus_) {
        unsigned int lineStatus = 0;
        if (::ioctl(fd_, TIOCSERGETLSR, &lineStatus) != 0) {
            transmitterStatus_ = false;
            break;
        }
        empty = (lineStatus & TIOCSER_TEMT) != 0;
        const Instant now = SteadyClock::now();
        if (empty || now >= deadline) return true;
        std::this_thread::sleep_until(
            std::min(deadline, now + byteTime_ / kTransmitterChecksPerByte));
    }
#else
    (void)deadline;
    (void)empty;
#endif
    return false;
}

void PosixSerialPort::flushOutput() {
    drainOutput(kWriteBaseMs);
}

std::size_t PosixSerialPort::readAvailable(std::uint8_t* buffer, std::size_t most) {
    if (buffer == nullptr || most == 0) return 0;
    for (int attempt = 0; attempt < kMostInterruptions; ++attempt) {
        const ssize_t got = ::read(fd_, buffer, most);
        if (got > 0) return static_cast<std::size_t>(got);
        if (got < 0 && errno == EINTR) continue;
        // EAGAIN: nothing waiting. EIO: the device failed; waitReadable reports that.
        return 0;
    }
    return 0;
}

WaitResult PosixSerialPort::waitReadable(std::uint32_t timeoutMs) {
    const int timeout = static_cast<int>(std::min<std::uint32_t>(timeoutMs, INT_MAX));
    for (int attempt = 0; attempt < kMostInterruptions; ++attempt) {
        pollfd input{fd_, POLLIN, 0};
        const int ready = ::poll(&input, 1, timeout);
        if (ready == 0) return WaitResult::TimedOut;
        if (ready < 0) {
            if (errno == EINTR) continue;
            return WaitResult::Failed;
        }
        if ((input.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            // Bytes that came before the device failed are still handed out.
            int waiting = 0;
            if (::ioctl(fd_, FIONREAD, &waiting) == 0 && waiting > 0) return WaitResult::Ready;
            return WaitResult::Failed;
        }
        if ((input.revents & POLLIN) != 0) return WaitResult::Ready;
    }
    return WaitResult::TimedOut;
}

WaitResult PosixSerialPort::waitForBytes(std::size_t count, std::uint32_t timeoutMs) {
    int waiting = 0;
    if (count <= 1 || timeoutMs == 0 || ::ioctl(fd_, FIONREAD, &waiting) != 0) {
        return waitReadable(timeoutMs);
    }
    const auto have = static_cast<std::size_t>(std::max(waiting, 0));
    if (have + 1 < count) {
        // The bytes still to come take their line time anyway: sleep through all but the last
        // of them in one piece rather than waking for each, then wait for the last as usual,
        // so the caller is not woken later than the last one arrives.
        const auto nap = std::min<std::chrono::microseconds>(
            byteTime_ * static_cast<long>(count - 1 - have), std::chrono::milliseconds(timeoutMs));
        const Instant start = SteadyClock::now();
        std::this_thread::sleep_until(start + nap);
        const auto slept =
            std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start);
        const auto sleptMs = static_cast<std::uint32_t>(
            std::clamp<long long>(slept.count(), 0, static_cast<long long>(timeoutMs)));
        return waitReadable(timeoutMs - sleptMs);
    }
    return waitReadable(timeoutMs);
}

void PosixSerialPort::setLowLatency(bool on) {
#if defined(__linux__) && defined(ASYNC_LOW_LATENCY)
    // A USB adapter otherwise holds received bytes for its latency timer (16 ms by default);
    // drivers without the flag refuse, and the port works as it is.
    serial_struct serial{};
    if (::ioctl(fd_, TIOCGSERIAL, &serial) != 0) return;
    if (((serial.flags & ASYNC_LOW_LATENCY) != 0) == on) return;
    serial.flags = on ? serial.flags | ASYNC_LOW_LATENCY : serial.flags & ~ASYNC_LOW_LATENCY;
    if (::ioctl(fd_, TIOCSSERIAL, &serial) == 0) lowLatencySet_ = on;
#else
    (void)on;
#endif
}

void PosixSerialPort::setLine(int line, int on) {
    int bits = line;
    // Devices without control lines (a pty) refuse; the line simply stays as it is.
    ::ioctl(fd_, (on & 0xFF) != 0 ? TIOCMBIS : TIOCMBIC, &bits);
}

void PosixSerialPort::setDtr(int on) {
    setLine(TIOCM_DTR, on);
}

void PosixSerialPort::setRts(int on) {
    setLine(TIOCM_RTS, on);
}

int PosixSerialPort::readModemLines() {
    int status = 0;
    if (::ioctl(fd_, TIOCMGET, &status) != 0) return 0;
    int lines = 0;
    if ((status & TIOCM_CTS) != 0) lines |= 1;
    if ((status & TIOCM_DSR) != 0) lines |= 2;
    if ((status & TIOCM_RNG) != 0) lines |= 4;
    if ((status & TIOCM_CAR) != 0) lines |= 8;
    return lines;
}

std::unique_ptr<SerialPort> openDevicePort(const std::string& path, bool baud19200, Console&, int,
                                           PortFailure& failure) {
    return PosixSerialPort::open(path, baud19200, failure);
}

}  // namespace lorvex
