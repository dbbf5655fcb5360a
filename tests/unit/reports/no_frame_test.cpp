// A register that closes the transaction (EOT) without sending any answer frame has not
// answered: nothing may be decoded from the request left in the buffer, and the run must not
// take the silence for success.

#include <gtest/gtest.h>

#include <functional>

#include "goods/departments.h"
#include "reports/totals.h"
#include "unit/records/dump_rig.h"

namespace lorvex {
namespace {

using test::DumpRig;

TEST(NoAnswerFrame, ReportsAndDepartmentsGiveNoAnswerAndWriteNothing) {
    const std::pair<const char*, std::function<StatusCode(lorvex::Run&)>> cases[] = {
        {"register report", [](lorvex::Run& run) { return readRegisterReport(run, 0); }},
        {"department report", [](lorvex::Run& run) { return readDepartmentReport(run, 2, 7); }},
        {"state digit", [](lorvex::Run& run) { return readStateDigit(run).status; }},
        {"department", [](lorvex::Run& run) { return dumpDepartment(run, 1); }},
    };
    for (const auto& [name, read] : cases) {
        DumpRig r(test::dumpTransaction({}));
        EXPECT_EQ(read(r.run), kNoAnswer) << name;
        EXPECT_EQ(r.written(), "") << name;
    }
}

}  // namespace
}  // namespace lorvex
