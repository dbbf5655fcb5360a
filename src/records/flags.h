#pragma once

#include <array>
#include <string_view>

#include "core/answer_reader.h"
#include "core/load_loop.h"
#include "core/run.h"

namespace lorvex {

// A dump reads the flags from the register into `values` and writes the "FLG" ("FLS") line; a load
// sends `values`, kBadFileData without sending when one lies outside 0..255.
StatusCode transferFlags(Run& run, Direction direction, std::array<int, 7>& values);
StatusCode transferSolvekFlags(Run& run, Direction direction, std::array<int, 9>& values);

// A "FLG," ("FLS,") line of the exchange file to the register; any other line is skipped.
LineResult loadFlagsLine(Run& run, std::string_view line);
LineResult loadSolvekFlagsLine(Run& run, std::string_view line);

}  // namespace lorvex
