// lorvex-sim as a real program on a pseudo-terminal: served by the lorvex binary one run after
// another, its memory kept in a state file, and what it refuses to start on.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "support/sim_session.h"

namespace lorvex::test {
namespace {

TEST(SimProgram, ServesRunAfterRunKeepsItsStateAndCleansUp) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-sim");
    dir.write("KAS.TXT", "KAS03,Zofia Żak         ,4321\n");
    const std::vector<std::string> options{"--empty", "--state", "kasa.state", "--port", "2"};
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), options + "--log" + "wire.log", error)) << error;
    EXPECT_EQ(sim.readyLine().rfind("lorvex-sim: serving COM2 -> /dev/", 0), 0u) << sim.readyLine();
    EXPECT_EQ(runLorvex({"/P2", "/CD", "/L", "/S4", "/FKAS.TXT"}, dir.path()).exitCode, 0);
    EXPECT_EQ(runLorvex({"/P2", "/CD", "/S4", "/FFIRST.TXT"}, dir.path()).exitCode, 0);
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "COM2")));
    const std::string log = readText(dir / "wire.log");
    EXPECT_NE(log.find("PC  <ENQ>"), std::string::npos) << log;

    ASSERT_TRUE(sim.start(dir.path(), {"--state", "kasa.state", "--port", "2"}, error)) << error;
    EXPECT_EQ(runLorvex({"/P2", "/CD", "/S4", "/FAGAIN.TXT"}, dir.path()).exitCode, 0);
    EXPECT_EQ(sim.stop(), 0);
    const Files files = dir.read();
    EXPECT_NE(files.at("FIRST.TXT").find("KAS03,Zofia Żak"), std::string::npos);
    EXPECT_EQ(files.at("AGAIN.TXT"), files.at("FIRST.TXT"));
    EXPECT_FALSE(files.count("error.orv"));
}

TEST(SimProgram, RefusesAUsersFileAStateItCannotReadAndUnknownOptions) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-sim");
    dir.write("COM1", "not a port");
    SimProcess sim;
    std::string error;
    EXPECT_FALSE(sim.start(dir.path(), {}, error));
    EXPECT_EQ(readText(dir / "COM1"), "not a port");
    std::filesystem::remove(dir / "COM1");
    std::filesystem::create_symlink("/dev/null", dir / "COM1");
    const ProcessResult linked = runProcess(simBinary(), {}, dir.path(), 5000);
    EXPECT_EQ(linked.exitCode, 1);
    EXPECT_NE(linked.err.find("rm COM1"), std::string::npos) << linked.err;

    const std::string bad = "lorvex-sim state 1\nflags 1 2\n";
    dir.write("bad.state", bad);
    const ProcessResult refused =
        runProcess(simBinary(), {"--link", "PORT", "--state", "bad.state"}, dir.path(), 5000);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("bad.state"), std::string::npos) << refused.err;
    EXPECT_EQ(readText(dir / "bad.state"), bad);
    EXPECT_EQ(runProcess(simBinary(), {"--frobnicate"}, dir.path(), 5000).exitCode, 2);
    const ProcessResult help = runProcess(simBinary(), {"--help"}, dir.path(), 5000);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--state FILE"), std::string::npos);
}

// The link a killed simulator leaves points at a pty that is gone, or whose number a newer pty
// (the next simulator's own) has taken: it is replaced; the link of one still serving is not.
TEST(SimProgram, ReplacesTheLinkOfAKilledSimulatorOnly) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-sim");
    EXPECT_TRUE(runProcess(simBinary(), {}, dir.path(), 300).timedOut);  // killed at the time-out
    ASSERT_TRUE(std::filesystem::is_symlink(dir / "COM1"));
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
    EXPECT_EQ(runLorvex({"/CX"}, dir.path()).exitCode, 0);
    EXPECT_EQ(runProcess(simBinary(), {}, dir.path(), 5000).exitCode, 1);
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
}

#if defined(__linux__) && defined(TIOCGEXCL)
TEST(SimProgram, AClientsExclusiveModeDoesNotOutliveIt) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    SimSession session;
    ASSERT_TRUE(session.ok()) << session.error();
    const std::string com1 = (session.dir() / "COM1").string();
    int fd = ::open(com1.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ioctl(fd, TIOCEXCL), 0);
    ::close(fd);  // without clearing it, as a program that crashed would
    int exclusive = 1;
    for (int attempt = 0; attempt < 100 && exclusive != 0; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        fd = ::open(com1.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        ::ioctl(fd, TIOCGEXCL, &exclusive);
        ::close(fd);
    }
    EXPECT_EQ(exclusive, 0);
}
#endif

}  // namespace
}  // namespace lorvex::test
