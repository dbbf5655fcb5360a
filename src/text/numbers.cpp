#include "text/numbers.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <string>

namespace lorvex {
namespace {

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

int readInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double readDouble(std::string_view text) {
    // strtod needs a terminated text; a number is never longer than a field, so a bounded copy
    // does.
    constexpr std::size_t kLongest = 400;
    const std::string copy(text.substr(0, kLongest));
    return std::strtod(copy.c_str(), nullptr);
}

}  // namespace lorvex
