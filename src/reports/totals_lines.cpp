#include "reports/totals_lines.h"

#include "link/register_link.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

// Appends `count` fields of `width` characters starting at `first`, each printed with `fmt`
// from its number times `scale`.
void appendFields(std::string& line, std::string_view answer, std::size_t first, std::size_t width,
                  int count, double scale, const char* fmt) {
    for (int i = 0; i < count; ++i) {
        const std::size_t pos = first + width * static_cast<std::size_t>(i);
        line += format(fmt, numberField(answer, pos, width) * scale);
    }
}

}  // namespace

std::string registerReportLine(std::string_view answer) {
    std::string line = "PLT";
    appendFields(line, answer, 3, 20, 8, 0.01, ",%20.2f");
    return line + "\n";
}

std::string departmentReportLine(std::string_view answer, int department, CharsetMode mode) {
    std::string name = textField(answer, 4, 18);
    convertText(name, 0, mode);
    std::string line = format("PLD%02d", department);
    line += format(",%18s", name.c_str());
    line += format(",%20.2f", moneyField(answer, 22, 20));
    line += format(",%5.2f\n", moneyField(answer, 42, 5));
    return line;
}

std::string hourlyReportLine(std::string_view answer, int hour) {
    std::string line = format("PLH%02d", hour);
    line += format(",%0.2f", moneyField(answer, 4, 10));
    line += format(",%0.0f", numberField(answer, 14, 10));
    line += format(",%0.0f", numberField(answer, 24, 10));
    line += format(",%0.2f\n", moneyField(answer, 35, 10) * signFactor(answer, 34));
    return line;
}

std::optional<std::string> cashierReportLine(std::string_view answer, int cashier) {
    const double sign = signFactor(answer, 3);
    if (sign < 0) return std::nullopt;
    std::string line = format("PLK%02d", cashier);
    line += format(",%0.2f", moneyField(answer, 4, 20) * sign);
    appendFields(line, answer, 24, 20, 10, 0.01, ",%0.2f");
    appendFields(line, answer, 224, 10, 4, 1.0, ",%0.0f");
    appendFields(line, answer, 264, 20, 2, 0.01, ",%0.2f");
    return line + "\n";
}

std::string dailyReportLine(std::string_view answer) {
    std::string line = "PLD";
    line += format(",%s", textField(answer, 3, 6).c_str());
    line += format(",%d", readInt(answerField(answer, 10, 10)));
    appendFields(line, answer, 30, 10, 9, 0.01, ",%0.2f");
    line += format(",%0.0f", numberField(answer, 110, 5));
    line += format(",%0.0f", numberField(answer, 115, 5));
    appendFields(line, answer, 121, 10, 4, 1.0, ",%0.0f");
    return line + "\n";
}

std::string cashReportLine(std::string_view answer) {
    std::string line = format("PLP%02d", 0);
    line += format(",%0.2f", moneyField(answer, 3, 20) * signFactor(answer, 2));
    appendFields(line, answer, 23, 20, 10, 0.01, ",%0.2f");
    appendFields(line, answer, 223, 10, 4, 1.0, ",%0.0f");
    appendFields(line, answer, 263, 20, 2, 0.01, ",%20.2f");
    return line + "\n";
}

std::string cardReportLine(std::string_view answer) {
    std::string line = format("PLK%02d", 0);
    line += format(",%18s", textField(answer, 3, 18).c_str());
    line += format(",%0.1f\n", numberField(answer, 21, 3) * 0.1);
    return line;
}

int stateDigit(std::string_view answer) {
    return readInt(answerField(answer, 2, 1));
}

}  // namespace lorvex
