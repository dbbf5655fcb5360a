#include "sim/request.h"

#include <cstring>

#include "sim/status_codes.h"

namespace lorvex::sim {
namespace {

constexpr std::size_t kNumberWidth = 18;

}  // namespace

LetterRules rulesOf(char letter) {
    LetterRules rules;
    if (letter != 0 && std::strchr("AsBCDEGJKMNhjHI", letter) != nullptr) {
        rules.known = true;
        rules.loadable = true;
        rules.multiBlock = letter == 'h' || letter == 'j' || letter == 'I';
    } else if (letter != 0 && std::strchr("RTlnwokUd", letter) != nullptr) {
        rules.known = true;
        rules.zeroable = true;
        rules.multiBlock = letter == 'U' || letter == 'd';
    } else if (letter == 'p') {
        rules.known = true;
    }
    return rules;
}

int parseRequest(std::string_view text, Request& out) {
    out = Request{};
    out.text = std::string(text);
    // 'S', the letter, at least one mode digit and the two numbers.
    if (text.size() < 3 + 2 * kNumberWidth || text[0] != 'S') return status::kBadTransmission;
    out.letter = text[1];
    const LetterRules rules = rulesOf(out.letter);
    if (!rules.known) return status::kBadTask;

    const std::string_view modeText = text.substr(2, text.size() - 2 - 2 * kNumberWidth);
    const NumberField mode = readNumberField(modeText);
    if (!mode.number() || modeText.front() == ' ' || mode.magnitude > 9) {
        return status::kBadTransmission;
    }
    out.mode = static_cast<int>(mode.value());
    const bool allowed =
        out.mode == 0 || (out.mode == 1 && rules.loadable) || (out.mode == 2 && rules.zeroable);
    if (!allowed) return status::kBadTransmission;

    out.first = readNumberField(text.substr(text.size() - 2 * kNumberWidth, kNumberWidth));
    out.second = readNumberField(text.substr(text.size() - kNumberWidth, kNumberWidth));
    if (out.first.bad() || out.second.bad()) return status::kBadStart;
    return status::kOk;
}

}  // namespace lorvex::sim
