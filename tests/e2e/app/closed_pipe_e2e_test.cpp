// The real program's output cut off or refused: a console pipe closed early, a port held by
// another run.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(OutsideFaults, AConsoleNobodyReadsLetsTheJobFinish) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-pipe");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
    // Every byte is traced; the reader leaves after the first line.
    const ProcessResult run =
        runProcess("/bin/sh",
                   {"-c", "{ '" + lorvexBinary() +
                              "' /P1 /CB /FNAG.TXT /Q4; echo \"status $?\" >&2; } | head -1"},
                   dir.path(), 60000);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    EXPECT_NE(run.err.find("status 0"), std::string::npos) << run.err;
    Files files = dir.read();
    files.erase("COM1");
    ASSERT_EQ(files.size(), 1u) << "no temporary file beside the exchange file";
    EXPECT_EQ(files.begin()->first, "NAG.TXT");
    EXPECT_EQ(files.begin()->second.rfind("NAG", 0), 0u) << files.begin()->second;
    sim.stop();
}

TEST(OutsideFaults, APortInUseNamesItsHolderOnStandardError) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-holder");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
    const ProcessResult run = runProcess(
        "/bin/sh",
        {"-c", "'" + lorvexBinary() + "' /CG /FDEPS.TXT & pid=$!; echo $pid; sleep 1; '" +
                   lorvexBinary() + "' /CB /FNAG.TXT; echo \"second $?\"; kill $pid; wait"},
        dir.path(), 60000);
    const std::string holder = run.out.substr(0, run.out.find('\n'));
    EXPECT_NE(run.out.find("second 1"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("lorvex: cannot open the port " + (dir.path() / "COM1").string() +
                           ": Device or resource busy (another program holds it: process " +
                           holder + ")\n"),
              std::string::npos)
        << run.err;
    sim.stop();
}

}  // namespace
}  // namespace lorvex::test
