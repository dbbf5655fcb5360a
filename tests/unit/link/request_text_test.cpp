#include <gtest/gtest.h>

#include <string>

#include "link/register_link.h"

namespace lorvex::test {
namespace {

TEST(ParseStatus, UpperCaseHexDigitsAndSeventeenForAnythingElse) {
    struct Case {
        char first, second;
        int code;
    };
    const Case cases[] = {{'1', 'C', 28}, {'0', 'a', 17},   {'F', 'F', 255},
                          {'3', '5', 53}, {'\0', '0', 272}, {' ', ' ', 17 * 16 + 17}};
    for (const Case& c : cases) {
        EXPECT_EQ(parseStatus(c.first, c.second), c.code) << c.first << c.second;
    }
}

}  // namespace
}  // namespace lorvex::test
