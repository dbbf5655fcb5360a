#include "records/cashier_format.h"

#include "link/register_link.h"
#include "text/fields.h"
#include "text/format.h"

namespace lorvex {

std::optional<CashierFields> cashierFromLine(std::string_view line) {
    FieldCursor fields(line, 3);
    CashierFields cashier;
    cashier.number = fields.nextInt();
    cashier.name = std::string(fields.next());
    cashier.code = std::string(fields.next());
    return fields.ifNumbersRead(cashier);
}

std::optional<std::string> cashierRecord(int number, std::string_view name, std::string_view code) {
    if (number < 0 || number > kLastCashier) return std::nullopt;
    std::string record = "DD";
    record += number < 10 ? static_cast<char>('0' + number) : static_cast<char>(number + 55);
    record += fitRight(name, kCashierNameWidth);
    record += fitRight(code, kCashierCodeWidth);
    return record;
}

std::string cashierLine(int number, std::string_view answer, CharsetMode mode) {
    std::string name(answerField(answer, 3, kCashierNameWidth));
    convertText(name, 0, mode);
    const std::size_t fill = name.find(static_cast<char>(0xFF));
    if (fill != std::string::npos) name.resize(fill);
    std::string line = format("KAS%02d,", number);
    line += padRight(name, kCashierNameWidth);
    line += ',';
    line += padLeft(answerField(answer, 21, kCashierCodeWidth), kCashierCodeWidth);
    line += '\n';
    return line;
}

}  // namespace lorvex
