#include "text/charset.h"

#include <gtest/gtest.h>

#include "text/numbers.h"

namespace lorvex {
namespace {

std::string converted(std::string text, int toRegister, CharsetMode mode) {
    convertText(text, toRegister, mode);
    return text;
}

TEST(ConvertText, BetweenRegisterAndEachMode) {
    EXPECT_EQ(converted("\xA5\x9D\xBE", 0, CharsetMode::Mazovia), "\x86\x9C\xA7");
    EXPECT_EQ(converted("\xA4\xA0", 1, CharsetMode::Mazovia), "\xE4\x8D");
    EXPECT_EQ(converted("\x8D", 0, CharsetMode::Latin), "\x8D");
    EXPECT_EQ(converted("\x8D", 1, CharsetMode::Latin), "\x8D");
    EXPECT_EQ(converted("\x8D\xBD\xAB\xBE", 0, CharsetMode::None), "ZZzz");
    // The plain row has no way back: A would become the register's A-ogonek otherwise.
    EXPECT_EQ(converted("ZAZOLC", 1, CharsetMode::None), "ZAZOLC");
    const PolishLetterRow& cp852 = polishLetters(CharsetMode::Latin);
    const std::string all(cp852.begin(), cp852.end());
    EXPECT_EQ(converted(converted(all, 0, CharsetMode::Mazovia), 1, CharsetMode::Mazovia), all);
    EXPECT_EQ(converted("0aZ\xFF", 0, CharsetMode::Mazovia), "0aZ\xFF");
    convertText(nullptr, 3, 0, CharsetMode::Mazovia);  // no buffer: nothing done
}

TEST(Numbers, ReadLikeAtoiAndAtofWithoutOverflow) {
    EXPECT_EQ(readInt("  -12x"), -12);
    EXPECT_EQ(readInt("+7"), 7);
    EXPECT_EQ(readInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(readDouble(" 12.5,"), 12.5);
    EXPECT_DOUBLE_EQ(readDouble("-0350"), -350);
    // Only the view is read, even when more digits follow in memory.
    const std::string digits = "123456";
    EXPECT_DOUBLE_EQ(readDouble(std::string_view(digits).substr(0, 3)), 123);
}

}  // namespace
}  // namespace lorvex
