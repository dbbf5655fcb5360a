#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/settings.h"
#include "link/serial_port.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace lorvex {

// What one run of the program talks to. The program itself passes the real console, clock and
// serial ports; tests pass a capturing console, the virtual clock and the simulated register.
struct Environment {
    Console& console;
    Clock& clock;
    // Opens the port the settings name; null, with the failure described, when it cannot be opened.
    std::function<std::unique_ptr<SerialPort>(const Settings&, PortFailure&)> openPort;
    // Where error.orv is written and relative /F names are found.
    std::filesystem::path workDir;
};

// One whole run: the arguments after the program name in, the exit code (0, 1 or 2) out.
int runProgram(const std::vector<std::string>& args, Environment& env);

}  // namespace lorvex
