#include "records/flag_format.h"

#include "text/fields.h"
#include "text/format.h"

namespace lorvex {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    // The program's own records carry lower-case digits; a register echoing them is read too.
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

int hexByte(char high, char low) {
    const int first = hexDigit(high);
    const int second = hexDigit(low);
    if (first < 0 || second < 0) return -1;
    return first * 16 + second;
}

std::optional<std::string> flagsRecord(const FlagsLayout& layout, std::span<const int> values) {
    if (values.size() != layout.count) return std::nullopt;
    std::string record(layout.recordLength, '0');
    record[0] = 'D';
    record[1] = layout.letter;
    for (std::size_t i = 0; i < layout.count; ++i) {
        if (values[i] < 0 || values[i] > 255) return std::nullopt;
        record.replace(layout.positions[i], 2, format("%02x", values[i]));
    }
    return record;
}

std::optional<std::vector<int>> flagsFromAnswer(const FlagsLayout& layout,
                                                std::string_view answer) {
    std::vector<int> values;
    for (std::size_t i = 0; i < layout.count; ++i) {
        const std::size_t at = layout.positions[i];
        if (at + 2 > answer.size()) return std::nullopt;
        const int value = hexByte(answer[at], answer[at + 1]);
        if (value < 0) return std::nullopt;
        values.push_back(value);
    }
    return values;
}

std::string flagsLine(const FlagsLayout& layout, std::span<const int> values) {
    std::string line(layout.prefix);
    for (const int value : values) line += format(",%2d", value);
    line += '\n';
    return line;
}

std::optional<std::vector<int>> flagsFromLine(const FlagsLayout& layout, std::string_view line) {
    FieldCursor fields(line, 4);
    std::vector<int> values;
    for (std::size_t i = 0; i < layout.count; ++i) values.push_back(fields.nextInt());
    return fields.ifNumbersRead(std::move(values));
}

}  // namespace lorvex
