// The reports of one answer (K, R, S, T) and of one answer per item (L, O, P): requests, lines,
// zeroing, refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/job_texts.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

const std::string kZeros(36, '0');

// Counters whose figures fill their fields where the register's fields allow it, so that a
// field read one place off or one wider takes a digit of its neighbour.
sim::RegisterMemory fullCounters() {
    sim::RegisterMemory memory = sim::emptyMemory();
    memory.registerTotals = {12345, -1, 0, 0, 0, 0, 0, 250};
    memory.daily = {"250611", 1234567890, {},
                    99999,    99998,      {1234567890, 2234567890, 3234567890, 9876543210}};
    memory.daily.amounts = {1111111111, 2222222222, 3333333333, 4444444444,
                            5555555555, 6666666666, 7777777777, 8888888888};
    memory.cash = {-523499, {100}, {2123456789, 2223456789, 2323456789, 4123456789}, {10000, 2500}};
    memory.cashiers[0].code = "1234";
    memory.cashierTotals[0] = {
        523499, {1}, {1123456789, 1223456789, 1323456789, 1423456789}, {0, 5}};
    memory.cardTotals = {123456789012345678, 999};
    memory.hours[0] = {1234567890, 2345678901, 3456789012, -4567890123};
    memory.departments[0].name = "NAPOJE GAZOWANE XL";
    memory.departments[0].sales = -12345;
    memory.vatRates[0] = 2300;
    return memory;
}

// Each report's request and first line; with /R the same figures with the zeroing digit in every
// request, and the next read finds the counters cleared.
TEST(TotalsReports, RequestFirstLineAndZeroing) {
    const std::string zero = "," + right("0.00");
    const std::string amounts = ",1.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,";
    const std::string item = std::string(17, '0') + "1";
    const struct {
        const char* command;
        std::string request, line;
    } cases[] = {
        {"/CK", "SR0" + kZeros,
         "PLT," + right("123.45") + "," + right("-0.01") + zero + zero + zero + zero + zero + "," +
             right("2.50")},
        // The ninth amount of the daily line lies over the two receipt counts.
        {"/CR", "Sw0" + kZeros,
         "PLD,250611,1234567890,11111111.11,22222222.22,33333333.33,44444444.44,55555555.55,"
         "66666666.66,77777777.77,88888888.88,99999999.98,99999,99998,1234567890,2234567890,"
         "3234567890,9876543210"},
        {"/CS", "So0" + kZeros,
         "PLP00,-5234.99" + amounts + "2123456789,2223456789,2323456789,4123456789," +
             right("100.00") + "," + right("25.00")},
        {"/CT", "Sk0" + kZeros, "PLK00,123456789012345678,99.9"},
        {"/CL", "ST0" + item + item, "PLD01,NAPOJE GAZOWANE XL," + right("-123.45") + ",23.00"},
        {"/CO", "Sl0" + kZeros, "PLH00,12345678.90,2345678901,3456789012,-45678901.23"},
        {"/CP", "Sn0" + kZeros,
         "PLK00,5234.99,0.01,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,"
         "1123456789,1223456789,1323456789,1423456789,0.00,0.05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        JobHarness harness(fullCounters());
        const JobResult before = harness.run({c.command, "/FREP.TXT", "/S3"});
        EXPECT_EQ(before.pcFrames().at(0), c.request);
        EXPECT_EQ(linesOf(before.file("REP.TXT")).at(0), c.line);
        EXPECT_EQ(before.errorLog(), "");
        const JobResult zeroing = harness.run({c.command, "/FREP.TXT", "/S3", "/R"});
        for (const std::string& frame : zeroing.pcFrames()) EXPECT_EQ(frame[2], '2');
        EXPECT_EQ(zeroing.file("REP.TXT"), before.file("REP.TXT"));
        EXPECT_NE(harness.run({c.command, "/FREP.TXT"}).file("REP.TXT"), before.file("REP.TXT"));
    }
}

TEST(LoopedReports, NumberEachRequestAndStopAtTheFirstRefusal) {
    const std::string two = std::string(17, '0') + "2", three = std::string(17, '0') + "3";
    const struct {
        const char* command;
        char letter;
        std::string thirdRequest, lines;  // the lines' beginnings before the refused fourth item
    } cases[] = {
        {"/CL", 'T', "ST0" + three + three, "PLD01PLD02PLD03"},
        {"/CO", 'l', "Sl0" + two + two, "PLH00PLH01PLH02"},
        {"/CP", 'n', "Sn0" + two + two, "PLK00PLK01PLK02"},
    };
    for (const auto& c : cases) {
        JobHarness harness;
        harness.faults().errorAt(c.letter, 4, 29);
        const JobResult run = harness.run({c.command, "/FREP.TXT", "/S3"});
        ASSERT_EQ(run.pcFrames().size(), 4u) << c.command;
        EXPECT_EQ(run.pcFrames()[2], c.thirdRequest);
        std::string lines;
        for (const std::string& line : linesOf(run.file("REP.TXT"))) lines += line.substr(0, 5);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(run.errorLog(), kNotice + kBadIndex);
    }
    // Without a refusal: all 42 departments, and the cashiers not in use passed over.
    EXPECT_EQ(linesOf(runJob({"/CL", "/FREP.TXT"}).file("REP.TXT")).size(), 42u);
    const JobResult cashiers = runJob({"/CP", "/FREP.TXT"});
    EXPECT_EQ(cashiers.pcFrames().size(), 30u);
    EXPECT_EQ(linesOf(cashiers.file("REP.TXT")).size(), 6u);
}

}  // namespace
}  // namespace lorvex::test
