#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/charset.h"

namespace lorvex {

inline constexpr int kLastCashier = 29;  // SOLVEK registers; ER-ORVEX ones keep 0 to 7
inline constexpr int kLastOrvexCashier = 7;
inline constexpr std::size_t kCashierNameWidth = 18;
inline constexpr std::size_t kCashierCodeWidth = 4;

// The fields of a "KAS" line from position 3: number, name, code. The code is the last field and
// ends with the line.
struct CashierFields {
    int number = 0;
    std::string name;
    std::string code;
};
// Nothing when the number field holds other text.
std::optional<CashierFields> cashierFromLine(std::string_view line);

// The load record "DD", the number (0 to 9 as a digit, 10 to 29 as the letters 'A' to 'T'), the
// name cut or blank-filled to 18 and the code to 4. Empty for a number outside 0 to 29.
std::optional<std::string> cashierRecord(int number, std::string_view name, std::string_view code);

// The line "KAS%02d,%-18s,%4s\n" of cashier `number` from a data answer: the name at 3 (18
// characters, converted to the mode's letters, ended by the register's 0xFF fill), the code at 21.
std::string cashierLine(int number, std::string_view answer, CharsetMode mode);

}  // namespace lorvex
