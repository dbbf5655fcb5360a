#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvex {

// Answer texts of the reports are decoded by fixed positions counted from 0. Every reader here
// goes through answerField, so a field the received text does not reach reads as empty (0 as a
// number) and nothing beyond the received bytes is ever touched.

// The field copied out and cut at a NUL, the way the register's texts end.
std::string textField(std::string_view answer, std::size_t pos, std::size_t width);
// Decimal text read like atof; the register sends money as whole hundredths.
double numberField(std::string_view answer, std::size_t pos, std::size_t width);
double moneyField(std::string_view answer, std::size_t pos, std::size_t width);
// +1.0 for a '+' at the position, -1.0 for anything else (a blank or a missing character too).
double signFactor(std::string_view answer, std::size_t pos);

}  // namespace lorvex
