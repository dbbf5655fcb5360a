#include "records/flags.h"

#include <algorithm>

#include "records/flag_format.h"
#include "text/fields.h"

namespace lorvex {
namespace {

StatusCode transferFlagValues(Run& run, const FlagsLayout& layout, Direction direction,
                              std::span<int> values) {
    if (direction == Direction::Dump) {
        return dumpAnswer(run, buildRequest(layout.letter, 0, 0, 0), [&](std::string_view answer) {
            const std::optional<std::vector<int>> read = flagsFromAnswer(layout, answer);
            if (!read) return std::optional<std::string>();
            std::copy_n(read->begin(), std::min(read->size(), values.size()), values.begin());
            return std::optional<std::string>(flagsLine(layout, *read));
        });
    }
    const std::optional<std::string> record = flagsRecord(layout, values);
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest(layout.letter, 1, 0, 0), *record, "FLAGI>");
}

LineResult loadFlagValues(Run& run, const FlagsLayout& layout, std::string_view line) {
    std::string prefix(layout.prefix);
    prefix += ',';
    if (!lineHasPrefix(line, prefix)) return LineResult::skipped();
    std::optional<std::vector<int>> values = flagsFromLine(layout, line);
    if (!values || !flagsRecord(layout, *values)) return LineResult::rejected();
    return LineResult::sent(transferFlagValues(run, layout, Direction::Load, *values));
}

}  // namespace

StatusCode transferFlags(Run& run, Direction direction, std::array<int, 7>& values) {
    return transferFlagValues(run, kFlags, direction, values);
}

StatusCode transferSolvekFlags(Run& run, Direction direction, std::array<int, 9>& values) {
    return transferFlagValues(run, kSolvekFlags, direction, values);
}

LineResult loadFlagsLine(Run& run, std::string_view line) {
    return loadFlagValues(run, kFlags, line);
}

LineResult loadSolvekFlagsLine(Run& run, std::string_view line) {
    return loadFlagValues(run, kSolvekFlags, line);
}

}  // namespace lorvex
