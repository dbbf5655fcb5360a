#pragma once

#include <string>
#include <string_view>

#include "core/answer_reader.h"
#include "core/load_loop.h"
#include "core/run.h"

namespace lorvex {

// A dump reads the text from the register into `text` (the file's letters) and writes its
// "NAG"/"STP" line; a load sends `text` (register letters) as the load record.
StatusCode transferHeader(Run& run, Direction direction, std::string& text);
StatusCode transferFooter(Run& run, Direction direction, std::string& text);

// A "NAG," / "STP," line of the exchange file to the register; any other line is skipped.
LineResult loadHeaderLine(Run& run, std::string_view line);
LineResult loadFooterLine(Run& run, std::string_view line);

}  // namespace lorvex
