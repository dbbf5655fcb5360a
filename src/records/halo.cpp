#include "records/halo.h"

#include "core/load_fields.h"

namespace lorvex {

StatusCode transferHalo(Run& run, int direction, HaloTable& amounts) {
    if (direction == 0) {
        std::string answer;
        const StatusCode status = requestAnswer(run, buildRequest('E', 0, 0, 0), answer);
        if (status != 0) return status;
        if (isErrorAnswer(answer)) return errorAnswerStatus(answer);
        traceAnswer(run, answer);
        if (!isDataAnswer(answer)) return 0;
        const std::optional<HaloTable> read = haloFromAnswer(answer);
        if (!read) return kUnreadableAnswer;
        amounts = *read;
        run.write(haloLine(amounts));
        return 0;
    }
    if (direction == 1) {
        const std::optional<std::string> record = haloRecord(amounts);
        if (!record) return kBadFileData;
        return sendLoadRecord(run, buildRequest('E', 1, 0, 0), *record, "HALO>");
    }
    return 0;
}

LineResult loadHaloLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "HAL,")) return LineResult::skipped();
    HaloTable amounts = haloFromLine(line);
    if (!haloRecord(amounts)) return LineResult::rejected();
    return LineResult::sent(transferHalo(run, 1, amounts));
}

}  // namespace lorvex
