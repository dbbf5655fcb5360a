#pragma once

#include "core/run.h"

namespace lorvex {

// Job H: every good from the register to the exchange file or product table, or every good of
// the file or table to the register.
void pluGoodsJob(Run& run);

}  // namespace lorvex
