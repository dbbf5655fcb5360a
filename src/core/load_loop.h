#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/run.h"

namespace lorvex {

// What became of one exchange-file line in a load.
struct LineResult {
    enum Kind {
        Skipped,   // not a line of this record, or one the job leaves out: nothing to report
        Rejected,  // bad data in the line: nothing sent, kBadFileData to report
        Sent,      // the record went to the register; `status` is its answer
    };
    Kind kind = Skipped;
    StatusCode status = 0;

    static LineResult skipped() { return {Skipped, 0}; }
    static LineResult rejected() { return {Rejected, kBadFileData}; }
    static LineResult sent(StatusCode status) { return {Sent, status}; }
};

// Shows the record as "<label>%s\n" at trace level 1 and sends it with the request; sends
// nothing and gives kBadFileData while the line being loaded is unsendable.
StatusCode sendLoadRecord(Run& run, const std::string& request, const std::string& record,
                          std::string_view label);

// What became of a line: one of the job's own that is unsendable is bad data, never sent.
LineResult loaded(const Run& run, LineResult result);

// How a job walks its exchange file in a load.
struct LoadLoop {
    bool echoLines = false;           // show every line read at trace level 1
    bool countItems = false;          // number the records for the error log
    std::uint32_t pauseMs = 0;        // after each record sent
    bool pauseAfterRejected = false;  // and after each line of bad data
};

using LoadLine = std::function<LineResult(Run&, std::string_view)>;

// Reads the whole exchange file and hands every line to `load`; reports each line that belongs
// to the job.
void loadEveryLine(Run& run, const LoadLoop& loop, const LoadLine& load);

}  // namespace lorvex
