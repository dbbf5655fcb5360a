#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lorvex {

enum class WaitResult {
    Ready,     // bytes are waiting
    TimedOut,  // nothing arrived within the time
    Failed,    // the device failed (an adapter pulled out, the other end of a pty gone)
};

// Why a port could not be opened, for the user: the device as the system was asked for it (or
// the /P value when it names no device), the operating system's reason, and a hint where one helps.
struct PortFailure {
    std::string device;
    std::string reason;
    std::string hint;
};

// The one serial port of a run. Implementations: POSIX termios, Win32 comm API, and the
// simulated port wired to the register model for tests.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Writes the bytes and returns once they have left (or another line event happened).
    // False when the device refused the write.
    virtual bool writeBytes(const std::uint8_t* data, std::size_t count) = 0;
    // Reads at most `most` of the bytes already waiting; never blocks. 0 when nothing is waiting
    // or the device failed.
    virtual std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) = 0;
    // Sleeps in the OS until a byte is waiting or the time is up; returns as soon as one arrives.
    virtual WaitResult waitReadable(std::uint32_t timeoutMs) = 0;
    // Like waitReadable, for a caller that can do nothing before `count` bytes have come (the
    // rest of a frame): a device may sleep through their line time instead of waking for each.
    // Ready when any byte is waiting at the end.
    virtual WaitResult waitForBytes(std::size_t count, std::uint32_t timeoutMs) {
        (void)count;
        return waitReadable(timeoutMs);
    }
    // Returns once everything queued for sending has been transmitted.
    virtual void flushOutput() = 0;

    // Control lines: only the low byte of `on` counts (nonzero raises, zero drops).
    virtual void setDtr(int on) = 0;
    virtual void setRts(int on) = 0;
    // CTS 1, DSR 2, RING 4, carrier detect 8; 0 when the device cannot tell.
    virtual int readModemLines() = 0;

    // Clears line errors; keeps the thread's message queue empty on Windows. No-ops elsewhere.
    virtual void clearLineErrors() {}
    virtual void drainMessages() {}
};

}  // namespace lorvex
