#include <string>
#include <vector>

#include "sim/model_parts.h"
#include "sim/status_codes.h"
#include "sim/wire_fields.h"

namespace lorvex::sim::detail {
namespace {

char signOf(std::int64_t value) {
    return value < 0 ? '-' : '+';
}

std::string money20(std::int64_t value) {
    return rightNumber(value, 20);
}

std::string cashText(const CashTotals& totals, char sign) {
    std::string text(1, sign);
    text += money20(magnitudeOf(totals.total));
    for (const std::int64_t amount : totals.amounts) text += money20(amount);
    for (const std::int64_t count : totals.counts) text += rightNumber(count, 10);
    for (const std::int64_t amount : totals.extra) text += money20(amount);
    return text;
}

bool cashierInUse(const Cashier& cashier) {
    return cashier.code != "0000" && !isBlank(cashier.code);
}

// Attaches the zeroing that a report read with mode 2 asks for.
DumpAnswer withZeroing(DumpAnswer answer, const Request& request,
                       std::function<void(RegisterMemory&)> zero) {
    if (request.mode == 2) answer.onDelivered = std::move(zero);
    return answer;
}

// The zeroing of a goods report clears the counters of the goods it carried, and no others.
template <typename Counters>
DumpAnswer withGoodsZeroing(DumpAnswer answer, const Request& request,
                            std::vector<std::uint64_t> reported, Counters Plu::*counters) {
    return withZeroing(std::move(answer), request,
                       [reported = std::move(reported), counters](RegisterMemory& m) {
                           for (const std::uint64_t code : reported) {
                               const auto found = m.plus.find(code);
                               if (found != m.plus.end()) found->second.*counters = {};
                           }
                       });
}

DumpAnswer pluSales(const RegisterMemory& memory, const Request& request) {
    DumpAnswer answer;
    std::vector<std::uint64_t> reported;
    for (const auto& [code, plu] : memory.plus) {
        if (!inRange(request, code)) continue;
        if (plu.sales.value == 0 && plu.sales.quantity == 0) continue;
        answer.blocks.push_back("DU" + codeText(code) + plu.name + money20(plu.sales.value) +
                                rightNumber(plu.sales.quantity, 20) + rightNumber(plu.price, 10));
        reported.push_back(code);
    }
    return withGoodsZeroing(std::move(answer), request, std::move(reported), &Plu::sales);
}

DumpAnswer packaging(const RegisterMemory& memory, const Request& request) {
    DumpAnswer answer;
    std::vector<std::uint64_t> reported;
    for (const auto& [code, plu] : memory.plus) {
        if (!inRange(request, code)) continue;
        const Packaging& p = plu.packaging;
        if (p.issuedCount == 0 && p.returnedCount == 0 && p.issuedValue == 0 &&
            p.returnedValue == 0) {
            continue;
        }
        answer.blocks.push_back("Dd" + codeText(code) + plu.name + money20(p.issuedValue) +
                                money20(p.issuedCount) + money20(p.returnedValue) +
                                money20(p.returnedCount));
        reported.push_back(code);
    }
    return withGoodsZeroing(std::move(answer), request, std::move(reported), &Plu::packaging);
}

std::string dailyText(const DailyTotals& daily) {
    std::string text = "Dw ";
    text += leftText(daily.date, 6);
    text += ' ';
    text += rightNumber(daily.number, 10);
    text += std::string(10, ' ');
    for (const std::int64_t amount : daily.amounts) text += rightNumber(amount, 10);
    text += rightNumber(daily.receipts, 5);
    text += rightNumber(daily.cancelled, 5);
    text += ' ';
    for (const std::int64_t count : daily.counts) text += rightNumber(count, 10);
    return text;
}

}  // namespace

DumpAnswer dumpReport(const RegisterMemory& memory, const Request& request) {
    switch (request.letter) {
        case 'R': {
            std::string text = "DR" + std::to_string(request.mode);
            for (const std::int64_t total : memory.registerTotals) text += money20(total);
            return withZeroing(one(text), request,
                               [](RegisterMemory& m) { m.registerTotals = {}; });
        }
        case 'T': {
            const int number = itemNumber(request, 1, kDepartmentCount);
            if (number < 0) return refused(status::kBadIndex);
            const Department& department = memory.departments[number - 1];
            const int vatIndex = department.vat - 'A';
            const std::int64_t rate =
                vatIndex >= 0 && vatIndex < kVatRateCount ? memory.vatRates[vatIndex] : 0;
            return withZeroing(
                one("DT" + zeroPadded(number, 2) + department.name + money20(department.sales) +
                    zeroPadded(rate, 5)),
                request, [number](RegisterMemory& m) { m.departments[number - 1].sales = 0; });
        }
        case 'l': {
            const int hour = itemNumber(request, 0, 23);
            if (hour < 0) return refused(status::kBadIndex);
            const HourSales& sales = memory.hours[hour];
            return withZeroing(
                one("Dl" + zeroPadded(hour, 2) + rightNumber(sales.amount, 10) +
                    rightNumber(sales.receipts, 10) + rightNumber(sales.items, 10) +
                    signOf(sales.corrections) + rightNumber(magnitudeOf(sales.corrections), 10)),
                request, [hour](RegisterMemory& m) { m.hours[hour] = {}; });
        }
        case 'n': {
            const int number = itemNumber(request, 0, kCashierCount - 1);
            if (number < 0) return refused(status::kBadIndex);
            const CashTotals& totals = memory.cashierTotals[number];
            // A place not in use answers with a blank sign: the PC passes it over.
            const char sign = cashierInUse(memory.cashiers[number]) ? signOf(totals.total) : ' ';
            const char place = static_cast<char>(number < 10 ? '0' + number : 'A' + (number - 10));
            return withZeroing(one(std::string("Dn") + place + cashText(totals, sign)), request,
                               [number](RegisterMemory& m) { m.cashierTotals[number] = {}; });
        }
        case 'w':
            return withZeroing(one(dailyText(memory.daily)), request, [](RegisterMemory& m) {
                const std::string date = m.daily.date;
                const int next = m.daily.number + 1;
                m.daily = {};
                m.daily.date = date;
                m.daily.number = next;
            });
        case 'o':
            return withZeroing(one("Do" + cashText(memory.cash, signOf(memory.cash.total))),
                               request, [](RegisterMemory& m) { m.cash = {}; });
        case 'k':
            return withZeroing(one("Dk " + rightNumber(memory.cardTotals.sales, 18) +
                                   zeroPadded(memory.cardTotals.averageDiscountTenths, 3)),
                               request, [](RegisterMemory& m) { m.cardTotals = {}; });
        case 'p':
            return one("Dp" + zeroPadded(memory.stateDigit, 1));
        case 'U':
            return pluSales(memory, request);
        case 'd':
            return packaging(memory, request);
        default:
            return refused(status::kBadTask);
    }
}

}  // namespace lorvex::sim::detail
