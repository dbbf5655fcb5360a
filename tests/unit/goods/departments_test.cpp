#include "goods/departments.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvex {
namespace {

TEST(DepartmentRecord, KeepsEveryFieldInItsColumnsOrRefusesTheValues) {
    struct Case {
        Department in;
        std::string record;  // empty: refused
    };
    // The loads of the department job pin the usual records and a price too high.
    const Case cases[] = {
        {{7, "Napoje gazowane i soki", 99999999.99, 'A', "000011", 99},
         "DH107Napoje gazowane i 9999999999A000099"},
        {{3, "A", 12.5, '\0', "1", 0}, "DH103A                       1250    100"},
        {{100, "A", 1, 'A', "0000", 0}, ""},
        {{-1, "A", 1, 'A', "0000", 0}, ""},
        {{1, "A", 1, 'A', "0000", 100}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(departmentRecord(1, c.in).value_or(""), c.record) << c.in.number;
    }
    EXPECT_EQ(departmentRecord(0, cases[0].in).value()[2], '0');
}

}  // namespace
}  // namespace lorvex
