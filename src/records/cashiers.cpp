#include "records/cashiers.h"

#include "records/cashier_format.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {

StatusCode transferCashier(Run& run, Direction direction, int number, std::string& name,
                           std::string& code) {
    if (direction == Direction::Dump) {
        return dumpAnswer(run, buildRequest('D', 0, number, number), [&](std::string_view answer) {
            return std::optional<std::string>(
                cashierLine(number, answer, run.settings.charsetMode));
        });
    }
    const std::optional<std::string> record = cashierRecord(number, name, code);
    if (!record) return kBadFileData;
    return sendLoadRecord(run, buildRequest('D', 1, number, number), *record, "KAS>");
}

LineResult loadCashierLine(Run& run, std::string_view line, CashierCodeRule rule) {
    if (!lineHasPrefix(line, "KAS")) return LineResult::skipped();
    std::optional<CashierFields> read = cashierFromLine(line);
    if (!read) return LineResult::rejected();
    CashierFields& cashier = *read;
    if (cashier.name.size() > kCashierNameWidth) cashier.name.resize(kCashierNameWidth);
    convertText(cashier.name, 1, run.settings.charsetMode);
    const int codeValue = readInt(cashier.code);
    if (run.settings.traceLevel >= 1) {
        run.trace(1, format("%d,", cashier.number) + cashier.name + format(",%d\n", codeValue),
                  TextEncoding::Cp852);
    }
    const bool wanted = rule == CashierCodeRule::PositiveOnly ? codeValue > 0 : codeValue != 0;
    if (!wanted) return LineResult::skipped();
    if (cashier.number < 0 || cashier.number > kLastCashier) return LineResult::rejected();
    return LineResult::sent(
        transferCashier(run, Direction::Load, cashier.number, cashier.name, cashier.code));
}

}  // namespace lorvex
