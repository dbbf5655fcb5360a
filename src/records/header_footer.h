#pragma once

#include <string>
#include <string_view>

#include "core/run.h"
#include "records/record_exchange.h"

namespace lorvex {

// Direction 0 reads the text from the register into `text` (the file's letters) and writes its
// "NAG"/"STP" line; 1 sends `text` (register letters) as the load record; any other direction
// does nothing and gives 0.
StatusCode transferHeader(Run& run, int direction, std::string& text);
StatusCode transferFooter(Run& run, int direction, std::string& text);

// A "NAG," / "STP," line of the exchange file to the register; any other line is skipped.
LineResult loadHeaderLine(Run& run, std::string_view line);
LineResult loadFooterLine(Run& run, std::string_view line);

}  // namespace lorvex
