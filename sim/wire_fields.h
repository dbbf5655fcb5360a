#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lorvex::sim {

// A number field of a request or record as the register reads it: blanks before an optional
// minus sign and the digits, nothing after them. All blanks is a field left empty.
struct NumberField {
    enum class Kind { Blank, Number, Bad };
    Kind kind = Kind::Bad;
    bool negative = false;
    std::uint64_t magnitude = 0;

    bool blank() const { return kind == Kind::Blank; }
    bool number() const { return kind == Kind::Number; }
    bool bad() const { return kind == Kind::Bad; }
    // The signed value, saturated at the int64 range.
    std::int64_t value() const;
};

NumberField readNumberField(std::string_view field);

// True when every byte of the text may stand in a name: no control characters (below 0x20, 0x7F).
bool isPrintableText(std::string_view text);
bool isBlank(std::string_view text);

// Right-aligned in `width` with blanks; a value too wide for the field is clamped to the widest
// value that fits, so an answer never shifts its later fields.
std::string rightNumber(std::int64_t value, int width);
// Right-aligned in `width` with leading zeros (non-negative values), clamped like rightNumber.
std::string zeroPadded(std::int64_t value, int width);
// Left-aligned and blank-filled or cut to `width`.
std::string leftText(std::string_view text, std::size_t width);
// Two upper-case hexadecimal digits of 0..255.
std::string hexByte(int value);
// The value of two hexadecimal digits (either case), or -1.
int readHexByte(char high, char low);

// The magnitude of a value; the one value without a positive twin gives the largest int64.
std::int64_t magnitudeOf(std::int64_t value);

// The largest value of `digits` decimal digits (digits 1..18).
std::int64_t largestOfDigits(int digits);

}  // namespace lorvex::sim
