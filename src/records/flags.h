#pragma once

#include <array>
#include <string_view>

#include "core/run.h"
#include "records/record_exchange.h"

namespace lorvex {

// Direction 0 reads the flags from the register into `values` and writes the "FLG" ("FLS") line;
// 1 sends `values`, kBadFileData without sending when one lies outside 0..255; any other direction
// does nothing and gives 0.
StatusCode transferFlags(Run& run, int direction, std::array<int, 7>& values);
StatusCode transferSolvekFlags(Run& run, int direction, std::array<int, 9>& values);

// A "FLG," ("FLS,") line of the exchange file to the register; any other line is skipped.
LineResult loadFlagsLine(Run& run, std::string_view line);
LineResult loadSolvekFlagsLine(Run& run, std::string_view line);

}  // namespace lorvex
