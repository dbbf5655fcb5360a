#include <string>

#include "sim/model_parts.h"
#include "sim/status_codes.h"
#include "sim/wire_fields.h"

namespace lorvex::sim::detail {
namespace {

std::string cardText(const DiscountCard& card) {
    std::string text = "Dj0";
    for (const int value : card.values) text += zeroPadded(value, 3);
    text += zeroPadded(card.field11, 2);
    text += zeroPadded(card.field12, 1);
    text += leftText(card.field13, 6);
    text += zeroPadded(card.field14, 2);
    text += zeroPadded(card.field15, 1);
    text += zeroPadded(card.field16, 2);
    return text;
}

std::string flagsText(const RegisterMemory& memory) {
    std::string text = "DA";
    for (const int flag : memory.flags) text += hexByte(flag);
    return text;
}

std::string solvekFlagsText(const RegisterMemory& memory) {
    std::string text = "Ds";
    for (std::size_t i = 0; i < 4; ++i) text += hexByte(memory.solvekFlags[i]);
    text += std::string(12, '0');
    for (std::size_t i = 4; i < 9; ++i) text += hexByte(memory.solvekFlags[i]);
    text += std::string(10, '0');
    return text;
}

std::string discountsText(const RegisterMemory& memory) {
    std::string text = "DG";
    for (const std::int64_t rate : memory.discountRates) text += zeroPadded(rate, 5);
    for (const std::int64_t amount : memory.discountAmounts) text += zeroPadded(amount, 10);
    return text;
}

}  // namespace

DumpAnswer dumpSetting(const RegisterMemory& memory, const Request& request) {
    switch (request.letter) {
        case 'A':
            return one(flagsText(memory));
        case 's':
            return one(solvekFlagsText(memory));
        case 'B':
            return one("DB" + memory.header);
        case 'C':
            return one("DC" + memory.footer);
        case 'D': {
            const int number = itemNumber(request, 0, kCashierCount - 1);
            if (number < 0) return refused(status::kBadIndex);
            const Cashier& cashier = memory.cashiers[number];
            return one(std::string("DD") + cashierChar(number) + cashier.name + cashier.code);
        }
        case 'E': {
            std::string text = "DE";
            for (const std::int64_t amount : memory.halo) text += rightNumber(amount, 10);
            return one(text);
        }
        case 'G':
            return one(discountsText(memory));
        case 'J': {
            const int slot = itemNumber(request, 1, kDirectCodeCount);
            if (slot < 0) return refused(status::kBadIndex);
            const std::uint64_t code = memory.directCodes[slot - 1];
            const std::string codeField =
                code == 0 ? std::string(18, ' ') : rightNumber(static_cast<std::int64_t>(code), 18);
            return one("DJ" + zeroPadded(slot, 2) + codeField);
        }
        case 'K': {
            std::string text = "DK";
            for (const std::int64_t rate : memory.vatRates) text += zeroPadded(rate, 4);
            return one(text);
        }
        case 'M':
            return one("DM" + memory.uni);
        case 'N':
            return one("DN" + memory.nip);
        case 'h': {
            DumpAnswer answer;
            for (const auto& [first, second] : memory.linkedCodes) {
                if (!inRange(request, first)) continue;
                answer.blocks.push_back("Dh" + rightNumber(static_cast<std::int64_t>(first), 18) +
                                        rightNumber(static_cast<std::int64_t>(second), 18));
            }
            return answer;
        }
        case 'j': {
            // Numbers 0 and 0 (or blanks) ask for every card.
            const bool all = !(request.first.number() && request.first.magnitude > 0) &&
                             !(request.second.number() && request.second.magnitude > 0);
            DumpAnswer answer;
            for (const auto& [number, card] : memory.cards) {
                if (!all && !inRange(request, static_cast<std::uint64_t>(number))) continue;
                answer.blocks.push_back(cardText(card));
            }
            return answer;
        }
        default:
            return refused(status::kBadTask);
    }
}

DumpAnswer dumpGoods(const RegisterMemory& memory, const Request& request) {
    if (request.letter == 'H') {
        const int number = itemNumber(request, 1, kDepartmentCount);
        if (number < 0) return refused(status::kBadIndex);
        const Department& department = memory.departments[number - 1];
        return one("DH1" + zeroPadded(number, 2) + department.name +
                   rightNumber(department.amount, 10) + department.vat +
                   leftText(department.flags, 4) + zeroPadded(department.trailing, 2));
    }
    DumpAnswer answer;
    for (const auto& [code, plu] : memory.plus) {
        if (!inRange(request, code)) continue;
        const std::string tandem = plu.tandem == 0
                                       ? std::string(18, ' ')
                                       : rightNumber(static_cast<std::int64_t>(plu.tandem), 18);
        answer.blocks.push_back("DI1" + codeText(code) + plu.name + rightNumber(plu.price, 10) +
                                plu.vat + zeroPadded(plu.type, 1) + leftText(plu.flags, 5) +
                                zeroPadded(plu.department, 2) + zeroPadded(plu.halo, 2) + tandem);
    }
    return answer;
}

}  // namespace lorvex::sim::detail
