#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

// Four percentage rates, then four amounts, in the register's order.
using DiscountSettings = std::array<double, 8>;

// "DG", the rates as "%05.0f" and the amounts as "%010.0f" of the value x 100 (62 characters);
// empty when a value does not fit its places.
std::optional<std::string> discountsRecord(const DiscountSettings& values);

// The values of a data answer: rates five characters each from position 2, amounts ten each
// from position 22, in hundredths. Empty when the answer is too short to hold them all.
std::optional<DiscountSettings> discountsFromAnswer(std::string_view answer);

// "RAB", the rates as ",%5.2f", the amounts as ",%10.2f", a line feed.
std::string discountsLine(const DiscountSettings& values);

// The decimal fields of a "RAB," line from position 4; missing ones read as 0. Nothing when a
// field holds other text.
std::optional<DiscountSettings> discountsFromLine(std::string_view line);

// One of the 42 direct-code slots and its goods code (0: the slot is empty).
inline constexpr int kDirectCodeSlots = 42;
struct DirectCode {
    int slot = 0;
    long long code = 0;
};

// "DJ%02d" and the code right-aligned in 18 characters, or 18 blanks for code 0, which clears the
// slot (22 characters). Empty for a slot outside 1 to 42.
std::optional<std::string> directCodeRecord(const DirectCode& entry);

// The slot (two characters at 2) and code (eighteen at 4) of a data answer; empty when the answer
// is too short or the code cannot be read.
std::optional<DirectCode> directCodeFromAnswer(std::string_view answer);

// "BEZ%2d,%18.0f\n".
std::string directCodeLine(const DirectCode& entry);

// The slot and code of a "BEZ" line from position 3; empty when the code does not fit 18 places
// or a field is not a number.
std::optional<DirectCode> directCodeFromLine(std::string_view line);

}  // namespace lorvex
