// lorvex.exe under Wine reaching lorvex-sim over TCP through Winsock: the same department dump as
// the Linux build makes from the same register.

#include <gtest/gtest.h>

#include <string>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(WindowsNetwork, DepartmentDumpOverTcp) {
    TempDir dir("lorvex-wine-net");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {"--tcp", "0"}, error)) << error;
    const std::string& ready = sim.readyLine();
    const std::string port = "/PTCP:127.0.0.1:" + ready.substr(ready.rfind(':') + 1);

    const ProcessResult linux = runLorvex({port, "/CG", "/FLINUX.TXT"}, dir.path());
    ASSERT_EQ(linux.exitCode, 0) << linux.err;
    const ProcessResult windows = runProcess(
        LORVEX_WINE, {LORVEX_WINDOWS_EXE, port, "/CG", "/FDEPS.TXT"}, dir.path(), 120000);
    EXPECT_EQ(windows.exitCode, 0) << windows.out;
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();

    Files files = dir.read();
    std::string dumped;
    for (const char c : files["DEPS.TXT"]) {
        if (c != '\r') dumped += c;
    }
    EXPECT_GT(files["LINUX.TXT"].size(), 1000u);
    EXPECT_EQ(dumped, files["LINUX.TXT"]);
    EXPECT_FALSE(files.count("error.orv"));
}

}  // namespace
}  // namespace lorvex::test
