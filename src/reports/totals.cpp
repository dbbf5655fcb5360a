#include "reports/totals.h"

#include <optional>
#include <string>

#include "reports/report_exchange.h"
#include "reports/totals_lines.h"

namespace lorvex {
namespace {

// One request with both numbers set to `number`, one answer, and the line `decode` makes of it.
template <class Decode>
StatusCode readOneAnswer(Run& run, char letter, int mode, int number, Decode decode) {
    if (mode != 0 && mode != 2) return 0;
    const ReportAnswer answer = requestReport(run, buildRequest(letter, mode, number, number));
    if (!answer.data) return answer.status;
    const std::optional<std::string> line = decode(*answer.data);
    if (line) run.write(*line);
    return 0;
}

}  // namespace

StatusCode readRegisterReport(Run& run, int mode) {
    return readOneAnswer(run, 'R', mode, 0, [](std::string_view answer) {
        return std::optional<std::string>(registerReportLine(answer));
    });
}

StatusCode readDepartmentReport(Run& run, int mode, int department) {
    return readOneAnswer(run, 'T', mode, department, [&](std::string_view answer) {
        return std::optional<std::string>(
            departmentReportLine(answer, department, run.settings.charsetMode));
    });
}

StatusCode readHourlyReport(Run& run, int mode, int hour) {
    return readOneAnswer(run, 'l', mode, hour, [&](std::string_view answer) {
        return std::optional<std::string>(hourlyReportLine(answer, hour));
    });
}

StatusCode readCashierReport(Run& run, int mode, int cashier) {
    return readOneAnswer(run, 'n', mode, cashier, [&](std::string_view answer) {
        return cashierReportLine(answer, cashier);
    });
}

StatusCode readDailyReport(Run& run, int mode) {
    return readOneAnswer(run, 'w', mode, 0, [](std::string_view answer) {
        return std::optional<std::string>(dailyReportLine(answer));
    });
}

StatusCode readCashReport(Run& run, int mode) {
    return readOneAnswer(run, 'o', mode, 0, [](std::string_view answer) {
        return std::optional<std::string>(cashReportLine(answer));
    });
}

StatusCode readCardReport(Run& run, int mode) {
    return readOneAnswer(run, 'k', mode, 0, [](std::string_view answer) {
        return std::optional<std::string>(cardReportLine(answer));
    });
}

StateAnswer readStateDigit(Run& run) {
    const ReportAnswer answer = requestReport(run, buildRequest('p', 0, 0, 0));
    if (!answer.data) return {answer.status, 0};
    return {0, stateDigit(*answer.data)};
}

}  // namespace lorvex
