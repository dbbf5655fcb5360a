#include "text/fields.h"

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

std::string_view answerField(std::string_view answer, std::size_t pos, std::size_t width) {
    if (pos >= answer.size()) return {};
    return answer.substr(pos, width);
}

char answerChar(std::string_view answer, std::size_t pos, char missing) {
    const std::string_view field = answerField(answer, pos, 1);
    return field.empty() ? missing : field[0];
}

std::string textField(std::string_view answer, std::size_t pos, std::size_t width) {
    return wireText(answerField(answer, pos, width));
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

std::string wireText(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

char letterOf(std::string_view field) {
    return field.empty() || field[0] == '\0' ? ' ' : field[0];
}

std::string padRight(std::string_view text, std::size_t width) {
    std::string out(text);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

std::string fitRight(std::string_view text, std::size_t width, char fill) {
    std::string out = wireText(text.substr(0, width));
    out.resize(width, fill);
    return out;
}

std::string padLeft(std::string_view text, std::size_t width) {
    std::string out;
    if (text.size() < width) out.assign(width - text.size(), ' ');
    out.append(text);
    return out;
}

std::optional<std::string> fitted(const char* fmt, double value, std::size_t width) {
    if (!std::isfinite(value)) return std::nullopt;
    std::string text = format(fmt, value);
    if (text.size() > width) return std::nullopt;
    return text;
}

bool isTwoDigit(int value) {
    return value >= 0 && value <= 99;
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

bool lineHasPrefix(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

std::string_view FieldCursor::next() {
    const std::size_t comma = line_.find(',', pos_);
    const std::size_t end = comma == std::string_view::npos ? line_.size() : comma;
    const std::string_view field = line_.substr(pos_, end - pos_);
    pos_ = comma == std::string_view::npos ? line_.size() : comma + 1;
    return field;
}

bool isNumberText(std::string_view field) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!field.empty() && blank(field.front())) field.remove_prefix(1);
    while (!field.empty() && blank(field.back())) field.remove_suffix(1);
    if (field.empty()) return true;
    if (field[0] == '+' || field[0] == '-') field.remove_prefix(1);
    bool digits = false;
    bool point = false;
    for (const char c : field) {
        if (c == '.' && !point) {
            point = true;
        } else if (isDigit(c)) {
            digits = true;
        } else {
            return false;
        }
    }
    return digits;
}

std::string_view FieldCursor::nextNumber() {
    const std::string_view field = next();
    if (!isNumberText(field)) numbersRead_ = false;
    return field;
}

int FieldCursor::nextInt() {
    return readInt(nextNumber());
}

double FieldCursor::nextDouble() {
    return readDouble(nextNumber());
}

std::optional<long long> FieldCursor::nextGoodsCode() {
    return readGoodsCode(nextNumber());
}

}  // namespace lorvex
