#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_job_helpers.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

sim::RegisterMemory countersMemory() {
    sim::RegisterMemory memory = sim::emptyMemory();
    memory.registerTotals = {12345, 1, 0, 0, 0, 0, 0, 250};
    memory.daily.date = "250611";
    memory.daily.number = 128;
    memory.daily.amounts = {100, 0, 0, 0, 0, 0, 0, 0};
    memory.daily.receipts = 212;
    memory.daily.cancelled = 3;
    memory.daily.counts = {7, 1, 0, 2};
    memory.cash.total = -523499;
    memory.cash.amounts[0] = 100;
    memory.cash.counts = {212, 7, 3, 41};
    memory.cash.extra = {10000, 2500};
    memory.cardTotals = {57, 45};
    return memory;
}

TEST(OneAnswerReports, RequestAndLineOfEachReport) {
    struct Case {
        const char* command;
        std::string request;
        std::string line;
    };
    const std::string noTotals = ",0.00,0.00,0.00,0.00,0.00,0.00,0.00";
    const Case cases[] = {
        {"/CK", "SR0" + zeros(36),
         "PLT," + right("123.45", 20) + "," + right("0.01", 20) + "," + right("0.00", 20) + "," +
             right("0.00", 20) + "," + right("0.00", 20) + "," + right("0.00", 20) + "," +
             right("0.00", 20) + "," + right("2.50", 20)},
        // The ninth amount of the daily line lies over the receipt counts.
        {"/CR", "Sw0" + zeros(36), "PLD,250611,128,1.00" + noTotals + ",2.12,212,3,7,1,0,2"},
        {"/CS", "So0" + zeros(36),
         "PLP00,-5234.99,1.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,212,7,3,41," +
             right("100.00", 20) + "," + right("25.00", 20)},
        {"/CT", "Sk0" + zeros(36), "PLK00," + right("57", 18) + ",4.5"},
    };
    for (const Case& c : cases) {
        const JobResult run = runJob({c.command, "/FREP.TXT"}, {}, countersMemory());
        EXPECT_EQ(run.exitCode, 0) << c.command;
        EXPECT_EQ(run.pcFrames(), std::vector<std::string>{c.request}) << c.command;
        EXPECT_EQ(run.file("REP.TXT"), c.line + "\n") << c.command;
        EXPECT_FALSE(run.has("error.orv")) << c.command;
    }
}

// Reading with /R reports the same figures, with the zeroing digit in every request; a read
// after it finds the counters zeroed.
TEST(OneAnswerReports, ZeroingReadsThenClearsTheCounters) {
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
        EXPECT_FALSE(zeroing.has("error.orv")) << command;
    }
}

TEST(LoopedReports, StopAtTheFirstRefusedItem) {
    struct Case {
        const char* command;
        char letter;
        std::vector<std::string> prefixes;  // of the lines written before the refusal
    };
    const Case cases[] = {
        {"/CL", 'T', {"PLD01", "PLD02", "PLD03", "PLD04"}},
        {"/CO", 'l', {"PLH00", "PLH01"}},
        {"/CP", 'n', {"PLK00", "PLK01"}},
    };
    for (const Case& c : cases) {
        JobHarness harness;
        harness.faults().errorAt(c.letter, static_cast<int>(c.prefixes.size()) + 1, 29);
        const JobResult run = harness.run({c.command, "/FREP.TXT"});
        const std::vector<std::string> lines = linesOf(run.file("REP.TXT"));
        ASSERT_EQ(lines.size(), c.prefixes.size()) << c.command;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].substr(0, 5), c.prefixes[i]) << c.command;
        }
        EXPECT_EQ(run.pcFrames().size(), c.prefixes.size() + 1) << c.command;
        // The notice line, then the refusal's message once.
        const std::vector<std::string> log = linesOf(run.errorLog());
        ASSERT_EQ(log.size(), 2u) << c.command;
        EXPECT_EQ(log[1].rfind("36  B", 0), 0u) << c.command;
    }
}

