#pragma once

#include "sim/sim_options.h"

namespace lorvex::sim {

// Runs lorvex-sim: the register on a pseudo-terminal until SIGINT or SIGTERM. Returns the exit
// code: 0 after a clean stop, 1 when the pty or the link cannot be made, 2 when the state file
// cannot be read.
int runServer(const SimOptions& options);

}  // namespace lorvex::sim
