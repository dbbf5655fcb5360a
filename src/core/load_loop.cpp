#include "core/load_loop.h"

namespace lorvex {

StatusCode sendLoadRecord(Run& run, const std::string& request, const std::string& record,
                          std::string_view label) {
    if (run.lineUnsendable()) return kBadFileData;
    if (run.settings.traceLevel >= 1) {
        std::string text(label);
        text += record;
        text += '\n';
        run.trace(1, text, TextEncoding::Cp852);
    }
    return run.link.sendRecord(request, record);
}

LineResult loaded(const Run& run, LineResult result) {
    if (run.lineUnsendable() && result.kind == LineResult::Sent) return LineResult::rejected();
    return result;
}

void loadEveryLine(Run& run, const LoadLoop& loop, const LoadLine& load) {
    std::string line;
    while (run.readLine(line)) {
        if (loop.echoLines && run.settings.traceLevel >= 1) {
            run.trace(1, line + '\n', consoleEncoding(run.settings.charsetMode));
        }
        const LineResult result = loaded(run, load(run, line));
        if (result.kind == LineResult::Skipped) continue;
        if (loop.countItems) ++run.currentItemNumber;
        run.report(result.status);
        const bool rests = result.kind == LineResult::Sent || loop.pauseAfterRejected;
        if (rests && loop.pauseMs > 0) run.pause(loop.pauseMs);
    }
}

}  // namespace lorvex