TEST(LoopedReports, DepartmentsAndHoursAreNumberedInTheirRequests) {
    const JobResult departments = runJob({"/CL", "/FREP.TXT"});
    ASSERT_EQ(departments.pcFrames().size(), 42u);
    EXPECT_EQ(departments.pcFrames()[6], "ST0" + zeros(17) + "7" + zeros(17) + "7");
    EXPECT_EQ(linesOf(departments.file("REP.TXT")).size(), 42u);
    EXPECT_EQ(linesOf(departments.file("REP.TXT"))[41].substr(0, 5), "PLD42");

    const JobResult hours = runJob({"/CO", "/FREP.TXT"});
    ASSERT_EQ(hours.pcFrames().size(), 24u);
    EXPECT_EQ(hours.pcFrames()[23], "Sl0" + zeros(16) + "23" + zeros(16) + "23");
    EXPECT_EQ(linesOf(hours.file("REP.TXT"))[23].substr(0, 5), "PLH23");
}

TEST(LoopedReports, CashiersNotInUseArePassedOver) {
    sim::RegisterMemory memory = sim::emptyMemory();
    memory.cashiers[0].code = "1111";
    memory.cashiers[2].code = "2222";
    memory.cashierTotals[2].total = 4200;
    memory.cashierTotals[2].extra = {300, 400};
    const JobResult run = runJob({"/CP", "/FREP.TXT"}, {}, memory);
    EXPECT_EQ(run.pcFrames().size(), 30u);
    EXPECT_EQ(run.file("REP.TXT"),
              "PLK00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0,0,0,0,0.00,0.00\n"
              "PLK02,42.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0,0,0,0,3.00,4.00\n");
    EXPECT_FALSE(run.has("error.orv"));
}

TEST(ReportJobs, NothingIsSentWhenNotAsked) {
    // /E skips the hourly report; on a load the reports do nothing and the file stays as it was.
    const JobResult skipped = runJob({"/CO", "/E", "/FREP.TXT"});
    EXPECT_TRUE(skipped.pcFrames().empty());
    EXPECT_EQ(skipped.exitCode, 0);
    for (const char* command : {"/CK", "/CL", "/CM", "/CN", "/CO", "/CP", "/CR", "/CS", "/CT"}) {
        const JobResult load = runJob({command, "/L", "/FREP.TXT"}, {{"REP.TXT", "PLT,1\n"}});
        EXPECT_EQ(load.exitCode, 0) << command;
        EXPECT_TRUE(load.transcript.entries().empty()) << command;
        EXPECT_EQ(load.file("REP.TXT"), "PLT,1\n") << command;
        EXPECT_FALSE(load.has("error.orv")) << command;
    }
}

TEST(StateQuery, RunsInBothDirectionsAndWritesNothing) {
    for (const char* direction : {"/D", "/L"}) {
        const JobResult run = runJob({"/CX", direction, "/FREP.TXT"}, {{"REP.TXT", "KEEP\n"}});
        EXPECT_EQ(run.pcFrames(), std::vector<std::string>{"Sp0" + zeros(36)}) << direction;
        EXPECT_FALSE(run.has("error.orv")) << direction;
    }
    EXPECT_EQ(runJob({"/CX", "/L", "/FREP.TXT"}, {{"REP.TXT", "KEEP\n"}}).file("REP.TXT"),
              "KEEP\n");
}

TEST(ReportJobs, SilentRegisterIsReportedOnce) {
    for (const char* command : {"/CK", "/CL", "/CP", "/CX"}) {
        JobHarness harness;
        harness.faults().add(sim::Fault::silence());
        const JobResult run = harness.run({command, "/FREP.TXT"});
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_TRUE(run.pcFrames().empty()) << command;
        EXPECT_EQ(run.file("REP.TXT"), "") << command;
        const std::vector<std::string> log = linesOf(run.errorLog());
        ASSERT_EQ(log.size(), 1u) << command;
        EXPECT_EQ(log[0].rfind("60 Brak po", 0), 0u) << command;
    }
}

}  // namespace
}  // namespace lorvex::test
