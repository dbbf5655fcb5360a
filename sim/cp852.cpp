#include "sim/cp852.h"

#include <array>
#include <cstdint>

namespace lorvex::sim {
namespace {

struct Letter {
    char32_t code;
    unsigned char cp852;
};

// Ą Ć Ę Ń Ł Ś Ó Ź Ż ą ć ę ń ł ś ó ź ż
constexpr std::array<Letter, 18> kLetters = {{
    {0x0104, 0xA4},
    {0x0106, 0x8F},
    {0x0118, 0xA8},
    {0x0143, 0xE3},
    {0x0141, 0x9D},
    {0x015A, 0x97},
    {0x00D3, 0xE0},
    {0x0179, 0x8D},
    {0x017B, 0xBD},
    {0x0105, 0xA5},
    {0x0107, 0x86},
    {0x0119, 0xA9},
    {0x0144, 0xE4},
    {0x0142, 0x88},
    {0x015B, 0x98},
    {0x00F3, 0xA2},
    {0x017A, 0xAB},
    {0x017C, 0xBE},
}};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else {
        // Every Polish letter lies below U+0800: two bytes.
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string cp852FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        std::size_t length = 1;
        char32_t c = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07;
        }
        bool whole = length > 1 && i + length <= utf8.size();
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) whole = false;
            c = (c << 6) | (next & 0x3F);
        }
        char mapped = '?';
        if (whole) {
            for (const Letter& letter : kLetters) {
                if (letter.code == c) mapped = static_cast<char>(letter.cp852);
            }
        }
        out += mapped;
        i += whole ? length : 1;
    }
    return out;
}

std::string utf8FromCp852(std::string_view cp852) {
    std::string out;
    out.reserve(cp852.size());
    for (const char ch : cp852) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            out += ch;
            continue;
        }
        char32_t shown = U'?';
        for (const Letter& letter : kLetters) {
            if (letter.cp852 == byte) shown = letter.code;
        }
        appendUtf8(out, shown);
    }
    return out;
}

bool isCp852PolishLetter(unsigned char byte) {
    for (const Letter& letter : kLetters) {
        if (letter.cp852 == byte) return true;
    }
    return false;
}

}  // namespace lorvex::sim
