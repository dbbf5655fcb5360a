#include "core/answer.h"

#include "link/frame.h"

namespace lorvex {

std::string_view answerText(std::string_view buffer) {
    if (!buffer.empty()) {
        const auto last = static_cast<unsigned char>(buffer.back());
        if (last == ETX || last == ETB) buffer.remove_suffix(1);
    }
    return buffer;
}

bool isDataAnswer(std::string_view answer) { return !answer.empty() && answer[0] == 'D'; }

bool isErrorAnswer(std::string_view answer) { return !answer.empty() && answer[0] == 'E'; }

StatusCode errorAnswerStatus(std::string_view answer) {
    const std::string_view digits = answerField(answer, 3, 2);
    return parseStatus(digits.size() > 0 ? digits[0] : '\0', digits.size() > 1 ? digits[1] : '\0');
}

}  // namespace lorvex
