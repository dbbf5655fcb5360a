#include <gtest/gtest.h>

#include <string>

#include "records/cashier_format.h"

namespace lorvex {
namespace {

TEST(CashierFormat, RecordsByNumber) {
    struct Case {
        int number;
        std::string name;
        std::string code;
        std::string record;
    };
    const Case cases[] = {
        {3, "JAN", "1234", "DD3JAN               1234"},
        {12, "EWA", "0007", "DDCEWA               0007"},
        {29, "X", "1", "DDTX                 1   "},
        {10, "A", "22", "DDAA                 22  "},
        {0, "NAZWISKO_DLUGIE_PONAD", "123456", "DD0NAZWISKO_DLUGIE_PO1234"},
    };
    for (const Case& c : cases) {
        const auto record = cashierRecord(c.number, c.name, c.code);
        ASSERT_TRUE(record) << c.number;
        EXPECT_EQ(*record, c.record);
        EXPECT_EQ(record->size(), 25u);
    }
    for (const int outside : {-1, 30, 100}) EXPECT_FALSE(cashierRecord(outside, "A", "1234"));
}

TEST(CashierFormat, LineFieldsAreSplitFromPositionThree) {
    const CashierFields full = cashierFromLine("KAS03,JAN               ,1234");
    EXPECT_EQ(full.number, 3);
    EXPECT_EQ(full.name, "JAN               ");
    EXPECT_EQ(full.code, "1234");
    // A hand-written short code is the code alone, nothing of the line end.
    EXPECT_EQ(cashierFromLine("KAS3,EWA,12").code, "12");
    const CashierFields shortLine = cashierFromLine("KAS5");
    EXPECT_EQ(shortLine.number, 5);
    EXPECT_EQ(shortLine.name, "");
    EXPECT_EQ(shortLine.code, "");
}

TEST(CashierFormat, AnswerBecomesLineWithNameEndedByFill) {
    // CP852 name letters come out in the file's letters; the register's 0xFF fill is dropped.
    std::string answer = "DD3";
    answer +=
        "\x9D"
        "UKASZ";
    answer += std::string(12, static_cast<char>(0xFF));
    answer += "0042";
    EXPECT_EQ(cashierLine(3, answer, CharsetMode::Mazovia),
              "KAS03,\x9C"
              "UKASZ            ,0042\n");
    EXPECT_EQ(cashierLine(3, answer, CharsetMode::None), "KAS03,LUKASZ            ,0042\n");
    // A short code is right-aligned in four places; a cut answer gives blanks, not stray bytes.
    EXPECT_EQ(cashierLine(21, "DDL" + std::string("ANNA") + std::string(14, ' ') + "7",
                          CharsetMode::Latin),
              "KAS21,ANNA              ,   7\n");
    EXPECT_EQ(cashierLine(1, "DD1AB", CharsetMode::Latin), "KAS01,AB                ,    \n");
}

TEST(CashierFormat, DumpedLineLoadsBackToTheSameRecord) {
    const std::string answer = "DD4MARIA NOWAK       0815";
    std::string line = cashierLine(4, answer, CharsetMode::Latin);
    line.pop_back();
    const CashierFields fields = cashierFromLine(line);
    EXPECT_EQ(cashierRecord(fields.number, fields.name, fields.code), answer);
}

}  // namespace
}  // namespace lorvex
