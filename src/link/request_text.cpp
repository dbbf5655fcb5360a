#include <string>
#include <string_view>

#include "link/register_link.h"
#include "text/format.h"

namespace lorvex {

std::string buildRequest(char letter, int mode, long first, long second) {
    return format("S%c%d%018lld%018lld", letter, mode, static_cast<long long>(first),
                  static_cast<long long>(second));
}

int parseStatus(char first, char second) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    constexpr int kNotADigit = 17;
    const auto value = [&](char c) {
        const std::size_t at = kDigits.find(c);
        return at == std::string_view::npos ? kNotADigit : static_cast<int>(at);
    };
    return 16 * value(first) + value(second);
}

}  // namespace lorvex
