#pragma once

#include <cstdint>
#include <string_view>

// Field checks shared by the load records: each gives 0 or the status the register answers with.
namespace lorvex::sim::detail {

// A number from 0 to `largest`: non-digits or an empty field give 4, a negative or larger value 7.
int readBounded(std::string_view field, std::int64_t largest, std::int64_t& out);
// The same for an int.
int readBoundedInt(std::string_view field, int largest, int& out);
// A name or text: control characters give 5.
int checkText(std::string_view text);
// Flag characters: '0', '1' or a blank of right alignment; anything else gives 28.
int checkFlagChars(std::string_view flags);
// A VAT letter the register has: 'A' to 'F'; anything else gives 9.
int checkVatLetter(char letter);

}  // namespace lorvex::sim::detail
