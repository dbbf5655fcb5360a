#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"
#include "platform/console.h"

namespace lorvex {

// Opens the serial device at `path` with this platform's interface (posix/ or win32/), configured
// for the register and held exclusively. Null when it cannot be opened or configured, with the
// system's reason and a hint in `failure` (its device is left to the caller).
std::unique_ptr<SerialPort> openDevicePort(const std::string& path, bool baud19200,
                                           Console& console, int traceLevel, PortFailure& failure);

// Which serial devices this system has, as a hint for a port that names none.
std::string serialDevicesHint();

}  // namespace lorvex
