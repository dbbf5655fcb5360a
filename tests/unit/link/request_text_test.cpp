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

TEST(AnswerField, NeverReachesPastTheReceivedText) {
    const std::string answer = "DH01Chleb";
    EXPECT_EQ(answerField(answer, 4, 5), "Chleb");
    EXPECT_EQ(answerField(answer, 4, 18), "Chleb");
    EXPECT_EQ(answerField(answer, 9, 2), "");
    EXPECT_EQ(answerField(answer, 400, 2), "");
}

}  // namespace
}  // namespace lorvex::test
