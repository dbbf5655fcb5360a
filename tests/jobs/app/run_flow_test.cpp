// The run around every job: start-up failures and what they leave behind, table mode, letters
// with no job and the pauses of the run itself.

#include <gtest/gtest.h>

#include "jobs/job_texts.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

// A file with the table signature: a sound table with no fields (which no text job can use), or
// with a field count (61) no table of the program may have.
std::string table(bool damaged) {
    std::string bytes(damaged ? 85 + 27 : 85, '\0');
    bytes[0] = 0x43, bytes[1] = 0x33, bytes[13] = damaged ? 61 : 0, bytes[19] = damaged ? 20 : 10;
    bytes[21] = damaged ? 0 : 85;
    return bytes;
}

TEST(RunFlow, StartupFailuresLeaveFilesAsTheyWere) {
    const struct {
        std::string args;
        Files files;
        bool portFails;
        int exitCode;
    } cases[] = {
        {"/CG /L /FNONE.TXT", {}, false, 2},
        {"/CG /FDEPS.TXT", {{"DEPS.TXT", "old\n"}}, true, 1},
        {"/CG /FNEW.TXT", {}, true, 1},
        {"/CH /FTAB.DAT", {{"TAB.DAT", table(true)}}, false, 2},
    };
    for (const auto& c : cases) {
        JobHarness harness;
        harness.files = c.files;
        harness.portFails = c.portFails;
        const JobResult run = harness.run(split(c.args + " /S3"));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args;
        // The port is opened only after the file.
        EXPECT_EQ(run.portSettings.has_value(), c.portFails) << c.args;
        Files expected = c.files;
        expected["error.orv"] = kNotice + "61  Blad otwarcia pliku\n";
        EXPECT_EQ(run.files, expected) << c.args;
        EXPECT_TRUE(run.pcFrames().empty()) << c.args;
    }
    // Only the goods jobs work on a product table; every other job refuses one before the port.
    for (const char letter : std::string("ABCDEFGIJKLOPRSTUWYZ")) {
        const JobResult run =
            runJob({std::string("/C") + letter, "/FTAB.DAT"}, {{"TAB.DAT", table(false)}});
        EXPECT_EQ(run.exitCode, 2) << letter;
        EXPECT_FALSE(run.portSettings.has_value()) << letter;
    }
}

// A register that never answers: nothing is asked after the opening, the run does not pass for
// done, a looped job says what it left, and the old file stays.
TEST(RunFlow, ASilentRegisterIsReportedOnceAndTheOldFileStays) {
    const std::string silent = "lorvex: the register did not answer; ";
    const struct {
        const char* letter;
        std::string errors;
    } cases[] = {
        {"/CG", "lorvex: the register did not answer 3 times in a row; 39 departments not tried\n"},
        {"/CZ", silent + "99 requests not tried\n"},
        {"/CL", silent + "41 departments not tried\n"},
        {"/CP", silent + "29 cashiers not tried\n"},
        {"/CH", ""},
    };
    for (const auto& c : cases) {
        JobHarness harness;
        harness.faults().add(sim::Fault::silence());
        const JobResult run =
            harness.file("OLD.TXT", "yesterday\n").run({c.letter, "/FOLD.TXT", "/S3"});
        EXPECT_EQ(run.exitCode, 0) << c.letter;
        EXPECT_TRUE(run.pcFrames().empty()) << c.letter;
        EXPECT_EQ(run.file("OLD.TXT"), "yesterday\n") << c.letter;
        EXPECT_EQ(run.errorLog(), kNoConnection) << c.letter;
        EXPECT_EQ(run.errors, c.errors) << c.letter;
    }
}

// A run whose job writes no file leaves the /F file exactly as it was, and absent stays absent;
// a report job's load sends nothing, the state query asks the same in both directions; a letter
// with no job says so on stderr and only opens and closes: 100 ms after raising the modem lines,
// 500 ms before the end.
TEST(RunFlow, RunsThatWriteNothingLeaveTheFileAlone) {
    for (const std::string job :
         {"/CQ", "/C", "/CX", "/CX /L", "/CO /E", "/CK /L", "/CL /L", "/CM /L", "/CN /L", "/CO /L",
          "/CP /L", "/CR /L", "/CS /L", "/CT /L"}) {  // /E: the hourly report skipped
        SCOPED_TRACE(job);
        const bool noJob = job == "/CQ" || job == "/C", query = job[2] == 'X';
        for (const bool present : {true, job.ends_with("/L")}) {  // a load needs its file
            JobHarness harness;
            if (present) harness.file("KEEP.TXT", "yesterday\n");
            const JobResult run = harness.run(split(job + " /FKEEP.TXT"));
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.errors,
                      noJob ? "lorvex: " + job + " names no job; nothing was done\n" : "");
            EXPECT_EQ(run.files, (present ? Files{{"KEEP.TXT", "yesterday\n"}} : Files{}));
            EXPECT_EQ(run.transcript.entries().empty(), !query);
            EXPECT_EQ(run.pcFrames(), split(query ? "Sp0" + std::string(36, '0') : ""));
            EXPECT_EQ(run.virtualMs, noJob ? 600u : run.virtualMs);  // nothing on the line
        }
    }
}

}  // namespace
}  // namespace lorvex::test
