#include "records/flags.h"

#include <algorithm>

#include "core/load_fields.h"
#include "records/flag_format.h"

namespace lorvex {
namespace {

StatusCode transferFlagValues(Run& run, const FlagsLayout& layout, int direction,
                              std::span<int> values) {
    if (direction == 0) {
        std::string answer;
        const StatusCode status = requestAnswer(run, buildRequest(layout.letter, 0, 0, 0), answer);
        if (status != 0) return status;
        if (isErrorAnswer(answer)) return errorAnswerStatus(answer);
        traceAnswer(run, answer);
        if (!isDataAnswer(answer)) return 0;
        const std::optional<std::vector<int>> read = flagsFromAnswer(layout, answer);
        if (!read) return kUnreadableAnswer;
        std::copy_n(read->begin(), std::min(read->size(), values.size()), values.begin());
        run.write(flagsLine(layout, *read));
        return 0;
    }
    if (direction == 1) {
        const std::optional<std::string> record = flagsRecord(layout, values);
        if (!record) return kBadFileData;
        return sendLoadRecord(run, buildRequest(layout.letter, 1, 0, 0), *record, "FLAGI>");
    }
    return 0;
}

LineResult loadFlagValues(Run& run, const FlagsLayout& layout, std::string_view line) {
    std::string prefix(layout.prefix);
    prefix += ',';
    if (!lineHasPrefix(line, prefix)) return LineResult::skipped();
    std::vector<int> values = flagsFromLine(layout, line);
    if (!flagsRecord(layout, values)) return LineResult::rejected();
    return LineResult::sent(transferFlagValues(run, layout, 1, values));
}

}  // namespace

StatusCode transferFlags(Run& run, int direction, std::array<int, 7>& values) {
    return transferFlagValues(run, kFlags, direction, values);
}

StatusCode transferSolvekFlags(Run& run, int direction, std::array<int, 9>& values) {
    return transferFlagValues(run, kSolvekFlags, direction, values);
}

LineResult loadFlagsLine(Run& run, std::string_view line) {
    return loadFlagValues(run, kFlags, line);
}

LineResult loadSolvekFlagsLine(Run& run, std::string_view line) {
    return loadFlagValues(run, kSolvekFlags, line);
}

}  // namespace lorvex
