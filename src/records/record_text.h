#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

// Fixed-width pieces of the register's records and of the exchange-file lines.

// "%-*s": the text, blank-filled on the right to at least `width`.
std::string padRight(std::string_view text, std::size_t width);
// "%-*.*s": the text cut or blank-filled to exactly `width`.
std::string fitRight(std::string_view text, std::size_t width);
// "%*s": the text, blank-filled on the left to at least `width`.
std::string padLeft(std::string_view text, std::size_t width);

// A whole number of hundredths in exactly `width` characters ("%*.0f" or "%0*.0f" of value x 100).
// Empty when the value is not finite or needs more characters: the register reads its records
// by position, so a wider field would shift every field after it.
std::optional<std::string> hundredthsField(double value, int width, bool zeroFilled);

// A non-negative integer in exactly `digits` zero-filled digits ("%0*d"); empty when it does not
// fit.
std::optional<std::string> digitsField(int value, int digits);

// A goods code, read the way atof reads a number but exact for whole numbers of up to 18 digits
// (a double would change the last digits of a long code). Decimal forms are rounded to a whole
// number. Text without a number reads as 0. Empty when the value is not finite or needs more
// than 18 digits.
std::optional<long long> readGoodsCode(std::string_view text);

// A goods code right-aligned in 18 characters ("%18.0f"); empty when it needs more.
std::optional<std::string> goodsCodeField(long long code);

}  // namespace lorvex
