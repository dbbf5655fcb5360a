#include "reports/report_fields.h"

#include "link/frame.h"
#include "text/numbers.h"

namespace lorvex {

std::string_view answerText(std::string_view buffer) {
    if (!buffer.empty()) {
        const auto last = static_cast<unsigned char>(buffer.back());
        if (last == ETX || last == ETB) buffer.remove_suffix(1);
    }
    return buffer;
}

StatusCode errorAnswerStatus(std::string_view answer) {
    const std::string_view digits = answerField(answer, 3, 2);
    return parseStatus(digits.size() > 0 ? digits[0] : '\0', digits.size() > 1 ? digits[1] : '\0');
}

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
