// The in-process job harness: the real run flow against the simulated register, on the virtual
// clock, in a fresh work directory per run.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sim/cp852.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

std::size_t lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(JobHarness, RunsAJobAndHandsBackItsFilesWireAndTime) {
    JobHarness harness;
    const JobResult run = harness.run({"/CG", "/FDEPS.TXT", "/S2"});
    EXPECT_EQ(run.exitCode, 0);
    const std::string deps = run.file("DEPS.TXT");
    EXPECT_EQ(lines(deps), 42u);
    EXPECT_NE(deps.find(sim::cp852FromUtf8("DEP 2,Nabiał")), std::string::npos)
        << sim::utf8FromCp852(deps);
    EXPECT_FALSE(run.has("error.orv"));
    ASSERT_EQ(run.exchanges.size(), 42u);
    EXPECT_EQ(run.pcFrames().front(), "SH0000000000000000001000000000000000001");
    EXPECT_EQ(run.registerFrames().size(), 42u);
    // 42 transactions with the protocol's pauses: seconds on the virtual clock, none for real.
    EXPECT_GT(run.virtualMs, 42u * 200u);
    ASSERT_TRUE(run.portSettings);
    EXPECT_EQ(run.portSettings->port, 1);
}

TEST(JobHarness, KeepsTheRegisterFromRunToRunButNotTheFiles) {
    JobHarness harness;
    harness.file("DANE.TXT", "DEP 5,Napoje            ,      3.50,A,0000,1\n");
    const JobResult load = harness.run({"/CG", "/L", "/FDANE.TXT"});
    EXPECT_EQ(load.exitCode, 0);
    EXPECT_EQ(load.pcFrames().size(), 2u);
    EXPECT_EQ(harness.memory().departments[4].amount, 350);

    harness.setup().files.clear();
    const JobResult dump = harness.run({"/CG", "/FOUT.TXT"});
    EXPECT_FALSE(dump.has("DANE.TXT"));
    EXPECT_NE(dump.file("OUT.TXT").find("DEP 5,Napoje            ,      3.50,A,0000,1\n"),
              std::string::npos);
}

TEST(JobHarness, APortThatCannotBeOpenedAndARegisterThatIsSilent) {
    JobHarness unplugged;
    unplugged.setup().portFails = true;
    const JobResult noPort = unplugged.run({"/CA", "/FF.TXT"});
    EXPECT_EQ(noPort.exitCode, 1);
    EXPECT_EQ(noPort.errorLog().substr(0, 2), "99");
    EXPECT_NE(noPort.errorLog().find("61  "), std::string::npos);
    EXPECT_TRUE(noPort.transcript.entries().empty());

    JobHarness silent;
    silent.faults().add(sim::Fault::silence());
    const JobResult noAnswer = silent.run({"/CA", "/FF.TXT"});
    EXPECT_EQ(noAnswer.exitCode, 0);
    EXPECT_EQ(noAnswer.errorLog().substr(0, 3), "60 ");
    EXPECT_GE(noAnswer.virtualMs, 5000u);
}

TEST(JobHarness, LineTimeFollowsTheRunsBaudRate) {
    JobHarness harness;
    harness.setup().lineTime = true;
    const JobResult slow = harness.run({"/CB", "/FH.TXT"});
    const JobResult fast = harness.run({"/CB", "/FH.TXT", "/B"});
    harness.setup().lineTime = false;
    const JobResult instant = harness.run({"/CB", "/FH.TXT"});
    ASSERT_EQ(slow.exitCode, 0);
    EXPECT_EQ(slow.file("H.TXT"), instant.file("H.TXT"));
    // The header answer alone is over 220 bytes: about 230 ms at 9600 baud, half at 19200.
    EXPECT_GE(slow.virtualMs, instant.virtualMs + 200);
    EXPECT_GE(fast.virtualMs, instant.virtualMs + 100);
    EXPECT_LT(fast.virtualMs, slow.virtualMs);
}

}  // namespace
}  // namespace lorvex::test
