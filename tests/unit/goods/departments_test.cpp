#include "goods/departments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "goods/wire_text.h"

namespace lorvex {
namespace {

Department department(int number, std::string name, double amount, char vat, std::string flags,
                      int trailing) {
    Department d;
    d.number = number;
    d.name = std::move(name);
    d.amount = amount;
    d.vatLetter = vat;
    d.flags = std::move(flags);
    d.trailingNumber = trailing;
    return d;
}

TEST(DepartmentRecord, KeepsEveryFieldInItsColumns) {
    struct Case {
        const char* what;
        int action;
        Department in;
        const char* record;
    };
    const Case cases[] = {
        {"store", 1, department(5, "Napoje", 3.5, 'A', "0000", 1),
         "DH105Napoje                   350A000001"},
        {"erase", 0, department(5, "Napoje", 3.5, 'A', "0000", 1),
         "DH005Napoje                   350A000001"},
        {"amount rounds to hundredths", 1, department(42, "X", 12.5, 'B', "1", 99),
         "DH142X                       1250B   199"},
        {"tiny amount", 1, department(1, "", 0.004, 'C', "", 0),
         "DH101                           0C    00"},
        {"long name and flags are cut", 1,
         department(7, "Napoje gazowane i soki", 1, 'A', "000011", 2),
         "DH107Napoje gazowane i        100A000002"},
        {"largest amount", 1, department(1, "A", 99999999.99, 'A', "0000", 0),
         "DH101A                 9999999999A000000"},
        {"missing letter keeps its column", 1, department(3, "A", 1, '\0', "0000", 0),
         "DH103A                        100 000000"},
    };
    for (const Case& c : cases) {
        const auto record = departmentRecord(c.action, c.in);
        ASSERT_TRUE(record.has_value()) << c.what;
        EXPECT_EQ(*record, c.record) << c.what;
        EXPECT_EQ(record->size(), 40u) << c.what;
    }
}

TEST(DepartmentRecord, RefusesValuesThatDoNotFit) {
    const Department refused[] = {
        department(100, "A", 1, 'A', "0000", 0),
        department(-1, "A", 1, 'A', "0000", 0),
        department(1, "A", 100000000.0, 'A', "0000", 0),
        department(1, "A", std::numeric_limits<double>::infinity(), 'A', "0000", 0),
        department(1, "A", std::nan(""), 'A', "0000", 0),
        department(1, "A", 1, 'A', "0000", 100),
    };
    for (const Department& d : refused) {
        EXPECT_FALSE(departmentRecord(1, d).has_value())
            << d.number << " " << d.amount << " " << d.trailingNumber;
    }
}

TEST(DepartmentLine, ReadsTheFieldsOfALoadLine) {
    struct Case {
        const char* line;
        Department expected;
    };
    const Case cases[] = {
        {"DEP 5,            Napoje,      3.50,A,0000,1",
         department(5, "            Napoje", 3.5, 'A', "0000", 1)},
        {"DEP12,Woda,1.25,B,01,7", department(12, "Woda", 1.25, 'B', "01", 7)},
        {"DEP 3,Chleb", department(3, "Chleb", 0, ' ', "", 0)},
        {"DEP", department(0, "", 0, ' ', "", 0)},
        {"DEPx,,abc,,,", department(0, "", 0, ' ', "", 0)},
    };
    for (const Case& c : cases) {
        const Department d = departmentFromLine(c.line, CharsetMode::Mazovia);
        EXPECT_EQ(d.number, c.expected.number) << c.line;
        EXPECT_EQ(d.name, c.expected.name) << c.line;
        EXPECT_DOUBLE_EQ(d.amount, c.expected.amount) << c.line;
        EXPECT_EQ(d.vatLetter, c.expected.vatLetter) << c.line;
        EXPECT_EQ(d.flags, c.expected.flags) << c.line;
        EXPECT_EQ(d.trailingNumber, c.expected.trailingNumber) << c.line;
    }
}

TEST(DepartmentLine, DumpedLineLoadsBackAsTheSameRecord) {
    // The register's record: department 9, a name with the CP852 letter 'ł' (0x88), 1234.56.
    const std::string sent = std::string("DH109Mas") + '\x88' + "o" + std::string(13, ' ') +
                             "    123456" + "D" + "0010" + "02";
    const std::string answer = sent + '\x03';
    for (CharsetMode mode : {CharsetMode::Mazovia, CharsetMode::Latin}) {
        const Department dumped = departmentFromAnswer(answerText(answer), mode);
        const std::string line = departmentLine(dumped);
        const std::string letter = mode == CharsetMode::Mazovia ? "\x92" : "\x88";
        EXPECT_EQ(line, "DEP 9,Mas" + letter + "o             ,   1234.56,D,0010,2\n");
        std::string withoutEnd = line.substr(0, line.size() - 1);
        const auto record = departmentRecord(1, departmentFromLine(withoutEnd, mode));
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(*record, sent);
    }
}

TEST(DepartmentAnswer, ShortAnswerGivesEmptyFieldsNotGarbage) {
    const Department d = departmentFromAnswer("DH107Nap", CharsetMode::Mazovia);
    EXPECT_EQ(d.number, 7);
    EXPECT_EQ(d.name, "Nap");
    EXPECT_EQ(d.amount, 0);
    EXPECT_EQ(d.vatLetter, ' ');
    EXPECT_EQ(d.flags, "");
    EXPECT_EQ(departmentLine(d), "DEP 7,               Nap,      0.00, ,    ,0\n");
}

}  // namespace
}  // namespace lorvex
