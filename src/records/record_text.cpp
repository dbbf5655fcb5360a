#include "records/record_text.h"

#include <cctype>
#include <cmath>

#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

constexpr int kGoodsCodeDigits = 18;
constexpr double kGoodsCodeLimit = 1e18;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string padRight(std::string_view text, std::size_t width) {
    std::string out(text);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

std::string fitRight(std::string_view text, std::size_t width) {
    return padRight(text.substr(0, width), width);
}

std::string padLeft(std::string_view text, std::size_t width) {
    std::string out;
    if (text.size() < width) out.assign(width - text.size(), ' ');
    out.append(text);
    return out;
}

std::optional<std::string> hundredthsField(double value, int width, bool zeroFilled) {
    const double hundredths = value * 100;
    if (!std::isfinite(hundredths)) return std::nullopt;
    std::string field =
        zeroFilled ? format("%0*.0f", width, hundredths) : format("%*.0f", width, hundredths);
    if (field.size() != static_cast<std::size_t>(width)) return std::nullopt;
    return field;
}

std::optional<std::string> digitsField(int value, int digits) {
    if (value < 0) return std::nullopt;
    std::string field = format("%0*d", digits, value);
    if (field.size() != static_cast<std::size_t>(digits)) return std::nullopt;
    return field;
}

std::optional<long long> readGoodsCode(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
    std::size_t digitsStart = i;
    if (digitsStart < text.size() && (text[digitsStart] == '+' || text[digitsStart] == '-')) {
        ++digitsStart;
    }
    std::size_t end = digitsStart;
    while (end < text.size() && isDigit(text[end])) ++end;
    const bool decimalForm =
        end < text.size() && (text[end] == '.' || text[end] == 'e' || text[end] == 'E');
    if (end > digitsStart && !decimalForm) {
        // A plain whole number: taken digit by digit, exactly.
        std::size_t first = digitsStart;
        while (first + 1 < end && text[first] == '0') ++first;
        if (end - first > static_cast<std::size_t>(kGoodsCodeDigits)) return std::nullopt;
        long long value = 0;
        for (std::size_t k = first; k < end; ++k) value = value * 10 + (text[k] - '0');
        return text[i] == '-' ? -value : value;
    }
    const double value = std::nearbyint(readDouble(text));
    if (!std::isfinite(value) || std::fabs(value) >= kGoodsCodeLimit) return std::nullopt;
    return static_cast<long long>(value);
}

std::optional<std::string> goodsCodeField(long long code) {
    std::string field = format("%*lld", kGoodsCodeDigits, code);
    if (field.size() != static_cast<std::size_t>(kGoodsCodeDigits)) return std::nullopt;
    return field;
}

}  // namespace lorvex
