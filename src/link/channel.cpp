#include "link/channel.h"

#include <algorithm>

#include "text/format.h"

namespace lorvex {

namespace {

constexpr std::uint32_t kPumpStepMs = 10;
constexpr std::uint32_t kQuietBeforePulsesMs = 500;
constexpr std::uint32_t kPulseMs = 1;
constexpr std::uint32_t kSettleMs = 50;
constexpr int kMostPulses = 29;

int readLines(SerialPort& port, Console& console, int traceLevel) {
    const int lines = port.readModemLines();
    if (traceLevel >= 3) console.print(format("%d\n", lines), TextEncoding::Ascii);
    return lines;
}

}  // namespace

void waitPumping(SerialPort& port, Clock& clock, std::uint32_t ms) {
    const std::uint64_t start = clock.nowMs();
    for (;;) {
        port.drainMessages();
        port.clearLineErrors();
        const std::uint64_t now = clock.nowMs();
        const std::uint64_t elapsed = now > start ? now - start : 0;
        if (elapsed >= ms) return;
        clock.sleepMs(
            static_cast<std::uint32_t>(std::min<std::uint64_t>(ms - elapsed, kPumpStepMs)));
    }
}

int selectChannel(SerialPort& port, Clock& clock, Console& console, int traceLevel, int channel) {
    // The first reading is taken before both lines drop.
    int lines = readLines(port, console, traceLevel);
    port.setDtr(0);
    port.setRts(0);
    waitPumping(port, clock, kQuietBeforePulsesMs);
    for (int pulse = 0; pulse < kMostPulses && lines != channel; ++pulse) {
        port.setDtr(0);
        port.setRts(1);
        waitPumping(port, clock, kPulseMs);
        port.setRts(0);
        port.setDtr(1);
        waitPumping(port, clock, kSettleMs);
        lines = readLines(port, console, traceLevel);
    }
    port.setRts(1);
    port.setDtr(1);
    return 0;
}

}  // namespace lorvex
