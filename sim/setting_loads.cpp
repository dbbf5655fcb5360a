#include <algorithm>
#include <array>
#include <string>

#include "sim/model_parts.h"
#include "sim/record_checks.h"
#include "sim/status_codes.h"
#include "sim/wire_fields.h"

namespace lorvex::sim::detail {
namespace {

// The fixed length of each load record, "D" and the letter included.
std::size_t recordLength(char letter) {
    switch (letter) {
        case 'A':
            return 16;
        case 's':
            return 42;
        case 'B':
            return 2 + kHeaderWidth;
        case 'C':
            return 2 + kFooterWidth;
        case 'D':
            return 25;
        case 'E':
            return 152;
        case 'G':
            return 62;
        case 'J':
            return 22;
        case 'K':
            return 26;
        case 'M':
            return 12;
        case 'N':
            return 15;
        case 'h':
            return 38;
        case 'j':
            return 47;
        default:
            return 0;
    }
}

// Receipt lines are separated by CR or LF; any other control character is refused.
int checkReceiptText(std::string_view text) {
    const bool good = std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == '\r' || byte == '\n' || (byte >= 0x20 && byte != 0x7F);
    });
    return good ? status::kOk : status::kBadName;
}

template <std::size_t N>
int readHexValues(std::string_view record, const std::array<std::size_t, N>& positions,
                  std::array<int, N>& out) {
    for (std::size_t i = 0; i < N; ++i) {
        const int value = readHexByte(record[positions[i]], record[positions[i] + 1]);
        if (value < 0) return status::kBadFlag;
        out[i] = value;
    }
    return status::kOk;
}

// N numbers of `width` characters each from `start`, each from 0 to `largest`.
template <std::size_t N>
int readBoundedFields(std::string_view record, std::size_t start, std::size_t width,
                      std::int64_t largest, std::array<std::int64_t, N>& out) {
    for (std::size_t i = 0; i < N; ++i) {
        if (const int c = readBounded(record.substr(start + width * i, width), largest, out[i])) {
            return c;
        }
    }
    return status::kOk;
}

int checkHexFill(std::string_view fill) {
    const bool good = std::all_of(fill.begin(), fill.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
    return good ? status::kOk : status::kBadFlag;
}

int loadCashier(RegisterMemory& memory, const Request& request, std::string_view record) {
    const int number = itemNumber(request, 0, kCashierCount - 1);
    if (number < 0) return status::kBadIndex;
    if (record[2] != cashierChar(number)) return status::kBadStart;
    const std::string_view name = record.substr(3, kNameWidth);
    const std::string_view code = record.substr(21, 4);
    if (const int c = checkText(name)) return c;
    const bool codeDigits = std::all_of(code.begin(), code.end(),
                                        [](char c) { return c == ' ' || (c >= '0' && c <= '9'); });
    if (!codeDigits) return status::kBadDigits;
    memory.cashiers[number] = Cashier{std::string(name), std::string(code)};
    return status::kOk;
}

int loadDirectCode(RegisterMemory& memory, const Request& request, std::string_view record) {
    int slot = 0;
    if (const int c = recordItemNumber(request, 1, kDirectCodeCount, record.substr(2, 2), slot)) {
        return c;
    }
    const NumberField code = readNumberField(record.substr(4, 18));
    if (code.bad()) return status::kBadDigits;
    if (code.negative && code.magnitude > 0) return status::kValueTooLarge;
    memory.directCodes[slot - 1] = code.blank() ? 0 : code.magnitude;
    return status::kOk;
}

int loadLinkedCode(RegisterMemory& memory, std::string_view record) {
    const NumberField first = readNumberField(record.substr(2, 18));
    const NumberField second = readNumberField(record.substr(20, 18));
    if (first.bad() || second.bad()) return status::kBadDigits;
    if (!first.number() || first.negative || !isGoodsCode(first.magnitude)) {
        return status::kNoSuchItem;
    }
    if (second.blank() || second.magnitude == 0) {
        // A pair whose second code is 0 removes the link of the first.
        if (memory.linkedCodes.erase(first.magnitude) == 0) return status::kNoSuchItem;
        return status::kOk;
    }
    if (second.negative || !isGoodsCode(second.magnitude)) return status::kNoSuchItem;
    const bool known = memory.linkedCodes.count(first.magnitude) > 0;
    if (!known && memory.linkedCodes.size() >= memory.linkedCodeCapacity) {
        return status::kPluBaseFull;
    }
    memory.linkedCodes[first.magnitude] = second.magnitude;
    return status::kOk;
}

int loadCard(RegisterMemory& memory, const Request& request, std::string_view record) {
    const int number = itemNumber(request, 1, kMaxCardNumber);
    if (number < 0) return status::kBadIndex;
    if (record[2] < '0' || record[2] > '9') return status::kBadDigits;
    DiscountCard card;
    for (std::size_t i = 0; i < card.values.size(); ++i) {
        if (const int c = readBoundedInt(record.substr(3 + 3 * i, 3), 999, card.values[i]))
            return c;
    }
    if (const int c = readBoundedInt(record.substr(33, 2), 99, card.field11)) return c;
    if (const int c = readBoundedInt(record.substr(35, 1), 9, card.field12)) return c;
    if (const int c = checkText(record.substr(36, 6))) return c;
    card.field13 = std::string(record.substr(36, 6));
    if (const int c = readBoundedInt(record.substr(42, 2), 99, card.field14)) return c;
    if (const int c = readBoundedInt(record.substr(44, 1), 9, card.field15)) return c;
    if (const int c = readBoundedInt(record.substr(45, 2), 99, card.field16)) return c;
    memory.cards[number] = card;
    return status::kOk;
}

}  // namespace

