// lorvex-sim as a real program on a pseudo-terminal, driven by a scripted PC and by the lorvex
// binary. Real time: each test takes a second or two.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#ifdef __linux__
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "support/processes.h"
#include "support/scripted_pc.h"
#include "support/sim_session.h"
#include "support/temp_dir.h"
#include "support/tty_port.h"

namespace lorvex::test {
namespace {

std::string request(char letter, int mode, long long first, long long second) {
    char text[64];
    std::snprintf(text, sizeof text, "S%c%d%018lld%018lld", letter, mode, first, second);
    return text;
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class SimOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    }

    // One scripted dump over a fresh open of COM1.
    PcResult dumpOnce(const std::string& text) {
        std::string error;
        const auto port = openTtyForTest((dir.path() / "COM1").string(), error);
        if (!port) {
            ADD_FAILURE() << error;
            return {};
        }
        return ScriptedPc(*port).dump(text);
    }

    TempDir dir{"lorvex-e2e"};
    SimProcess sim;
};

TEST_F(SimOnPty, ServesOneClientAfterAnotherAndRemovesItsLinkWhenStopped) {
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {"--log", "wire.log"}, error)) << error;
    EXPECT_EQ(sim.readyLine().rfind("lorvex-sim: serving COM1 -> /dev/", 0), 0u) << sim.readyLine();
    ASSERT_TRUE(std::filesystem::is_symlink(dir.path() / "COM1"));

    const PcResult first = dumpOnce(request('H', 0, 1, 1));
    ASSERT_TRUE(first.ended);
    EXPECT_EQ(first.last().substr(0, 5), "DH101");
    {
        const auto port = openTtyForTest((dir.path() / "COM1").string(), error);
        ASSERT_TRUE(port) << error;
        const PcResult stored =
            ScriptedPc(*port).load(request('D', 1, 3, 3), {"DD3JAN               1234"});
        EXPECT_EQ(stored.status, 0);
        EXPECT_TRUE(stored.ended);
    }
    const PcResult after = dumpOnce(request('D', 0, 3, 3));
    EXPECT_EQ(after.last(), "DD3JAN               1234");

    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir.path() / "COM1")));
    const std::string log = readFile(dir.path() / "wire.log");
    EXPECT_NE(log.find("PC  <ENQ>"), std::string::npos) << log;
    EXPECT_NE(log.find("REG <STX>DD3JAN"), std::string::npos) << log;
}

TEST_F(SimOnPty, KeepsItsMemoryInTheStateFileAcrossRestarts) {
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {"--empty", "--state", "kasa.state", "--port", "2"}, error))
        << error;
    {
        const auto port = openTtyForTest((dir.path() / "COM2").string(), error);
        ASSERT_TRUE(port) << error;
        EXPECT_EQ(ScriptedPc(*port).load(request('M', 1, 0, 0), {"DMXYZ0000001"}).status, 0);
    }
    EXPECT_EQ(sim.stop(), 0);
    ASSERT_NE(readFile(dir.path() / "kasa.state").find("uni =XYZ0000001"), std::string::npos);

    SimProcess again;
    ASSERT_TRUE(again.start(dir.path(), {"--state", "kasa.state", "--port", "2"}, error)) << error;
    const auto port = openTtyForTest((dir.path() / "COM2").string(), error);
    ASSERT_TRUE(port) << error;
    EXPECT_EQ(ScriptedPc(*port).dump(request('M', 0, 0, 0)).last(), "DMXYZ0000001");
}

TEST_F(SimOnPty, RefusesToStartOverAUsersFileOrAStateItCannotRead) {
    dir.write("COM1", "not a port");
    std::string error;
    EXPECT_FALSE(sim.start(dir.path(), {}, error));
    EXPECT_EQ(readFile(dir.path() / "COM1"), "not a port");

    dir.write("bad.state", "lorvex-sim state 1\nflags 1 2\n");
    const ProcessResult bad =
        runProcess(simBinary(), {"--link", "PORT", "--state", "bad.state"}, dir.path(), 5000);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("bad.state"), std::string::npos) << bad.err;
    EXPECT_EQ(readFile(dir.path() / "bad.state"), "lorvex-sim state 1\nflags 1 2\n");
    EXPECT_EQ(runProcess(simBinary(), {"--frobnicate"}, dir.path(), 5000).exitCode, 2);
    const ProcessResult help = runProcess(simBinary(), {"--help"}, dir.path(), 5000);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--state FILE"), std::string::npos);
}

#if defined(__linux__) && defined(TIOCGEXCL)
TEST_F(SimOnPty, AClientsExclusiveModeDoesNotOutliveIt) {
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
    const std::string com1 = (dir.path() / "COM1").string();
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

TEST(SimSession, TheLorvexProgramDumpsAndLoadsThroughTheSimulator) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    SimSession session;
    ASSERT_TRUE(session.ok()) << session.error();
    const ProcessResult dumped = session.lorvex({"/CA", "/FFLAGI.TXT"}, 30000);
    ASSERT_FALSE(dumped.timedOut);
    EXPECT_EQ(dumped.exitCode, 0) << dumped.out << dumped.err;
    EXPECT_EQ(session.files()["FLAGI.TXT"], "FLG, 1, 0, 3,16, 0, 2, 9\n");

    session.dir().write("NOWE.TXT", "FLG,1,0,12,255,16,0,9\n");
    const ProcessResult loaded = session.lorvex({"/CA", "/L", "/FNOWE.TXT"}, 30000);
    EXPECT_EQ(loaded.exitCode, 0) << loaded.out << loaded.err;
    EXPECT_EQ(session.lorvex({"/CA", "/FZNOWU.TXT"}, 30000).exitCode, 0);
    const Files files = session.files();
    EXPECT_EQ(files.count("error.orv"), 0u);
    EXPECT_EQ(files.at("ZNOWU.TXT"), "FLG, 1, 0,12,255,16, 0, 9\n");
    EXPECT_EQ(session.stop(), 0);
}

}  // namespace
}  // namespace lorvex::test
