#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"

namespace lorvex::test {

// A raw tty (the simulator's pty behind COM1) as a SerialPort, for the scripted PC of the
// end-to-end tests; independent of the program's own port. POSIX only: null elsewhere, and when
// the device cannot be opened (with the reason in `error`).
std::unique_ptr<SerialPort> openTtyForTest(const std::string& path, std::string& error);

}  // namespace lorvex::test
