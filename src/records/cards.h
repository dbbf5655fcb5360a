#pragma once

#include <string_view>

#include "core/run.h"
#include "records/card_format.h"
#include "records/record_exchange.h"

namespace lorvex {

// Direction 0 reads every discount card (the register sends one per block) and writes a "KRT"
// line for each, numbered `cardNumber`; 1 sends `card` as card `cardNumber`, kBadFileData without
// sending when a field does not fit; any other direction does nothing and gives 0.
StatusCode transferDiscountCard(Run& run, int direction, int cardNumber, const DiscountCard& card);

// Direction 0 reads the whole table of linked codes and writes a "KDW" line for each pair; 1 sends
// the pair, kBadFileData without sending when a code does not fit; any other direction does
// nothing and gives 0.
StatusCode transferLinkedCode(Run& run, int direction, const LinkedCode& codes);

// A "KRT" ("KDW") line of the exchange file to the register; any other line is skipped.
LineResult loadDiscountCardLine(Run& run, std::string_view line);
LineResult loadLinkedCodeLine(Run& run, std::string_view line);

}  // namespace lorvex
