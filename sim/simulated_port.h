#pragma once

#include <cstddef>
#include <cstdint>

#include "link/serial_port.h"
#include "platform/clock.h"
#include "sim/simulated_register.h"

namespace lorvex::sim {

// A line switch on the control lines: each rising edge of RTS while DTR is low steps to the next
// channel, and the modem status lines show the channel number.
struct LineSwitch {
    int channels = 0;  // 0: no switch; the modem lines read 0
    int current = 1;
};

// A SerialPort wired to a simulated register on a virtual clock. Writes take their line time on
// the clock and reach the register; reads hand out the register's bytes that are due by now;
// waiting moves the clock to the next byte (or by the whole time-out). Nothing here sleeps.
class SimulatedPort final : public SerialPort {
  public:
    SimulatedPort(SimulatedRegister& reg, VirtualClock& clock, LineSwitch lineSwitch = {});
    // Closing the port drops the line: what the register still had on its way is lost, and the
    // next port opened on it starts clean.
    ~SimulatedPort() override { reg_.lineClosed(); }
    SimulatedPort(const SimulatedPort&) = delete;
    SimulatedPort& operator=(const SimulatedPort&) = delete;

    bool writeBytes(const std::uint8_t* data, std::size_t count) override;
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override;
    WaitResult waitReadable(std::uint32_t timeoutMs) override;
    void flushOutput() override {}
    void setDtr(int on) override;
    void setRts(int on) override;
    int readModemLines() override;

    // Both directions of the line, with their times (kept by the register).
    const Transcript& transcript() const { return reg_.transcript(); }
    bool unplugged() const { return unplugged_; }
    bool dtr() const { return dtr_; }
    bool rts() const { return rts_; }
    const LineSwitch& lineSwitch() const { return lineSwitch_; }

  private:
    // The port's time in microseconds: the clock's, or finer while the port itself moved it.
    std::uint64_t now();
    void moveTo(std::uint64_t us);
    bool pulledOutBy(std::uint8_t byte);

    SimulatedRegister& reg_;
    VirtualClock& clock_;
    std::uint64_t nowUs_ = 0;
    std::uint64_t clockMsSeen_ = 0;
    std::uint64_t bytesWritten_ = 0;
    int enquiriesWritten_ = 0;
    bool unplugged_ = false;
    bool dtr_ = false;
    bool rts_ = false;
    LineSwitch lineSwitch_;
};

}  // namespace lorvex::sim
