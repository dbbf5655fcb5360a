#include "records/record_exchange.h"

namespace lorvex {
namespace {

// A register that keeps sending blocks must not keep the run forever; no table of the register
// comes near this many records.
constexpr int kMostBlocks = 100000;

}  // namespace

StatusCode requestAnswer(Run& run, const std::string& request, std::string& answer) {
    std::string buffer = request;
    int blockCounter = 0;
    const StatusCode status = run.link.receiveAnswer(buffer, blockCounter);
    // An untouched buffer still holds the request: the register sent no answer frame at all.
    if (status != 0 || buffer == request) return kNoAnswer;
    answer.assign(answerText(buffer));
    return 0;
}

void traceAnswer(Run& run, std::string_view answer) {
    if (run.settings.traceLevel < 1) return;
    std::string text(answer);
    text += '\n';
    run.trace(1, text, TextEncoding::Cp852);
}

StatusCode sendLoadRecord(Run& run, const std::string& request, const std::string& record,
                          std::string_view label) {
    if (run.settings.traceLevel >= 1) {
        std::string text(label);
        text += record;
        text += '\n';
        run.trace(1, text, TextEncoding::Cp852);
    }
    return run.link.sendRecord(request, record);
}

StatusCode dumpBlocks(Run& run, const std::string& request,
                      const std::function<std::optional<std::string>(std::string_view)>& decode) {
    int blockCounter = 0;
    bool unreadable = false;
    for (int block = 0; block < kMostBlocks; ++block) {
        // The first call sends the request; later ones only receive, into an empty buffer, so a
        // call that ends on the register's EOT without a new frame is not taken for a record.
        std::string buffer = block == 0 ? request : std::string();
        const StatusCode status = run.link.receiveAnswer(buffer, blockCounter);
        if (status != 0) return status;
        const bool noFrame = block == 0 ? buffer == request : buffer.empty();
        if (!noFrame) {
            const std::string_view answer = answerText(buffer);
            if (isErrorAnswer(answer)) return errorAnswerStatus(answer);
            traceAnswer(run, answer);
            if (isDataAnswer(answer)) {
                const std::optional<std::string> line = decode(answer);
                if (line) {
                    run.write(*line);
                } else {
                    unreadable = true;
                }
            }
        }
        if (blockCounter <= 0) return unreadable ? kUnreadableAnswer : 0;
    }
    return kLinkLost;
}

}  // namespace lorvex
