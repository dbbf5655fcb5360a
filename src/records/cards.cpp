#include "records/cards.h"

#include "text/fields.h"

namespace lorvex {

StatusCode transferDiscountCard(Run& run, Direction direction, int cardNumber,
                                const DiscountCard& card) {
    if (direction == Direction::Dump) {
        return dumpBlocks(
            run, buildRequest('j', 0, cardNumber, cardNumber),
            [cardNumber](std::string_view answer) { return cardLine(cardNumber, answer); });
    }
    const std::optional<std::string> record = cardRecord(card);
    if (!record || cardNumber < 0) return kBadFileData;
    return sendLoadRecord(run, buildRequest('j', 1, cardNumber, cardNumber), *record, "KRT>");
}

StatusCode transferLinkedCode(Run& run, Direction direction, const LinkedCode& codes) {
    if (direction == Direction::Dump)
        return dumpBlocks(run, linkedCodeTableRequest(), linkedCodeLine);
    const std::optional<std::string> record = linkedCodeRecord(codes);
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest('h', 1, 0, 0), *record, "KDW>");
}

LineResult loadDiscountCardLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "KRT")) return LineResult::skipped();
    const std::optional<CardLine> fields = cardFromLine(line);
    if (!fields || fields->cardNumber < 0 || !cardRecord(fields->card))
        return LineResult::rejected();
    return LineResult::sent(
        transferDiscountCard(run, Direction::Load, fields->cardNumber, fields->card));
}

LineResult loadLinkedCodeLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "KDW")) return LineResult::skipped();
    const std::optional<LinkedCode> codes = linkedCodeFromLine(line);
    if (!codes || !linkedCodeRecord(*codes)) return LineResult::rejected();
    return LineResult::sent(transferLinkedCode(run, Direction::Load, *codes));
}

}  // namespace lorvex
