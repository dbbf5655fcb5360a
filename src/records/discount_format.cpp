#include "records/discount_format.h"

#include "link/register_link.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

constexpr std::size_t kRates = 4;
constexpr int kRateWidth = 5;
constexpr int kAmountWidth = 10;
constexpr std::size_t kAmountsStart = 2 + kRates * kRateWidth;
constexpr std::size_t kCodeWidth = 18;

int fieldWidth(std::size_t index) {
    return index < kRates ? kRateWidth : kAmountWidth;
}

std::size_t fieldPosition(std::size_t index) {
    return index < kRates ? 2 + index * kRateWidth
                          : kAmountsStart + (index - kRates) * kAmountWidth;
}

}  // namespace

std::optional<std::string> discountsRecord(const DiscountSettings& values) {
    std::string record = "DG";
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<std::string> field = hundredthsField(values[i], fieldWidth(i), true);
        if (!field) return std::nullopt;
        record += *field;
    }
    return record;
}

std::optional<DiscountSettings> discountsFromAnswer(std::string_view answer) {
    DiscountSettings values{};
    const std::size_t last = values.size() - 1;
    if (answer.size() < fieldPosition(last) + fieldWidth(last)) return std::nullopt;
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = readDouble(answerField(answer, fieldPosition(i), fieldWidth(i))) * 0.01;
    }
    return values;
}

std::string discountsLine(const DiscountSettings& values) {
    std::string line = "RAB";
    for (std::size_t i = 0; i < values.size(); ++i) {
        line += i < kRates ? format(",%5.2f", values[i]) : format(",%10.2f", values[i]);
    }
    line += '\n';
    return line;
}

std::optional<DiscountSettings> discountsFromLine(std::string_view line) {
    FieldCursor fields(line, 4);
    DiscountSettings values{};
    for (double& value : values) value = fields.nextDouble();
    return fields.ifNumbersRead(values);
}

std::optional<std::string> directCodeRecord(const DirectCode& entry) {
    if (entry.slot < 1 || entry.slot > kDirectCodeSlots) return std::nullopt;
    std::string record = format("DJ%02d", entry.slot);
    if (entry.code == 0) {
        record.append(kCodeWidth, ' ');
        return record;
    }
    const std::optional<std::string> code = goodsCodeField(entry.code);
    if (!code) return std::nullopt;
    return record + *code;
}

std::optional<DirectCode> directCodeFromAnswer(std::string_view answer) {
    if (answer.size() < 4 + kCodeWidth) return std::nullopt;
    const std::optional<long long> code = readGoodsCode(answerField(answer, 4, kCodeWidth));
    if (!code) return std::nullopt;
    return DirectCode{readInt(answerField(answer, 2, 2)), *code};
}

std::string directCodeLine(const DirectCode& entry) {
    return format("BEZ%2d,%18lld\n", entry.slot, entry.code);
}

std::optional<DirectCode> directCodeFromLine(std::string_view line) {
    FieldCursor fields(line, 3);
    DirectCode entry;
    entry.slot = fields.nextInt();
    const std::optional<long long> code = fields.nextGoodsCode();
    if (!code) return std::nullopt;
    entry.code = *code;
    return fields.ifNumbersRead(entry);
}

}  // namespace lorvex
