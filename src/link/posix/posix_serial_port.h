#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "link/serial_port.h"

namespace lorvex {

// A serial device through termios: raw 8N1, no flow control, held exclusively, never blocking.
class PosixSerialPort final : public SerialPort {
  public:
    // A serial device, a pseudo-terminal (no line: nothing to wait for after a write), or a
    // device of a system that does not tell which.
    enum class LineKind { Serial, Pseudo, Unknown };

    // Null when the path is not a terminal device, is held by another program, or cannot be set
    // to the line format, with `failure` telling why.
    static std::unique_ptr<PosixSerialPort> open(const std::string& path, bool baud19200,
                                                 PortFailure& failure);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool writeBytes(const std::uint8_t* data, std::size_t count) override;
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override;
    WaitResult waitReadable(std::uint32_t timeoutMs) override;
    WaitResult waitForBytes(std::size_t count, std::uint32_t timeoutMs) override;
    void flushOutput() override;
    void setDtr(int on) override;
    void setRts(int on) override;
    int readModemLines() override;

  private:
    using Instant = std::chrono::steady_clock::time_point;

    PosixSerialPort(int fd, bool baud19200);
    // Waits until the device has sent what was queued, at most `limitMs`.
    bool drainOutput(std::uint32_t limitMs);
    // Waits on the UART's own transmitter-empty flag; false when the driver cannot tell.
    bool awaitTransmitterEmpty(Instant deadline, bool& empty);
    void setLine(int line, int on);
    // Asks the driver for low-latency mode (on at open where it was off, off again at close).
    void setLowLatency(bool on);

    int fd_;
    // This port set the terminal's exclusive flag (TIOCEXCL).
    bool exclusive_ = false;
    // Ten bit times at the line speed.
    std::chrono::microseconds byteTime_;
    LineKind lineKind_ = LineKind::Unknown;
    // The driver reports the UART's transmitter-empty flag (TIOCSERGETLSR).
    bool transmitterStatus_ = false;
    // Nothing has been written since the output last drained: a drain has nothing to wait for.
    bool drained_ = true;
    // The earliest moment the bytes written so far can all have left.
    Instant lineFreeAt_{};
    // The open switched the driver's low-latency mode on: the close switches it off.
    bool lowLatencySet_ = false;
};

}  // namespace lorvex
