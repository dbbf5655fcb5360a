#pragma once

#include <cstdint>

#include "link/serial_port.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace lorvex {

// Waits `ms` on the clock while keeping the thread's message queue empty and the line errors
// cleared. Sleeps in short steps: it never spins.
void waitPumping(SerialPort& port, Clock& clock, std::uint32_t ms);

// Steps the line switch (/K) to the wanted channel: pulses on RTS and DTR until the modem lines
// read the channel number, at most 29 pulses; both lines are left raised. Each reading of the
// lines is traced as "%d\n" at trace level 3 or more. Always 0.
int selectChannel(SerialPort& port, Clock& clock, Console& console, int traceLevel, int channel);

}  // namespace lorvex
