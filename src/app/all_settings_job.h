#pragma once

#include "core/run.h"

namespace lorvex {

// Job 'Z': every setting of the register into the exchange file (dump), or every settings line
// of the file into the register (load).
void allSettingsJob(Run& run);

}  // namespace lorvex
