#pragma once

#include <string_view>

#include "core/run.h"
#include "records/halo_format.h"
#include "records/record_exchange.h"

namespace lorvex {

// Direction 0 reads the halo table into `amounts` and writes its "HAL" line; 1 sends `amounts`,
// kBadFileData without sending when one does not fit its field; any other direction does
// nothing and gives 0.
StatusCode transferHalo(Run& run, int direction, HaloTable& amounts);

// A "HAL," line of the exchange file to the register; any other line is skipped.
LineResult loadHaloLine(Run& run, std::string_view line);

}  // namespace lorvex
