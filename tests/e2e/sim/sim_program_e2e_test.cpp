// lorvex-sim as a real program: the link a killed simulator leaves points at a pty that is gone,
// or whose number a newer pty (the next simulator's own) has taken: it is replaced; the link of
// one still serving is not. A user's file in the link's place is never touched.

#include <filesystem>

#include "support/sim_session.h"

namespace lorvex::test {
namespace {

TEST(SimProgram, ReplacesTheLinkOfAKilledSimulatorOnly) {
    TempDir dir("lorvex-e2e-sim");
    EXPECT_EQ(runProcess(kSimBinary, {}, dir.path(), 300).exitCode, -1);  // killed at the time-out
    ASSERT_TRUE(std::filesystem::is_symlink(dir / "COM1"));
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
    EXPECT_EQ(runLorvex({"/CX"}, dir.path()).exitCode, 0);
    EXPECT_EQ(runProcess(kSimBinary, {}, dir.path(), 5000).exitCode, 1);
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
    dir.write("COM2", "not a port");
    EXPECT_EQ(runProcess(kSimBinary, {"--port", "2"}, dir.path(), 5000).exitCode, 1);
    EXPECT_EQ(readText(dir / "COM2"), "not a port");
    EXPECT_EQ(runProcess(kSimBinary, {"--frobnicate"}, dir.path(), 5000).exitCode, 2);
}

}  // namespace
}  // namespace lorvex::test
