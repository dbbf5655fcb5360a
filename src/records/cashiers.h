#pragma once

#include <string>
#include <string_view>

#include "core/answer_reader.h"
#include "core/load_loop.h"
#include "core/run.h"

namespace lorvex {

// A dump reads cashier `number` from the register and writes its "KAS" line (`name` and `code` are
// not used); a load sends `name` (register letters) and `code` for cashier `number`, kBadFileData
// without sending for a number outside 0 to 29.
StatusCode transferCashier(Run& run, Direction direction, int number, std::string& name,
                           std::string& code);

// Which cashier lines are sent: job D leaves out codes of 0 or less, the all-settings load only
// codes of 0.
enum class CashierCodeRule { PositiveOnly, NonZero };

// A "KAS" line of the exchange file to the register; any other line is skipped.
LineResult loadCashierLine(Run& run, std::string_view line, CashierCodeRule rule);

}  // namespace lorvex
