#pragma once

#include "core/run.h"
#include "link/register_link.h"

namespace lorvex {

// Asks the register for every good, range by range, and writes each as a "PLU" line or, in
// product-table mode, as a table record. Returns 0; the register's code of an error answer (which
// ends the dump at once); the first lost link of a range (the other ranges are still asked for);
// or kOpenFailed when the product table could not be written.
StatusCode dumpPluGoods(Run& run);

}  // namespace lorvex