int loadSetting(RegisterMemory& memory, const Request& request, std::string_view record) {
    const std::size_t length = recordLength(request.letter);
    if (length == 0) return status::kBadTask;
    if (record.size() != length) return status::kBadTransmission;

    switch (request.letter) {
        case 'A': {
            std::array<int, 7> values{};
            const std::array<std::size_t, 7> positions = {2, 4, 6, 8, 10, 12, 14};
            if (const int c = readHexValues(record, positions, values)) return c;
            memory.flags = values;
            return status::kOk;
        }
        case 's': {
            std::array<int, 9> values{};
            const std::array<std::size_t, 9> positions = {2, 4, 6, 8, 22, 24, 26, 28, 30};
            if (const int c = readHexValues(record, positions, values)) return c;
            if (const int c = checkHexFill(record.substr(10, 12))) return c;
            if (const int c = checkHexFill(record.substr(32, 10))) return c;
            memory.solvekFlags = values;
            return status::kOk;
        }
        case 'B':
        case 'C': {
            const std::string_view text = record.substr(2);
            if (const int c = checkReceiptText(text)) return c;
            (request.letter == 'B' ? memory.header : memory.footer) = std::string(text);
            return status::kOk;
        }
        case 'D':
            return loadCashier(memory, request, record);
        case 'E': {
            std::array<std::int64_t, kHaloCount> amounts{};
            if (const int c = readBoundedFields(record, 2, 10, kLargestAmount, amounts)) return c;
            memory.halo = amounts;
            return status::kOk;
        }
        case 'G': {
            std::array<std::int64_t, 4> rates{};
            std::array<std::int64_t, 4> amounts{};
            if (const int c = readBoundedFields(record, 2, 5, kLargestRate, rates)) return c;
            if (const int c = readBoundedFields(record, 22, 10, kLargestAmount, amounts)) return c;
            memory.discountRates = rates;
            memory.discountAmounts = amounts;
            return status::kOk;
        }
        case 'J':
            return loadDirectCode(memory, request, record);
        case 'K': {
            std::array<std::int64_t, kVatRateCount> rates{};
            if (const int c = readBoundedFields(record, 2, 4, 9999, rates)) return c;
            memory.vatRates = rates;
            return status::kOk;
        }
        case 'M':
        case 'N': {
            const std::string_view text = record.substr(2);
            if (const int c = checkText(text)) return c;
            (request.letter == 'M' ? memory.uni : memory.nip) = std::string(text);
            return status::kOk;
        }
        case 'h':
            return loadLinkedCode(memory, record);
        case 'j':
            return loadCard(memory, request, record);
        default:
            return status::kBadTask;
    }
}

}  // namespace lorvex::sim::detail
