#include "reports/report_fields.h"

#include "link/register_link.h"
#include "text/numbers.h"

namespace lorvex {

std::string textField(std::string_view answer, std::size_t pos, std::size_t width) {
    std::string_view field = answerField(answer, pos, width);
    const std::size_t nul = field.find('\0');
    if (nul != std::string_view::npos) field = field.substr(0, nul);
    return std::string(field);
}

double numberField(std::string_view answer, std::size_t pos, std::size_t width) {
    return readDouble(answerField(answer, pos, width));
}

double moneyField(std::string_view answer, std::size_t pos, std::size_t width) {
    return numberField(answer, pos, width) * 0.01;
}

double signFactor(std::string_view answer, std::size_t pos) {
    return answerField(answer, pos, 1) == "+" ? 1.0 : -1.0;
}

}  // namespace lorvex
