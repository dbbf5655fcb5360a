#include "records/discounts.h"

#include "text/fields.h"

namespace lorvex {

StatusCode transferDiscounts(Run& run, Direction direction, DiscountSettings& values) {
    if (direction == Direction::Dump) {
        return dumpAnswer(run, buildRequest('G', 0, 0, 0), [&](std::string_view answer) {
            const std::optional<DiscountSettings> read = discountsFromAnswer(answer);
            if (!read) return std::optional<std::string>();
            values = *read;
            return std::optional<std::string>(discountsLine(values));
        });
    }
    const std::optional<std::string> record = discountsRecord(values);
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest('G', 1, 0, 0), *record, "RABATY>");
}

StatusCode transferDirectCode(Run& run, Direction direction, int slot, long long& code) {
    if (direction == Direction::Dump) {
        return dumpAnswer(run, buildRequest('J', 0, slot, slot), [&](std::string_view answer) {
            const std::optional<DirectCode> read = directCodeFromAnswer(answer);
            if (!read) return std::optional<std::string>();
            code = read->code;
            return std::optional<std::string>(directCodeLine(*read));
        });
    }
    const std::optional<std::string> record = directCodeRecord({slot, code});
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest('J', 1, slot, slot), *record, "BEZ>");
}

LineResult loadDiscountsLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "RAB,")) return LineResult::skipped();
    std::optional<DiscountSettings> values = discountsFromLine(line);
    if (!values || !discountsRecord(*values)) return LineResult::rejected();
    return LineResult::sent(transferDiscounts(run, Direction::Load, *values));
}

LineResult loadDirectCodeLine(Run& run, std::string_view line, DirectCodeRule rule) {
    if (!lineHasPrefix(line, "BEZ")) return LineResult::skipped();
    std::optional<DirectCode> entry = directCodeFromLine(line);
    if (!entry) return LineResult::rejected();
    if (rule == DirectCodeRule::PositiveOnly && entry->code <= 0) return LineResult::skipped();
    if (!directCodeRecord(*entry)) return LineResult::rejected();
    return LineResult::sent(transferDirectCode(run, Direction::Load, entry->slot, entry->code));
}

}  // namespace lorvex
