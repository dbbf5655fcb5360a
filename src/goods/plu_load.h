#pragma once

#include "core/run.h"
#include "goods/plu_goods.h"
#include "link/register_link.h"

namespace lorvex {

// Sends one good at its position with run.settings.recordAction, then pauses 10 ms (1000 ms when
// erasing). 0, the link's or the register's status, or kBadFileData for a record that does not
// fit its widths (nothing sent).
StatusCode loadPluRecord(Run& run, RecordPosition position, const PluRecord& record);

// Every "PLU" line of the exchange file, in one transaction; each line's status is reported and
// the load goes on (a refused record ends the transaction, the next good opens a new one).
void loadPluFromText(Run& run);

// Every record of the product table, in one transaction; the first refused record ends the load.
void loadPluFromTable(Run& run);

}  // namespace lorvex
