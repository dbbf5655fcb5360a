#include <gtest/gtest.h>

#include <string>

#include "link/register_link.h"

namespace lorvex::test {
namespace {

TEST(BuildRequest, LetterModeAndTwoZeroPaddedNumbers) {
    EXPECT_EQ(buildRequest('D', 1, 5, 5), "SD1000000000000000005000000000000000005");
    EXPECT_EQ(buildRequest('C', 0, 0, 0), "SC0" + std::string(36, '0'));
    EXPECT_EQ(buildRequest('R', 2, 0, 0).substr(0, 4), "SR20") << "report mode 2 zeroes";
    EXPECT_EQ(buildRequest('H', 0, -5, 0).substr(3, 18), "-00000000000000005");
}

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
