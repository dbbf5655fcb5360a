#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sim/faults.h"

namespace lorvex::sim {

// What the lorvex-sim command line asks for.
struct SimOptions {
    int port = 1;           // the link is COM<port> in the current directory...
    std::string linkPath;   // ...unless a path is given
    int tcpPort = -1;       // or a TCP port of 127.0.0.1 (0: one the system picks)
    std::string stateFile;  // keeps the register's memory across restarts
    std::string logFile;    // a readable transcript of the line
    int baud = 9600;
    bool lineTime = false;        // each byte takes 10 bit times at the baud rate
    bool empty = false;           // start with a register as it comes from the factory
    std::size_t pluCapacity = 0;  // 0: the register's own
    FaultPlan faults;
    bool help = false;

    // Where the link goes: the path given, else COM<port>.
    std::string linkName() const;
};

// Reads the arguments after the program name. Nothing (and a message) when they are wrong.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error);

std::string simHelpText();

}  // namespace lorvex::sim
