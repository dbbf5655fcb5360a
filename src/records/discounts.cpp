#include "records/discounts.h"

#include "core/load_fields.h"

namespace lorvex {

StatusCode transferDiscounts(Run& run, int direction, DiscountSettings& values) {
    if (direction == 0) {
        std::string answer;
        const StatusCode status = requestAnswer(run, buildRequest('G', 0, 0, 0), answer);
        if (status != 0) return status;
        if (isErrorAnswer(answer)) return errorAnswerStatus(answer);
        traceAnswer(run, answer);
        if (!isDataAnswer(answer)) return 0;
        const std::optional<DiscountSettings> read = discountsFromAnswer(answer);
        if (!read) return kUnreadableAnswer;
        values = *read;
        run.write(discountsLine(values));
        return 0;
    }
    if (direction == 1) {
        const std::optional<std::string> record = discountsRecord(values);
        if (!record) return kBadFileData;
        return sendLoadRecord(run, buildRequest('G', 1, 0, 0), *record, "RABATY>");
    }
    return 0;
}

StatusCode transferDirectCode(Run& run, int direction, int slot, long long& code) {
    if (direction == 0) {
        std::string answer;
        const StatusCode status = requestAnswer(run, buildRequest('J', 0, slot, slot), answer);
        if (status != 0) return status;
        if (isErrorAnswer(answer)) return errorAnswerStatus(answer);
        traceAnswer(run, answer);
        if (!isDataAnswer(answer)) return 0;
        const std::optional<DirectCode> read = directCodeFromAnswer(answer);
        if (!read) return kUnreadableAnswer;
        code = read->code;
        run.write(directCodeLine(*read));
        return 0;
    }
    if (direction == 1) {
        const std::optional<std::string> record = directCodeRecord({slot, code});
        if (!record) return kBadFileData;
        return sendLoadRecord(run, buildRequest('J', 1, slot, slot), *record, "BEZ>");
    }
    return 0;
}

LineResult loadDiscountsLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "RAB,")) return LineResult::skipped();
    DiscountSettings values = discountsFromLine(line);
    if (!discountsRecord(values)) return LineResult::rejected();
    return LineResult::sent(transferDiscounts(run, 1, values));
}

LineResult loadDirectCodeLine(Run& run, std::string_view line, DirectCodeRule rule) {
    if (!lineHasPrefix(line, "BEZ")) return LineResult::skipped();
    std::optional<DirectCode> entry = directCodeFromLine(line);
    if (!entry) return LineResult::rejected();
    if (rule == DirectCodeRule::PositiveOnly && entry->code <= 0) return LineResult::skipped();
    if (!directCodeRecord(*entry)) return LineResult::rejected();
    return LineResult::sent(transferDirectCode(run, 1, entry->slot, entry->code));
}

}  // namespace lorvex
