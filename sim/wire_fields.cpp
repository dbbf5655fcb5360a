#include "sim/wire_fields.h"

#include <algorithm>
#include <limits>

namespace lorvex::sim {

std::int64_t NumberField::value() const {
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    const std::uint64_t bounded = std::min(magnitude, kMax);
    const auto signedValue = static_cast<std::int64_t>(bounded);
    return negative ? -signedValue : signedValue;
}

NumberField readNumberField(std::string_view field) {
    NumberField result;
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    if (i == field.size()) {
        result.kind = NumberField::Kind::Blank;
        return result;
    }
    if (field[i] == '-') {
        result.negative = true;
        ++i;
    }
    const std::size_t firstDigit = i;
    std::uint64_t magnitude = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') return NumberField{};
        // 19 digits still fit; more than that is no number the register holds.
        if (i - firstDigit >= 19) return NumberField{};
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (i == firstDigit) return NumberField{};
    result.kind = NumberField::Kind::Number;
    result.magnitude = magnitude;
    return result;
}

bool isPrintableText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F;
    });
}

bool isBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

std::int64_t magnitudeOf(std::int64_t value) {
    if (value >= 0) return value;
    if (value == std::numeric_limits<std::int64_t>::min()) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return -value;
}

std::int64_t largestOfDigits(int digits) {
    std::int64_t largest = 0;
    for (int i = 0; i < std::clamp(digits, 1, 18); ++i) largest = largest * 10 + 9;
    return largest;
}

std::string rightNumber(std::int64_t value, int width) {
    const std::int64_t largest = largestOfDigits(width);
    const std::int64_t smallest = width > 1 ? -largestOfDigits(width - 1) : 0;
    const std::int64_t clamped = std::clamp(value, smallest, largest);
    std::string digits = std::to_string(clamped);
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    if (digits.size() < w) digits.insert(0, w - digits.size(), ' ');
    return digits;
}

std::string zeroPadded(std::int64_t value, int width) {
    const std::int64_t clamped = std::clamp<std::int64_t>(value, 0, largestOfDigits(width));
    std::string digits = std::to_string(clamped);
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    if (digits.size() < w) digits.insert(0, w - digits.size(), '0');
    return digits;
}

std::string leftText(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string hexByte(int value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const int v = std::clamp(value, 0, 255);
    return {kDigits[v >> 4], kDigits[v & 0x0F]};
}

int readHexByte(char high, char low) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    const int h = digit(high);
    const int l = digit(low);
    if (h < 0 || l < 0) return -1;
    return h * 16 + l;
}

}  // namespace lorvex::sim
