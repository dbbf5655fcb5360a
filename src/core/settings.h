#pragma once

#include <optional>
#include <string>

#include "text/charset.h"

namespace lorvex {

enum class Direction { Dump = 0, Load = 1 };

// Everything the command line decides, parsed once before any file or port is opened and
// read-only for the rest of the run.
struct Settings {
    // RunOptions
    int port = 1;           // /P as a number (COM1..COM12)
    std::string portValue;  // /P as given (upper-cased), for device names such as TTYUSB0
    std::string fileName = "std.dat";  // /F (upper-cased like the whole command line)
    Direction direction = Direction::Dump;
    int recordAction = 1;      // /U1 gives 0 (erase), else 1 (store)
    int reportMode = 0;        // /R gives 2 (read and zero the counters)
    bool baud19200 = false;    // /B
    char commandLetter = '?';  // /C, /?, /H or --help ('h'), /V ('v'), --version ('n')
    // /J: where the run's result goes as JSON (upper-cased like /F); none without /J.
    std::optional<std::string> resultFileName;

    // Process-wide settings
    int traceLevel = 0;                              // /Q
    CharsetMode charsetMode = CharsetMode::Mazovia;  // /S
    // /S4: the exchange file and error.orv in UTF-8. Inside the run the text is then code page 852
    // (charsetMode Latin), converted only where it meets those two files.
    bool utf8Files = false;
    bool solvekFamily = false;      // /W
    bool skipHourlyReport = false;  // /E
    bool largePluNumbers = false;   // /M
    bool skipEanCheck = false;      // /A
    int channel = 0;                // /K
};

}  // namespace lorvex
