#include "sim/simulated_port.h"

#include "link/frame.h"

namespace lorvex::sim {

SimulatedPort::SimulatedPort(SimulatedRegister& reg, VirtualClock& clock, LineSwitch lineSwitch)
    : reg_(reg), clock_(clock), lineSwitch_(lineSwitch) {
    clockMsSeen_ = clock_.nowMs();
    nowUs_ = clockMsSeen_ * 1000;
}

std::uint64_t SimulatedPort::now() {
    const std::uint64_t ms = clock_.nowMs();
    if (ms != clockMsSeen_) {
        // Someone else moved the clock (a sleep): the port's finer time catches up.
        clockMsSeen_ = ms;
        if (ms * 1000 > nowUs_) nowUs_ = ms * 1000;
    }
    return nowUs_;
}

void SimulatedPort::moveTo(std::uint64_t us) {
    if (us > nowUs_) nowUs_ = us;
    clock_.advanceTo((nowUs_ + 999) / 1000);
    clockMsSeen_ = clock_.nowMs();
}

bool SimulatedPort::pulledOutBy(std::uint8_t byte) {
    const FaultPlan& faults = reg_.faults();
    if (faults.unplugAfterBytes && bytesWritten_ >= *faults.unplugAfterBytes) return true;
    if (byte == ENQ && faults.unplugAtTransaction > 0 &&
        enquiriesWritten_ + 1 >= faults.unplugAtTransaction) {
        return true;
    }
    return false;
}

bool SimulatedPort::writeBytes(const std::uint8_t* data, std::size_t count) {
    if (unplugged_) return false;
    const std::uint64_t start = now();
    for (std::size_t i = 0; i < count; ++i) {
        if (pulledOutBy(data[i])) {
            unplugged_ = true;
            // The bytes before the failure went out.
            moveTo(reg_.fromPc(data, i, start));
            reg_.advanceTo(nowUs_);
            return false;
        }
        ++bytesWritten_;
        if (data[i] == ENQ) ++enquiriesWritten_;
    }
    moveTo(reg_.fromPc(data, count, start));
    reg_.advanceTo(nowUs_);
    return true;
}

std::size_t SimulatedPort::readAvailable(std::uint8_t* buffer, std::size_t most) {
    if (unplugged_ || buffer == nullptr) return 0;
    const std::uint64_t at = now();
    reg_.advanceTo(at);
    return reg_.toPc(at, buffer, most);
}

WaitResult SimulatedPort::waitReadable(std::uint32_t timeoutMs) {
    if (unplugged_) return WaitResult::Failed;
    const std::uint64_t target = now() + static_cast<std::uint64_t>(timeoutMs) * 1000;
    for (;;) {
        reg_.advanceTo(nowUs_);
        if (reg_.outputDue(nowUs_)) return WaitResult::Ready;
        const std::optional<std::uint64_t> next = reg_.nextEventUs();
        if (!next || *next > target) {
            moveTo(target);
            return WaitResult::TimedOut;
        }
        moveTo(*next);
    }
}

void SimulatedPort::setDtr(int on) {
    dtr_ = (on & 0xFF) != 0;
}

void SimulatedPort::setRts(int on) {
    const bool raised = (on & 0xFF) != 0;
    if (raised && !rts_ && !dtr_ && lineSwitch_.channels > 0) {
        lineSwitch_.current = lineSwitch_.current % lineSwitch_.channels + 1;
    }
    rts_ = raised;
}

int SimulatedPort::readModemLines() {
    if (unplugged_ || lineSwitch_.channels <= 0) return 0;
    return lineSwitch_.current & 0x0F;
}

}  // namespace lorvex::sim
