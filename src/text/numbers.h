#pragma once

#include <string_view>

namespace lorvex {

// Decimal text to an integer the way atoi reads it: leading blanks, an optional sign, digits up to
// the first other character; 0 when there are none. Values beyond the int range saturate instead
// of overflowing.
int readInt(std::string_view text);

// Decimal text to a double the way atof reads it (leading blanks, sign, digits, point, exponent);
// 0 when there is no number. Never reads past the view.
double readDouble(std::string_view text);

}  // namespace lorvex
