#include "reports/report_exchange.h"

#include "core/answer.h"

namespace lorvex {

ReportAnswer requestReport(Run& run, const std::string& request) {
    std::string buffer = request;
    int blockCounter = 0;
    if (run.link.receiveAnswer(buffer, blockCounter) != 0) return {kNoAnswer, {}};
    // The link leaves the request in the buffer when the register ended the transaction without
    // sending a frame; decoding that as an answer would write a line of figures it never sent.
    if (buffer == request) return {kNoAnswer, {}};
    const std::string_view text = answerText(buffer);
    if (isErrorAnswer(text)) return {errorAnswerStatus(text), {}};
    return {0, std::string(text)};
}

}  // namespace lorvex
