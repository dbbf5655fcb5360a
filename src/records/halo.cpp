#include "records/halo.h"

#include "text/fields.h"

namespace lorvex {

StatusCode transferHalo(Run& run, Direction direction, HaloTable& amounts) {
    if (direction == Direction::Dump) {
        return dumpAnswer(run, buildRequest('E', 0, 0, 0), [&](std::string_view answer) {
            const std::optional<HaloTable> read = haloFromAnswer(answer);
            if (!read) return std::optional<std::string>();
            amounts = *read;
            return std::optional<std::string>(haloLine(amounts));
        });
    }
    const std::optional<std::string> record = haloRecord(amounts);
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest('E', 1, 0, 0), *record, "HALO>");
}

LineResult loadHaloLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "HAL,")) return LineResult::skipped();
    std::optional<HaloTable> amounts = haloFromLine(line);
    if (!amounts || !haloRecord(*amounts)) return LineResult::rejected();
    return LineResult::sent(transferHalo(run, Direction::Load, *amounts));
}

}  // namespace lorvex
