#include <gtest/gtest.h>

#include "platform/codepages.h"

namespace lorvex {
namespace {

TEST(Codepages, PolishLettersOfBothCodePagesBecomeUnicode) {
    EXPECT_EQ(toUtf8("\x86\x8D\x8F\x90\x91\x92\x95\x98\x9C\x9E\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7",
                     TextEncoding::Mazovia),
              "ąćĄĘęłĆŚŁśŹŻóÓńŃźż");
    EXPECT_EQ(toUtf8("\xA4\x8F\xA8\xE3\x9D\x97\xE0\x8D\xBD\xA5\x86\xA9\xE4\x88\x98\xA2\xAB\xBE",
                     TextEncoding::Cp852),
              "ĄĆĘŃŁŚÓŹŻąćęńłśóźż");
    EXPECT_EQ(toUtf8("\xCD\xFE", TextEncoding::Mazovia), "═■");
    EXPECT_EQ(toUtf8("abc\n", TextEncoding::Cp852), "abc\n");
}

}  // namespace
}  // namespace lorvex
