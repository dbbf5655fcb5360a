#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/answer_reader.h"
#include "core/load_loop.h"
#include "core/run.h"

namespace lorvex {

// A table the register sends one record per block (discount cards, linked codes). Each data
// answer is decoded by `decode` into its line; an error answer ends the dump with its status;
// a lost link ends it with 99 and the lines already written stay.
StatusCode dumpBlocks(Run& run, const std::string& request,
                      const std::function<std::optional<std::string>(std::string_view)>& decode);

}  // namespace lorvex
