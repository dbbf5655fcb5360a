#pragma once

#include <optional>
#include <string>

#include "core/run.h"

namespace lorvex {

// The outcome of a one-answer report transaction.
struct ReportAnswer {
    StatusCode status = 0;
    // The data answer's text without the ETX of its frame; none when the register sent an error
    // answer (even one whose code reads as 0) or no answer.
    std::optional<std::string> data;
};

// Sends the request in one transaction and takes the register's one answer block. The status is
// -1 when the register did not answer (no acknowledgement, a lost link, or a transaction closed
// without any answer frame), or the register's code when it sent an error answer.
ReportAnswer requestReport(Run& run, const std::string& request);

}  // namespace lorvex
