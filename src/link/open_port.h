#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "link/serial_port.h"
#include "platform/console.h"

namespace lorvex {

// Which device a /P value names. POSIX: "1".."12" open an entry COM<n> (any letter case) in the
// working directory when there is one, else /dev/ttyS<n-1>; a value that does not start with a
// digit, blank or sign names a device in /dev, matched without regard to case. Windows:
// \\.\COM<n>. Empty when the value names no port (0, 13, ...).
std::string resolvePortPath(const std::string& portValue, int portNumber,
                            const std::filesystem::path& workDir);

// Opens and configures the port (8N1, 9600 or 19200 baud, no flow control, raw, exclusive),
// raises RTS and DTR. Null when it cannot be opened, with `failure` saying why. Traces
// "err timeout" / "err mask" at trace level 3 or more where those steps fail.
std::unique_ptr<SerialPort> openSerialPort(const std::string& portValue, int portNumber,
                                           bool baud19200, const std::filesystem::path& workDir,
                                           Console& console, int traceLevel, PortFailure& failure);

}  // namespace lorvex
