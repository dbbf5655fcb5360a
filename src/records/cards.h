#pragma once

#include <string_view>

#include "core/answer_reader.h"
#include "core/load_loop.h"
#include "core/run.h"
#include "records/card_format.h"

namespace lorvex {

// A dump reads every discount card (the register sends one per block) and writes a "KRT" line for
// each, numbered `cardNumber`; a load sends `card` as card `cardNumber`, kBadFileData without
// sending when a field does not fit.
StatusCode transferDiscountCard(Run& run, Direction direction, int cardNumber,
                                const DiscountCard& card);

// A dump reads the whole table of linked codes and writes a "KDW" line for each pair; a load sends
// the pair, kBadFileData without sending when a code does not fit.
StatusCode transferLinkedCode(Run& run, Direction direction, const LinkedCode& codes);

// A "KRT" ("KDW") line of the exchange file to the register; any other line is skipped.
LineResult loadDiscountCardLine(Run& run, std::string_view line);
LineResult loadLinkedCodeLine(Run& run, std::string_view line);

}  // namespace lorvex
