#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_job_helpers.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

const std::string kZeros(36, '0');

TEST(OneAnswerReports, RequestAndLineOfEachReport) {
    sim::RegisterMemory memory = sim::emptyMemory();
    memory.registerTotals = {12345, 1, 0, 0, 0, 0, 0, 250};
    memory.daily = {"250611", 128, {100}, 212, 3, {7, 1, 0, 2}};
    memory.cash = {-523499, {100}, {212, 7, 3, 41}, {10000, 2500}};
    memory.cardTotals = {57, 45};
    const std::string zero = "," + right("0.00");
    struct Case {
        const char* command;
        std::string request, line;
    };
    const Case cases[] = {
        {"/CK", "SR0" + kZeros,
         "PLT," + right("123.45") + "," + right("0.01") + zero + zero + zero + zero + zero + "," +
             right("2.50")},
        // The ninth amount of the daily line lies over the two receipt counts.
        {"/CR", "Sw0" + kZeros,
         "PLD,250611,128,1.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,2.12,212,3,7,1,0,2"},
        {"/CS", "So0" + kZeros,
         "PLP00,-5234.99,1.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,212,7,3,41," +
             right("100.00") + "," + right("25.00")},
        {"/CT", "Sk0" + kZeros, "PLK00," + right("57", 18) + ",4.5"},
    };
    for (const Case& c : cases) {
        const JobResult run = runJob({c.command, "/FREP.TXT"}, {}, memory);
        EXPECT_EQ(run.pcFrames(), std::vector<std::string>{c.request}) << c.command;
        EXPECT_EQ(run.file("REP.TXT"), c.line + "\n") << c.command;
        EXPECT_FALSE(run.has("error.orv")) << c.command;
    }
}

// A read with /R reports the same figures with the zeroing digit in every request; the next
// read finds the counters cleared.
TEST(ReportJobs, ZeroingReadsThenClearsTheCounters) {
    for (const char* command : {"/CK", "/CL", "/CO", "/CP", "/CR", "/CS", "/CT", "/CM", "/CN"}) {
        JobHarness harness;
        const JobResult before = harness.run({command, "/FREP.TXT"});
        const JobResult zeroing = harness.run({command, "/FREP.TXT", "/R"});
        const JobResult after = harness.run({command, "/FREP.TXT"});
        ASSERT_FALSE(zeroing.pcFrames().empty()) << command;
        for (const std::string& frame : before.pcFrames()) EXPECT_EQ(frame[2], '0') << command;
        for (const std::string& frame : zeroing.pcFrames()) EXPECT_EQ(frame[2], '2') << command;
        EXPECT_EQ(zeroing.file("REP.TXT"), before.file("REP.TXT")) << command;
        EXPECT_NE(after.file("REP.TXT"), before.file("REP.TXT")) << command;
    }
}

TEST(LoopedReports, NumberEachRequestAndStopAtTheFirstRefusal) {
    struct Case {
        const char* command;
        char letter;
        std::string thirdRequest;
        std::vector<std::string> lines;  // their beginnings, before the refused fourth item
    };
    const std::string three = std::string(17, '0') + "3";
    const Case cases[] = {
        {"/CL", 'T', "ST0" + three + three, {"PLD01", "PLD02", "PLD03"}},
        {"/CO",
         'l',
         "Sl0" + std::string(17, '0') + "2" + std::string(17, '0') + "2",
         {"PLH00", "PLH01", "PLH02"}},
        {"/CP",
         'n',
         "Sn0" + std::string(17, '0') + "2" + std::string(17, '0') + "2",
         {"PLK00", "PLK01", "PLK02"}},
    };
    for (const Case& c : cases) {
        JobHarness harness;
        harness.faults().errorAt(c.letter, 4, 29);
        const JobResult run = harness.run({c.command, "/FREP.TXT"});
        ASSERT_EQ(run.pcFrames().size(), 4u) << c.command;
        EXPECT_EQ(run.pcFrames()[2], c.thirdRequest);
        const std::vector<std::string> lines = linesOf(run.file("REP.TXT"));
        ASSERT_EQ(lines.size(), 3u) << c.command;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(lines[i].substr(0, 5), c.lines[i]) << c.command;
        EXPECT_TRUE(logIs(run.errorLog(), {"99  Uwaga", "36  B"})) << run.errorLog();
    }
    // Without a refusal: all 42 departments, and the cashiers not in use passed over.
    EXPECT_EQ(linesOf(runJob({"/CL", "/FREP.TXT"}).file("REP.TXT")).size(), 42u);
    const JobResult cashiers = runJob({"/CP", "/FREP.TXT"});
    EXPECT_EQ(cashiers.pcFrames().size(), 30u);
    EXPECT_EQ(linesOf(cashiers.file("REP.TXT")).size(), 6u);
}

TEST(ReportJobs, NothingIsSentOnALoadOrWithHoursSkipped) {
    EXPECT_TRUE(runJob({"/CO", "/E", "/FREP.TXT"}).transcript.entries().empty());
    for (const char* command : {"/CK", "/CL", "/CM", "/CN", "/CO", "/CP", "/CR", "/CS", "/CT"}) {
        const JobResult load = runJob({command, "/L", "/FREP.TXT"}, {{"REP.TXT", "PLT,1\n"}});
        EXPECT_TRUE(load.transcript.entries().empty()) << command;
        EXPECT_EQ(load.file("REP.TXT"), "PLT,1\n") << command;
        EXPECT_FALSE(load.has("error.orv")) << command;
    }
}

TEST(ReportJobs, StateQueryAsksInBothDirectionsAndASilentRegisterIsReportedOnce) {
    for (const char* direction : {"/D", "/L"}) {
        const JobResult run = runJob({"/CX", direction, "/FREP.TXT"}, {{"REP.TXT", "KEEP\n"}});
        EXPECT_EQ(run.pcFrames(), std::vector<std::string>{"Sp0" + kZeros}) << direction;
        EXPECT_FALSE(run.has("error.orv")) << direction;
    }
    // The state query too: a register that never answers does not pass for a job done.
    for (const char* command : {"/CK", "/CL", "/CP", "/CX"}) {
        JobHarness harness;
        harness.faults().add(sim::Fault::silence());
        const JobResult run = harness.run({command, "/FREP.TXT"});
        EXPECT_EQ(run.file("REP.TXT"), "") << command;
        EXPECT_TRUE(logIs(run.errorLog(), {"60 Brak po"})) << command << run.errorLog();
    }
}

}  // namespace
}  // namespace lorvex::test
