#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/console.h"

namespace lorvex {

// The encoding of Polish letters in the exchange file and in the program's messages (/S).
enum class CharsetMode {
    Mazovia = 1,  // /S1, any other value, or no /S
    Latin = 2,    // /S2: code page 852, the register's own
    None = 3,     // /S3: plain letters without diacritics
};

// The 18 Polish letters in the fixed order A C E N L S O Z Z, upper case first, then lower case.
using PolishLetterRow = std::array<unsigned char, 18>;

// The row of a mode: Mazovia, CP852 or the plain row "ACENLSOZZacenlsozz".
const PolishLetterRow& polishLetters(CharsetMode mode);

// Index of each letter in a row.
enum PolishLetter : int {
    kCapA = 0,
    kCapC,
    kCapE,
    kCapN,
    kCapL,
    kCapS,
    kCapO,
    kCapZacute,
    kCapZdot,
    kSmallA,
    kSmallC,
    kSmallE,
    kSmallN,
    kSmallL,
    kSmallS,
    kSmallO,
    kSmallZacute,
    kSmallZdot,
};

// Converts the 18 Polish letters of the first `length` bytes in place, between the register's code
// page (CP852) and the mode's encoding. toRegister 1 goes towards the register, 0 comes from it.
// In mode None towards the register the text goes unchanged: plain letters have no way back.
void convertText(char* buffer, int length, int toRegister, CharsetMode mode);

// The same for a whole string.
void convertText(std::string& text, int toRegister, CharsetMode mode);

// How the console is to read a text in the mode's encoding.
TextEncoding consoleEncoding(CharsetMode mode);

}  // namespace lorvex
