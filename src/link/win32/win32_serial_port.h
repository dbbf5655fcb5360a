#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>

#include <memory>
#include <string>

#include "link/serial_port.h"
#include "platform/console.h"

namespace lorvex {

// A COM port through the Win32 communications interface, used synchronously from one thread.
class Win32SerialPort final : public SerialPort {
  public:
    // Null when the port cannot be opened, with `failure` telling why; the line settings are
    // applied as far as the driver takes them ("err timeout" / "err mask" traced at level 3).
    static std::unique_ptr<Win32SerialPort> open(const std::string& path, bool baud19200,
                                                 Console& console, int traceLevel,
                                                 PortFailure& failure);
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool writeBytes(const std::uint8_t* data, std::size_t count) override;
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override;
    WaitResult waitReadable(std::uint32_t timeoutMs) override;
    void flushOutput() override;
    void setDtr(int on) override;
    void setRts(int on) override;
    int readModemLines() override;
    void clearLineErrors() override;
    void drainMessages() override;

  private:
    explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}
    void configure(bool baud19200, Console& console, int traceLevel);

    // Makes a read wait up to `ms` for its first byte (0: return at once).
    bool setFirstByteWait(DWORD ms);

    HANDLE handle_;
    // The event word of the waits that follow each write; its value is never looked at.
    DWORD eventWord_ = 0;
    // The first-byte wait the read time-outs now hold; MAXDWORD when not known.
    DWORD firstByteWaitMs_ = MAXDWORD;
    // A byte a wait has already taken from the line, handed out first by the next read.
    int heldByte_ = -1;
};

}  // namespace lorvex
