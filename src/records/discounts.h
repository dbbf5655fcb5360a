#pragma once

#include <string_view>

#include "core/answer_reader.h"
#include "core/load_loop.h"
#include "core/run.h"
#include "records/discount_format.h"

namespace lorvex {

// A dump reads the discounts and markups into `values` and writes the "RAB" line; a load sends
// `values`, kBadFileData without sending when one does not fit its places.
StatusCode transferDiscounts(Run& run, Direction direction, DiscountSettings& values);

// A dump reads direct-code slot `slot` and writes its "BEZ" line (`code` receives the code); a load
// sends `code` for the slot (0 clears it), kBadFileData without sending for a slot outside 1 to 42
// or a code wider than 18 places.
StatusCode transferDirectCode(Run& run, Direction direction, int slot, long long& code);

// A "RAB," line of the exchange file to the register; any other line is skipped.
LineResult loadDiscountsLine(Run& run, std::string_view line);

// Which direct-code lines are sent: job I sends every one, a code of 0 clearing its slot; the
// all-settings load only codes above 0.
enum class DirectCodeRule { ZeroClears, PositiveOnly };

// A "BEZ" line of the exchange file to the register; any other line is skipped.
LineResult loadDirectCodeLine(Run& run, std::string_view line, DirectCodeRule rule);

}  // namespace lorvex
