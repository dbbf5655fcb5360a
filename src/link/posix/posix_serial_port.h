#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"

namespace lorvex {

// A serial device through termios: raw 8N1, no flow control, held exclusively, never blocking.
class PosixSerialPort final : public SerialPort {
  public:
    // Null when the path is not a terminal device, is held by another program, or cannot be set
    // to the line format.
    static std::unique_ptr<PosixSerialPort> open(const std::string& path, bool baud19200);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool writeBytes(const std::uint8_t* data, std::size_t count) override;
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override;
    WaitResult waitReadable(std::uint32_t timeoutMs) override;
    void flushOutput() override;
    void setDtr(int on) override;
    void setRts(int on) override;
    int readModemLines() override;

  private:
    explicit PosixSerialPort(int fd) : fd_(fd) {}
    // Waits until the device has sent what was queued, at most `limitMs`.
    bool drainOutput(std::uint32_t limitMs);
    void setLine(int line, int on);

    int fd_;
};

}  // namespace lorvex
