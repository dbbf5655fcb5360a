#include "records/discounts.h"

#include "text/fields.h"

namespace lorvex {

StatusCode transferDiscounts(Run& run, Direction direction, DiscountSettings& values) {
    if (direction == Direction::Dump) {
        const Answer answer = askRegister(run, buildRequest('G', 0, 0, 0));
        if (!answer.hasText()) return answer.status;
        traceAnswer(run, answer.text);
        if (answer.kind != AnswerKind::Data) return 0;
        const std::optional<DiscountSettings> read = discountsFromAnswer(answer.text);
        if (!read) return kUnreadableAnswer;
        values = *read;
        run.write(discountsLine(values));
        return 0;
    }
    const std::optional<std::string> record = discountsRecord(values);
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest('G', 1, 0, 0), *record, "RABATY>");
}

StatusCode transferDirectCode(Run& run, Direction direction, int slot, long long& code) {
    if (direction == Direction::Dump) {
        const Answer answer = askRegister(run, buildRequest('J', 0, slot, slot));
        if (!answer.hasText()) return answer.status;
        traceAnswer(run, answer.text);
        if (answer.kind != AnswerKind::Data) return 0;
        const std::optional<DirectCode> read = directCodeFromAnswer(answer.text);
        if (!read) return kUnreadableAnswer;
        code = read->code;
        run.write(directCodeLine(*read));
        return 0;
    }
    const std::optional<std::string> record = directCodeRecord({slot, code});
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest('J', 1, slot, slot), *record, "BEZ>");
}

LineResult loadDiscountsLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "RAB,")) return LineResult::skipped();
    DiscountSettings values = discountsFromLine(line);
    if (!discountsRecord(values)) return LineResult::rejected();
    return LineResult::sent(transferDiscounts(run, Direction::Load, values));
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
