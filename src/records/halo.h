#pragma once

#include <string_view>

#include "core/answer_reader.h"
#include "core/load_loop.h"
#include "core/run.h"
#include "records/halo_format.h"

namespace lorvex {

// A dump reads the halo table into `amounts` and writes its "HAL" line; a load sends `amounts`,
// kBadFileData without sending when one does not fit its field.
StatusCode transferHalo(Run& run, Direction direction, HaloTable& amounts);

// A "HAL," line of the exchange file to the register; any other line is skipped.
LineResult loadHaloLine(Run& run, std::string_view line);

}  // namespace lorvex
