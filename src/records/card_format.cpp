#include "records/card_format.h"

#include "link/register_link.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

// Digits of the fifteen numeric fields in record order.
constexpr std::array<int, 15> kDigits = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 1, 2, 1, 2};
// The text sits after the first twelve numeric fields.
constexpr std::size_t kNumbersBeforeText = 12;
constexpr std::size_t kTextWidth = 6;
constexpr std::size_t kValuesStart = 3;  // answer position of field 1
constexpr std::size_t kCardAnswerLength = 47;
constexpr std::size_t kCodeWidth = 18;

}  // namespace

std::optional<CardLine> cardFromLine(std::string_view line) {
    FieldCursor fields(line, 3);
    CardLine result;
    result.cardNumber = fields.nextInt();
    for (std::size_t i = 0; i < kDigits.size(); ++i) {
        if (i == kNumbersBeforeText)
            result.card.text = std::string(fields.next().substr(0, kTextWidth));
        result.card.numbers[i] = fields.nextInt();
    }
    return fields.ifNumbersRead(result);
}

std::optional<std::string> cardRecord(const DiscountCard& card) {
    std::string record = "Dj0";
    for (std::size_t i = 0; i < kDigits.size(); ++i) {
        if (i == kNumbersBeforeText) record += fitRight(card.text, kTextWidth);
        const std::optional<std::string> field = digitsField(card.numbers[i], kDigits[i]);
        if (!field) return std::nullopt;
        record += *field;
    }
    return record;
}

std::optional<std::string> cardLine(int cardNumber, std::string_view answer) {
    if (answer.size() < kCardAnswerLength) return std::nullopt;
    std::string line = format("KRT%5d,", cardNumber);
    std::size_t at = kValuesStart;
    for (std::size_t i = 0; i < kDigits.size(); ++i) {
        if (i == kNumbersBeforeText) {
            line.append(answerField(answer, at, kTextWidth));
            line += ',';
            at += kTextWidth;
        }
        const auto width = static_cast<std::size_t>(kDigits[i]);
        const std::string_view field = answerField(answer, at, width);
        // The three-digit values are written as received, leading zeros and all.
        if (i < 10) {
            line.append(field);
        } else {
            line += format("%d", readInt(field));
        }
        line += i + 1 < kDigits.size() ? ',' : '\n';
        at += width;
    }
    return line;
}

std::optional<LinkedCode> linkedCodeFromLine(std::string_view line) {
    FieldCursor fields(line, 3);
    const std::optional<long long> first = fields.nextGoodsCode();
    const std::optional<long long> second = fields.nextGoodsCode();
    if (!first || !second) return std::nullopt;
    return fields.ifNumbersRead(LinkedCode{*first, *second});
}

std::optional<std::string> linkedCodeRecord(const LinkedCode& codes) {
    const std::optional<std::string> first = goodsCodeField(codes.first);
    const std::optional<std::string> second = goodsCodeField(codes.second);
    if (!first || !second) return std::nullopt;
    return "Dh" + *first + *second;
}

std::string linkedCodeTableRequest() {
    return "Sh0" + std::string(2 * kCodeWidth, ' ');
}

std::optional<std::string> linkedCodeLine(std::string_view answer) {
    if (answer.size() < 2 + 2 * kCodeWidth) return std::nullopt;
    return "KDW" + padLeft(answerField(answer, 2, kCodeWidth), kCodeWidth) + "," +
           padLeft(answerField(answer, 2 + kCodeWidth, kCodeWidth), kCodeWidth) + "\n";
}

}  // namespace lorvex
