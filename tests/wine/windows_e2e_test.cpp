// The Windows flavour, lorvex.exe, run under Wine against lorvex-sim on a pty. Wine's registry maps
// COM1 and COM10 to fixed paths; each test points them at its own simulator. Where the Linux build
// serves as the reference, both runs meet a fresh register with the same content.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/screens.h"
#include "link/status_log.h"
#include "support/processes.h"
#include "support/table_builder.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

const std::filesystem::path kPorts = LORVEX_WINE_PORTS;

class WineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("WINEPREFIX", LORVEX_WINE_PREFIX, 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        unsetenv("DISPLAY");
    }
};
const auto* const kWine = ::testing::AddGlobalTestEnvironment(new WineEnvironment);

// Console output and text files of a Windows run end their lines in CR LF.
std::string unixLines(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

// error.orv after one status above 3: the "99" heading line, then the status's message.
std::string errorLog(StatusCode code, CharsetMode mode) {
    const PolishLetterRow& letters = polishLetters(mode);
    std::string heading = "99  Uwaga! wszystkie b";
    heading += static_cast<char>(letters[kSmallL]);
    heading += static_cast<char>(letters[kSmallE]);
    heading += "dy zapisano w pliku: error.orv\n";
    return heading + statusMessage(code, 0, "", mode);
}

ProcessResult runWindows(const std::vector<std::string>& args, const std::filesystem::path& dir,
                         int timeoutMs = 120000) {
    std::vector<std::string> all{LORVEX_WINDOWS_EXE};
    all.insert(all.end(), args.begin(), args.end());
    return runProcess(LORVEX_WINE, all, dir, timeoutMs);
}

// lorvex.exe with `args` against a simulator whose pty Wine reaches as COM<n> ("com1"): exit 0.
void runOnWineSim(const TempDir& dir, const std::string& com, std::vector<std::string> simOptions,
                  const std::vector<std::string>& args) {
    simOptions.insert(simOptions.begin(), {"--link", (kPorts / com).string()});
    SimProcess sim;
    std::string error;
    EXPECT_TRUE(sim.start(dir.path(), simOptions, error)) << error;
    const ProcessResult run = runWindows(args, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.out;
    sim.stop();
}

// The same job with the Linux build against a fresh simulator: the reference files.
Files linuxReference(const std::vector<std::string>& args, const Files& input = {},
                     std::vector<std::string> simOptions = {}) {
    TempDir dir("lorvex-wine-ref");
    dir.write(input);
    SimProcess sim;
    std::string error;
    EXPECT_TRUE(sim.start(dir.path(), simOptions, error)) << error;
    std::vector<std::string> withPort{"/P1"};
    withPort.insert(withPort.end(), args.begin(), args.end());
    const ProcessResult run = runLorvex(withPort, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    sim.stop();
    Files files = dir.read();
    files.erase("COM1");
    return files;
}

TEST(Windows, ScreensAreTheMazoviaBytesAsTheyStand) {
    TempDir dir("lorvex-wine");
    dir.write("error.orv", "old\n");
    const ProcessResult help = runWindows({"/H"}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(unixLines(help.out), helpScreen());
    const ProcessResult banner = runWindows({}, dir.path());
    EXPECT_EQ(unixLines(banner.out), bannerScreen());
    EXPECT_FALSE(dir.read().count("error.orv")) << "the old error log is deleted at start";
}

TEST(Windows, StartupFailuresKeepTheUsersFile) {
    TempDir dir("lorvex-wine");
    const ProcessResult missing = runWindows({"/P1", "/CG", "/L", "/FNONE.TXT"}, dir.path());
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(dir.read()["error.orv"], errorLog(kOpenFailed, CharsetMode::Mazovia));

    dir.write("DEPS.TXT", "keep me\r\n");
    // COM7 is mapped to no device here.
    const ProcessResult noPort = runWindows({"/P7", "/CG", "/FDEPS.TXT"}, dir.path());
    EXPECT_EQ(noPort.exitCode, 1);
    const Files files = dir.read();
    EXPECT_EQ(files.at("DEPS.TXT"), "keep me\r\n");
    EXPECT_EQ(files.at("error.orv"), errorLog(kOpenFailed, CharsetMode::Mazovia));
}

TEST(Windows, DepartmentDumpMatchesLinuxAndLoadsBack) {
    const Files reference = linuxReference({"/CG", "/FDEPS.TXT"});
    TempDir dir("lorvex-wine");
    runOnWineSim(dir, "com1", {}, {"/P1", "/CG", "/FDEPS.TXT"});
    const std::string written = dir.read()["DEPS.TXT"];
    EXPECT_NE(written.find("\r\n"), std::string::npos) << "text mode writes CR LF";
    EXPECT_EQ(unixLines(written), reference.at("DEPS.TXT"));

    // Loading the CR LF file into an empty register, then dumping it on Linux, gives it back.
    TempDir state("lorvex-wine-state");
    runOnWineSim(dir, "com1", {"--empty", "--state", (state.path() / "reg.state").string()},
                 {"/P1", "/CG", "/L", "/FDEPS.TXT"});
    EXPECT_FALSE(dir.read().count("error.orv"));
    const Files again = linuxReference({"/CG", "/FAGAIN.TXT"}, {},
                                       {"--state", (state.path() / "reg.state").string()});
    EXPECT_EQ(again.at("AGAIN.TXT"), reference.at("DEPS.TXT"));
}

TEST(Windows, GoodsFromAProductTableInOneChainedLoad) {
    const std::string table = goodsTable({{.code = 7, .name = "Chleb", .price = 1.5},
                                          {.code = 12345678, .name = "Mleko", .price = 2.5},
                                          {.code = 5900000000001, .name = "Kawa", .price = 3.5}});

    TempDir dir("lorvex-wine");
    dir.write("TOW.DAT", table);
    TempDir state("lorvex-wine-state");
    runOnWineSim(dir, "com1", {"--empty", "--state", (state.path() / "reg.state").string()},
                 {"/P1", "/CH", "/L", "/FTOW.DAT"});
    EXPECT_FALSE(dir.read().count("error.orv")) << dir.read()["error.orv"];
    EXPECT_EQ(dir.read()["TOW.DAT"], table) << "a load leaves the table as it was";
    const Files dumped = linuxReference({"/CH", "/A", "/FPLU.TXT"}, {},
                                        {"--state", (state.path() / "reg.state").string()});
    const std::string plu = dumped.at("PLU.TXT");
    EXPECT_EQ(std::count(plu.begin(), plu.end(), '\n'), 3) << plu;
    for (const char* name : {"Chleb", "Mleko", "Kawa"})
        EXPECT_NE(plu.find(name), std::string::npos) << plu;
}

TEST(Windows, ReportWithZeroingThroughCom10) {
    TempDir state("lorvex-wine-state");
    const std::string stateFile = (state.path() / "reg.state").string();
    const Files reference = linuxReference({"/CK", "/FREP.TXT"}, {}, {"--state", stateFile});
    TempDir dir("lorvex-wine");
    runOnWineSim(dir, "com10", {"--state", stateFile}, {"/P10", "/CK", "/R", "/FREP.TXT"});
    EXPECT_EQ(unixLines(dir.read()["REP.TXT"]), reference.at("REP.TXT"));
    // Read and zeroed: the next report shows nothing but zeros.
    const Files after = linuxReference({"/CK", "/FREP.TXT"}, {}, {"--state", stateFile});
    const std::string zeroed = after.at("REP.TXT");
    EXPECT_EQ(zeroed.substr(0, 3), "PLT");
    EXPECT_EQ(zeroed.find_first_of("123456789"), std::string::npos) << zeroed;
}

TEST(Windows, ErrorLogInEachEncoding) {
    struct Case {
        const char* option;
        CharsetMode mode;
    } cases[] = {
        {"/S1", CharsetMode::Mazovia}, {"/S2", CharsetMode::Latin}, {"/S3", CharsetMode::None}};
    for (const Case& c : cases) {
        TempDir dir("lorvex-wine");
        runOnWineSim(dir, "com1", {"--error", "B:0:26"}, {"/P1", "/CB", "/FHDR.TXT", c.option});
        EXPECT_EQ(dir.read()["error.orv"], errorLog(26, c.mode)) << c.option;
    }
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
