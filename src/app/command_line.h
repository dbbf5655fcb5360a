#pragma once

#include <string>
#include <vector>

#include "core/settings.h"

namespace lorvex {

// All arguments after the program name, joined in order with no separator.
std::string joinArguments(const std::vector<std::string>& args);

// Reads the options out of the joined command line. Never fails and prints nothing: keys it does
// not know are ignored, bad numbers read as 0, a missing job letter selects the banner.
Settings parseCommandLine(std::string commandString);

// The arguments as one command line, where "--help" or "-h" selects the help screen and
// "--version" the version line, as other programs take them.
Settings parseArguments(const std::vector<std::string>& args);

}  // namespace lorvex
