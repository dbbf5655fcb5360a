#pragma once

#include <string>
#include <string_view>

#include "platform/console.h"

namespace lorvex {

// The Unicode character of a byte in a single-byte code page (Mazovia or CP852; Ascii maps the
// upper half to U+FFFD). Bytes below 0x80 are ASCII in every code page.
char32_t unicodeOf(unsigned char byte, TextEncoding encoding);

// The text as UTF-8. A Utf8 text is returned unchanged.
std::string toUtf8(std::string_view text, TextEncoding encoding);

// The byte of a Unicode character in a single-byte code page (Mazovia or CP852); -1 when the code
// page has no such character.
int byteOf(char32_t c, TextEncoding encoding);

// Appends one character as UTF-8.
void appendUtf8(std::string& out, char32_t c);

}  // namespace lorvex
