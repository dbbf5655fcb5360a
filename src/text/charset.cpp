#include "text/charset.h"

namespace lorvex {
namespace {

constexpr PolishLetterRow kMazoviaRow = {0x8F, 0x95, 0x90, 0xA5, 0x9C, 0x98, 0xA3, 0xA0, 0xA1,
                                         0x86, 0x8D, 0x91, 0xA4, 0x92, 0x9E, 0xA2, 0xA6, 0xA7};
constexpr PolishLetterRow kCp852Row = {0xA4, 0x8F, 0xA8, 0xE3, 0x9D, 0x97, 0xE0, 0x8D, 0xBD,
                                       0xA5, 0x86, 0xA9, 0xE4, 0x88, 0x98, 0xA2, 0xAB, 0xBE};
constexpr PolishLetterRow kPlainRow = {'A', 'C', 'E', 'N', 'L', 'S', 'O', 'Z', 'Z',
                                       'a', 'c', 'e', 'n', 'l', 's', 'o', 'z', 'z'};

}  // namespace

const PolishLetterRow& polishLetters(CharsetMode mode) {
    switch (mode) {
        case CharsetMode::Latin:
            return kCp852Row;
        case CharsetMode::None:
            return kPlainRow;
        default:
            return kMazoviaRow;
    }
}

void convertText(char* buffer, int length, int toRegister, CharsetMode mode) {
    if (buffer == nullptr || length <= 0) return;
    if (toRegister == 1 && mode == CharsetMode::None) return;
    const PolishLetterRow& row = polishLetters(mode);
    const PolishLetterRow& from = toRegister == 1 ? row : kCp852Row;
    const PolishLetterRow& to = toRegister == 1 ? kCp852Row : row;
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(buffer[i]);
        for (std::size_t k = 0; k < from.size(); ++k) {
            if (from[k] == byte) {
                buffer[i] = static_cast<char>(to[k]);
                break;
            }
        }
    }
}

void convertText(std::string& text, int toRegister, CharsetMode mode) {
    convertText(text.data(), static_cast<int>(text.size()), toRegister, mode);
}

TextEncoding consoleEncoding(CharsetMode mode) {
    switch (mode) {
        case CharsetMode::Latin:
            return TextEncoding::Cp852;
        case CharsetMode::None:
            return TextEncoding::Ascii;
        default:
            return TextEncoding::Mazovia;
    }
}

}  // namespace lorvex
