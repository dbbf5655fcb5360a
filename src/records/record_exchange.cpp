#include "records/record_exchange.h"

namespace lorvex {

StatusCode dumpBlocks(Run& run, const std::string& request,
                      const std::function<std::optional<std::string>(std::string_view)>& decode) {
    AnswerReader reader(run, request);
    bool unreadable = false;
    do {
        const StatusCode status = reader.receive();
        if (status != 0) return status;
        const AnswerKind kind = reader.kind();
        if (kind == AnswerKind::Error) return errorAnswerStatus(reader.text());
        if (kind != AnswerKind::None) traceAnswer(run, reader.text());
        if (kind == AnswerKind::Data) {
            const std::optional<std::string> line = decode(reader.text());
            if (line) {
                run.write(*line);
            } else {
                unreadable = true;
            }
        }
    } while (reader.more());
    if (reader.cutShort()) return kLinkLost;
    return unreadable ? kUnreadableAnswer : 0;
}

}  // namespace lorvex
