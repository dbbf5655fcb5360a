#include <gtest/gtest.h>

#include <string>

#include "answer_builder.h"
#include "reports/report_fields.h"
#include "reports/totals_lines.h"

namespace lorvex {
namespace {

using test::AnswerBuilder;

std::string right(const std::string& value, std::size_t width) {
    return std::string(width > value.size() ? width - value.size() : 0, ' ') + value;
}

TEST(TotalsLines, RegisterReportScalesEightTotalsIntoWideColumns) {
    AnswerBuilder answer("DR");
    const char* totals[8] = {"12345", "-500", "0", "100000000", "1", "99", "00000000000000000700",
                             "250"};
    for (int i = 0; i < 8; ++i) answer.at(3 + 20 * i, 20, totals[i]);
    EXPECT_EQ(registerReportLine(answer.str()),
              "PLT," + right("123.45", 20) + "," + right("-5.00", 20) + "," + right("0.00", 20) +
                  "," + right("1000000.00", 20) + "," + right("0.01", 20) + "," +
                  right("0.99", 20) + "," + right("7.00", 20) + "," + right("2.50", 20) + "\n");
}

TEST(TotalsLines, FieldsBeyondTheReceivedTextReadAsZero) {
    // Only the first total arrived; the rest must not be taken from anywhere else.
    const std::string shortAnswer = AnswerBuilder("DR").at(3, 20, "700").str();
    const std::string zero = "," + right("0.00", 20);
    std::string expected = "PLT," + right("7.00", 20);
    for (int i = 0; i < 7; ++i) expected += zero;
    EXPECT_EQ(registerReportLine(shortAnswer), expected + "\n");

    EXPECT_EQ(cardReportLine("Dk"), "PLK00," + right("", 18) + ",0.0\n");
    EXPECT_EQ(dailyReportLine("Dw"),
              "PLD,,0,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0,0,0,0,0,0\n");
    EXPECT_EQ(stateDigit("Dp"), 0);
}

TEST(TotalsLines, DepartmentNameComesInTheFileEncoding) {
    // "MĄKA" in the register's code page: Ą is 0xA4 there.
    const std::string answer =
        AnswerBuilder("DT07").text(4, 18, "M\xA4KA").at(22, 20, "250075").at(42, 5, "00150").str();
    const std::string figures = "," + right("2500.75", 20) + ", 1.50\n";
    struct Case {
        CharsetMode mode;
        std::string name;
    };
    const Case cases[] = {{CharsetMode::Mazovia, "M\x8FKA"},
                          {CharsetMode::Latin, "M\xA4KA"},
                          {CharsetMode::None, "MAKA"}};
    for (const Case& c : cases) {
        EXPECT_EQ(departmentReportLine(answer, 7, c.mode),
                  "PLD07," + c.name + std::string(14, ' ') + figures)
            << static_cast<int>(c.mode);
    }
    // The five-character field: a value wider than its format keeps all its digits.
    EXPECT_EQ(departmentReportLine(AnswerBuilder("DT").at(42, 5, "12345").str(), 12,
                                   CharsetMode::Mazovia),
              "PLD12," + right("", 18) + "," + right("0.00", 20) + ",123.45\n");
}

TEST(TotalsLines, HourlyAmountTakesItsSign) {
    struct Case {
        char sign;
        const char* last;
    };
    const Case cases[] = {{'+', "2.50"}, {'-', "-2.50"}, {' ', "-2.50"}};
    for (const Case& c : cases) {
        const std::string answer = AnswerBuilder("Dl05")
                                       .at(4, 10, "1050")
                                       .at(14, 10, "7")
                                       .at(24, 10, "0000000012")
                                       .put(34, c.sign)
                                       .at(35, 10, "250")
                                       .str();
        EXPECT_EQ(hourlyReportLine(answer, 5), std::string("PLH05,10.50,7,12,") + c.last + "\n")
            << c.sign;
    }
}

std::string fullCashierAnswer(char sign) {
    AnswerBuilder answer("Dn0");
    answer.put(3, sign).at(4, 20, "100000");
    for (int i = 0; i < 10; ++i) answer.at(24 + 20 * i, 20, std::to_string(100 * (i + 1)));
    for (int i = 0; i < 4; ++i) answer.at(224 + 10 * i, 10, std::to_string(3 + i));
    answer.at(264, 20, "999").at(284, 20, "123456789");
    return answer.str();
}

TEST(TotalsLines, CashierLineReadsUpToItsLastField) {
    const std::string answer = fullCashierAnswer('+');
    ASSERT_EQ(answer.size(), 304u);
    EXPECT_EQ(cashierReportLine(answer, 3),
              "PLK03,1000.00,1.00,2.00,3.00,4.00,5.00,6.00,7.00,8.00,9.00,10.00,3,4,5,6,9.99,"
              "1234567.89\n");
    // An answer that ends inside the count fields: what it does not reach is 0.
    EXPECT_EQ(
        cashierReportLine(answer.substr(0, 244), 3),
        "PLK03,1000.00,1.00,2.00,3.00,4.00,5.00,6.00,7.00,8.00,9.00,10.00,3,4,0,0,0.00,0.00\n");
}

TEST(TotalsLines, CashierWithoutPlusSignIsPassedOver) {
    EXPECT_FALSE(cashierReportLine(fullCashierAnswer('-'), 1).has_value());
    EXPECT_FALSE(cashierReportLine(fullCashierAnswer(' '), 1).has_value());
    EXPECT_FALSE(cashierReportLine("Dn", 1).has_value());
}

TEST(TotalsLines, DailyReportSkipsTheUnusedPositions) {
    AnswerBuilder answer("Dw");
    answer.put(2, '5').text(3, 6, "240131").put(9, '9').at(10, 10, "42").at(20, 10, "7777777777");
    for (int i = 0; i < 8; ++i) answer.at(30 + 10 * i, 10, std::to_string(101 * (i + 1)));
    // The ninth amount lies over the same ten characters as the two five-character counts.
    answer.at(110, 5, "17").at(115, 5, "18").put(120, '9');
    for (int i = 0; i < 4; ++i) answer.at(121 + 10 * i, 10, std::to_string(21 + i));
    EXPECT_EQ(dailyReportLine(answer.str()),
              "PLD,240131,42,1.01,2.02,3.03,4.04,5.05,6.06,7.07,8.08,0.17,17,18,21,22,23,24\n");
}

TEST(TotalsLines, CashReportSignsItsFirstAmountAndWidensItsLastTwo) {
    for (const char sign : {'+', '-'}) {
        AnswerBuilder answer("Do");
        answer.put(2, sign).at(3, 20, "5000");
        for (int i = 0; i < 10; ++i) answer.at(23 + 20 * i, 20, std::to_string(100 * (i + 1)));
        for (int i = 0; i < 4; ++i) answer.at(223 + 10 * i, 10, std::to_string(1 + i));
        answer.at(263, 20, "999").at(283, 20, "123456789");
        ASSERT_EQ(answer.str().size(), 303u);
        EXPECT_EQ(cashReportLine(answer.str()),
                  std::string("PLP00,") + (sign == '+' ? "50.00" : "-50.00") +
                      ",1.00,2.00,3.00,4.00,5.00,6.00,7.00,8.00,9.00,10.00,1,2,3,4," +
                      right("9.99", 20) + "," + right("1234567.89", 20) + "\n");
    }
}

TEST(TotalsLines, CardReportKeepsItsTextAndReadsTenths) {
    const std::string answer = AnswerBuilder("Dk").text(3, 18, "KARTA \xA4").at(21, 3, "125").str();
    EXPECT_EQ(cardReportLine(answer), "PLK00,KARTA \xA4" + std::string(11, ' ') + ",12.5\n");
}

TEST(TotalsLines, StateDigitIsTheThirdCharacter) {
    EXPECT_EQ(stateDigit("Dp7"), 7);
    EXPECT_EQ(stateDigit("Dp3999"), 3);
}

TEST(ReportFields, NulEndsATextField) {
    EXPECT_EQ(textField(std::string("DkAB\0CD", 7), 2, 5), "AB");
}

}  // namespace
}  // namespace lorvex
