#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lorvex {

// The register's flags: byte values passed through as numbers 0 to 255, two hexadecimal digits
// each on the wire, decimal in the exchange file.
struct FlagsLayout {
    char letter;              // request and record letter
    std::string_view prefix;  // "FLG" or "FLS"; load lines start with the prefix and a comma
    std::size_t count;
    std::array<std::size_t, 9> positions;  // of each value in the answer and the record
    std::size_t recordLength;              // the places between the values hold '0'
};

inline constexpr FlagsLayout kFlags{'A', "FLG", 7, {2, 4, 6, 8, 10, 12, 14}, 16};
inline constexpr FlagsLayout kSolvekFlags{'s', "FLS", 9, {2, 4, 6, 8, 22, 24, 26, 28, 30}, 42};

// Two hexadecimal digits to 0..255; -1 when either is not a hexadecimal digit.
int hexByte(char high, char low);

// The load record with the values as two lower-case hexadecimal digits; empty when a value is
// outside 0..255 or the number of values is not the layout's.
std::optional<std::string> flagsRecord(const FlagsLayout& layout, std::span<const int> values);

// The values of a data answer; empty when the answer is too short or not hexadecimal there.
std::optional<std::vector<int>> flagsFromAnswer(const FlagsLayout& layout, std::string_view answer);

// "FLG" or "FLS", then ",%2d" for each value, then a line feed.
std::string flagsLine(const FlagsLayout& layout, std::span<const int> values);

// The integer fields of a load line from position 4; missing ones read as 0. Nothing when a field
// holds other text.
std::optional<std::vector<int>> flagsFromLine(const FlagsLayout& layout, std::string_view line);

}  // namespace lorvex
