// Outside faults of a real run on a pty: an interrupted dump, and a second program on a port that
// is in use.

#include <gtest/gtest.h>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(OutsideFaults, InterruptedDumpLeavesTheOldFileAndNothingBesideIt) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-interrupt");
    dir.write("DEPS.TXT", "DEP 1,the old file,1\n");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
    for (const char* signal : {"INT", "TERM"}) {
        // The department dump takes seconds; it is interrupted in the middle.
        const ProcessResult run = runProcess(
            "/bin/sh",
            {"-c", "'" + lorvexBinary() + "' /CG /FDEPS.TXT & pid=$!; sleep 1.5; kill -" + signal +
                       " $pid; wait $pid; echo \"status $?\""},
            dir.path(), 30000);
        EXPECT_NE(run.out.find("status 1"), std::string::npos) << signal << run.out;
        Files files = dir.read();
        files.erase("COM1");
        EXPECT_EQ(files, (Files{{"DEPS.TXT", "DEP 1,the old file,1\n"}})) << signal;
    }
    sim.stop();
}

TEST(OutsideFaults, ASecondProgramOnTheSamePortFailsClearlyAndDisturbsNothing) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-busy");
    TempDir second("lorvex-e2e-busy2");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
    const std::string device = sim.device();
    // The second run reaches the same pty under another name, from a directory of its own.
    const ProcessResult both = runProcess(
        "/bin/sh",
        {"-c", "'" + lorvexBinary() + "' /CG /FDEPS.TXT & pid=$!; sleep 1; cd '" +
                   second.path().string() + "' && ln -s " + device + " COM1 && '" + lorvexBinary() +
                   "' /CG /FDEPS.TXT; echo \"second $?\"; wait $pid; echo \"first $?\""},
        dir.path(), 60000);
    EXPECT_NE(both.out.find("second 1"), std::string::npos) << both.out;
    EXPECT_NE(both.out.find("first 0"), std::string::npos) << both.out;
    EXPECT_FALSE(dir.read().count("error.orv"));
    const Files files = dir.read();
    const std::string deps = files.count("DEPS.TXT") ? files.at("DEPS.TXT") : "";
    EXPECT_EQ(std::count(deps.begin(), deps.end(), '\n'), 42) << deps;
    EXPECT_NE(second.read()["error.orv"].find("61  B"), std::string::npos);
    EXPECT_FALSE(second.read().count("DEPS.TXT")) << "nothing written where the port failed";
    sim.stop();
}

}  // namespace
}  // namespace lorvex::test
