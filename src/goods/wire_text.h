#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "link/register_link.h"
#include "text/format.h"

namespace lorvex {

// One character of an answer, or `missing` where the answer does not reach.
inline char answerChar(std::string_view answer, std::size_t pos, char missing = ' ') {
    const std::string_view field = answerField(answer, pos, 1);
    return field.empty() ? missing : field[0];
}

// A text as the record carries it: a zero byte cannot travel in a frame, so the text ends there.
inline std::string wireText(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

// The first character of a field as a record's letter; a space when the field is empty.
inline char letterOf(std::string_view field) {
    return field.empty() || field[0] == '\0' ? ' ' : field[0];
}

// A number in a printf format, or nothing when it is not finite or needs more than `width`
// characters: the record's layout never shifts.
inline std::optional<std::string> fitted(const char* fmt, double value, std::size_t width) {
    if (!std::isfinite(value)) return std::nullopt;
    std::string text = format(fmt, value);
    if (text.size() > width) return std::nullopt;
    return text;
}

inline bool isTwoDigit(int value) {
    return value >= 0 && value <= 99;
}

}  // namespace lorvex
