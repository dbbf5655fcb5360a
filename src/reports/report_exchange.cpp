#include "reports/report_exchange.h"

#include "core/answer_reader.h"

namespace lorvex {

ReportAnswer requestReport(Run& run, const std::string& request) {
    Answer answer = askRegister(run, request);
    // A transaction closed without any answer frame gives no line: decoding the request as an
    // answer would write figures the register never sent.
    if (!answer.hasText()) return {answer.status, {}};
    return {0, std::move(answer.text)};
}

}  // namespace lorvex
