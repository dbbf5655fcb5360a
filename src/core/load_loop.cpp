#include "core/load_loop.h"

#include "core/dead_line.h"

namespace lorvex {

StatusCode sendLoadRecord(Run& run, const std::string& request, const std::string& record,
                          std::string_view label) {
    if (run.lineUnsendable()) return kBadFileData;
    if (run.lineDead) return kNotTried;
    if (run.settings.traceLevel >= 1) {
        std::string text(label);
        text += record;
        text += '\n';
        run.trace(1, text, TextEncoding::Cp852);
    }
    const StatusCode status = run.link.sendRecord(request, record);
    run.countRecord(status);
    return status;
}

LineResult loaded(const Run& run, LineResult result) {
    if (run.lineUnsendable() && result.kind == LineResult::Sent) return LineResult::rejected();
    return result;
}

void loadEveryLine(Run& run, const LoadLoop& loop, const LoadLine& load) {
    DeadLineGuard guard(run, "lines");
    int notTried = 0;
    std::string line;
    while (run.readLine(line)) {
        if (guard.dead()) {
            // The rest of the file is only counted: the lines that would have been sent.
            notTried += load(run, line).status == kNotTried ? 1 : 0;
            continue;
        }
        if (loop.echoLines && run.settings.traceLevel >= 1) {
            run.trace(1, line + '\n', consoleEncoding(run.settings.charsetMode));
        }
        const LineResult result = loaded(run, load(run, line));
        if (result.kind == LineResult::Skipped) continue;
        if (loop.countItems) ++run.currentItemNumber;
        guard.report(result.status, result.kind == LineResult::Sent);
        const bool rests = result.kind == LineResult::Sent || loop.pauseAfterRejected;
        if (rests && loop.pauseMs > 0 && !guard.dead()) run.pause(loop.pauseMs);
    }
    if (guard.dead()) guard.giveUp(notTried);
}

}  // namespace lorvex
