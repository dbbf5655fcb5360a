// The Windows flavour, lorvex.exe, run under Wine against lorvex-sim on a pty. Wine's registry maps
// COM1 and COM10 to fixed paths; each test points them at its own simulator. The Linux build
// serves as the reference: both runs meet a fresh register with the same content.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/screens.h"
#include "support/processes.h"
#include "support/table_builder.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

const std::filesystem::path kPorts = LORVEX_WINE_PORTS;

// Console output and text files of a Windows run end their lines in CR LF.
std::string unixLines(std::string text) {
    std::erase(text, '\r');
    return text;
}

// lorvex.exe under Wine, with the prefix the setup prepared and no display.
ProcessResult runWindows(const std::vector<std::string>& args, const std::filesystem::path& dir) {
    std::vector<std::string> all{"-u", "DISPLAY", "WINEDEBUG=-all",
                                 "WINEDLLOVERRIDES=mscoree,mshtml="};
    all.insert(all.end(), {"WINEPREFIX=" LORVEX_WINE_PREFIX, LORVEX_WINE, LORVEX_WINDOWS_EXE});
    all.insert(all.end(), args.begin(), args.end());
    return runProcess("/usr/bin/env", all, dir, 120000);
}

// lorvex.exe with `args` against a fresh simulator whose pty Wine reaches as `com` ("com1"), or
// with no `com` the Linux build: the files it leaves in `dir`.
Files runOnSim(const TempDir& dir, const std::string& com, std::vector<std::string> simOptions,
               const std::vector<std::string>& args, int exitCode = 0) {
    if (!com.empty()) simOptions.insert(simOptions.begin(), {"--link", (kPorts / com).string()});
    SimProcess sim;
    std::string error;
    EXPECT_TRUE(sim.start(dir.path(), simOptions, error)) << error;
    const ProcessResult run =
        com.empty() ? runLorvex(args, dir.path()) : runWindows(args, dir.path());
    EXPECT_EQ(run.exitCode, exitCode) << run.out << run.err;
    sim.stop();
    return dir.read();
}

// The same job with the Linux build in a directory of its own: the reference.
Files linuxReference(const std::vector<std::string>& args,
                     const std::vector<std::string>& simOptions = {}, int exitCode = 0) {
    return runOnSim(TempDir("lorvex-wine-ref"), "", simOptions, args, exitCode);
}

TEST(Windows, ScreensAreTheMazoviaBytesAndStartupFailuresKeepTheUsersFile) {
    TempDir dir("lorvex-wine");
    dir.write("error.orv", "old\n");
    const ProcessResult help = runWindows({"/H"}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(unixLines(help.out), helpScreen());
    EXPECT_FALSE(dir.read().count("error.orv")) << "the old error log is deleted at start";

    const std::string openFailed =
        linuxReference({"/P1", "/CG", "/L", "/FNONE.TXT"}, {}, 2).at("error.orv");
    EXPECT_EQ(runWindows({"/P1", "/CG", "/L", "/FNONE.TXT"}, dir.path()).exitCode, 2);
    EXPECT_EQ(dir.read()["error.orv"], openFailed);
    dir.write("DEPS.TXT", "keep me\r\n");
    // COM7 is mapped to no device here.
    EXPECT_EQ(runWindows({"/P7", "/CG", "/FDEPS.TXT"}, dir.path()).exitCode, 1);
    EXPECT_EQ(dir.read(), (Files{{"DEPS.TXT", "keep me\r\n"}, {"error.orv", openFailed}}));
}

// Dumped through COM10, loaded back into an empty register through COM1.
TEST(Windows, DepartmentDumpMatchesLinuxAndLoadsBack) {
    const Files reference = linuxReference({"/P1", "/CG", "/FDEPS.TXT"});
    TempDir dir("lorvex-wine");
    const std::string written =
        runOnSim(dir, "com10", {}, {"/P10", "/CG", "/FDEPS.TXT"})["DEPS.TXT"];
    EXPECT_NE(written.find("\r\n"), std::string::npos) << "text mode writes CR LF";
    EXPECT_EQ(unixLines(written), reference.at("DEPS.TXT"));

    const std::string state = (dir / "reg.state").string();
    EXPECT_FALSE(
        runOnSim(dir, "com1", {"--empty", "--state", state}, {"/P1", "/CG", "/L", "/FDEPS.TXT"})
            .count("error.orv"));
    const Files again = linuxReference({"/P1", "/CG", "/FAGAIN.TXT"}, {"--state", state});
    EXPECT_EQ(again.at("AGAIN.TXT"), reference.at("DEPS.TXT"));
}

TEST(Windows, GoodsFromAProductTableInOneChainedLoad) {
    TempDir dir("lorvex-wine");
    dir.write("TOW.DAT", goodsTable({{.code = 7, .name = "Chleb", .price = 1.5},
                                     {.code = 12345678, .name = "Mleko", .price = 2.5},
                                     {.code = 5900000000001, .name = "Kawa", .price = 3.5}}));
    const std::string state = (dir / "reg.state").string();
    EXPECT_FALSE(
        runOnSim(dir, "com1", {"--empty", "--state", state}, {"/P1", "/CH", "/L", "/FTOW.DAT"})
            .count("error.orv"));
    const std::string plu =
        linuxReference({"/P1", "/CH", "/A", "/FPLU.TXT"}, {"--state", state}).at("PLU.TXT");
    EXPECT_EQ(std::count(plu.begin(), plu.end(), '\n'), 3) << plu;
    for (const char* name : {"Chleb", "Mleko", "Kawa"})
        EXPECT_NE(plu.find(name), std::string::npos) << plu;
}

// Over TCP through Winsock: the same department dump as the Linux build makes.
TEST(WindowsNetwork, DepartmentDumpOverTcp) {
    TempDir dir("lorvex-wine-net");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {"--tcp", "0"}, error)) << error;
    const std::string& ready = sim.readyLine();
    const std::string port = "/PTCP:127.0.0.1:" + ready.substr(ready.rfind(':') + 1);
    const ProcessResult linux = runLorvex({port, "/CG", "/FLINUX.TXT"}, dir.path());
    ASSERT_EQ(linux.exitCode, 0) << linux.err;
    const ProcessResult windows = runWindows({port, "/CG", "/FDEPS.TXT"}, dir.path());
    EXPECT_EQ(windows.exitCode, 0) << windows.out;
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
    Files files = dir.read();
    EXPECT_GT(files["LINUX.TXT"].size(), 1000u);
    EXPECT_EQ(unixLines(files["DEPS.TXT"]), files["LINUX.TXT"]);
    EXPECT_FALSE(files.count("error.orv"));
}

}  // namespace
}  // namespace lorvex::test
