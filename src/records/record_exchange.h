#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/answer.h"
#include "core/run.h"

namespace lorvex {

// A data answer that cannot be decoded (too short for its layout, or characters its fields cannot
// hold) is not written to the file; it is reported as a fault of the transmission.
inline constexpr StatusCode kUnreadableAnswer = kLinkLost;

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

// One dump transaction with a single answer. kNoAnswer when the link fails or the transaction
// ends without an answer frame; else 0 with the answer text (frame end removed) in `answer`.
StatusCode requestAnswer(Run& run, const std::string& request, std::string& answer);

// Shows a text received from the register at trace level 1.
void traceAnswer(Run& run, std::string_view answer);

// Shows the record as "<label>%s\n" at trace level 1 and sends it with the request.
StatusCode sendLoadRecord(Run& run, const std::string& request, const std::string& record,
                          std::string_view label);

// A table the register sends one record per block (discount cards, linked codes). Each data
// answer is decoded by `decode` into its line; an error answer ends the dump with its status;
// a lost link ends it with 99 and the lines already written stay.
StatusCode dumpBlocks(Run& run, const std::string& request,
                      const std::function<std::optional<std::string>(std::string_view)>& decode);

}  // namespace lorvex
