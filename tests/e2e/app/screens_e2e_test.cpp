// The real binary's screens off a terminal: UTF-8, exit code 0, the old error log gone, no port.

#include "app/screens.h"
#include "platform/codepages.h"
#include "support/sim_session.h"

namespace lorvex::test {
namespace {

TEST(Screens, ShowUtf8OffATerminalAndTouchNothingButTheOldLog) {
    TempDir dir("lorvex-e2e-screens");
    const struct {
        std::vector<std::string> args;
        std::string screen;
    } cases[] = {{{}, bannerScreen()},
                 {{"/h"}, helpScreen()},
                 {{"/CA", "/V", "/H"}, programInfoScreen()},
                 {{"/P13", "/?"}, bannerScreen()},
                 {{"--help"}, helpScreen()},
                 {{"/CD", "-h"}, helpScreen()},
                 {{"--version"}, "lorvex " LORVEX_VERSION "\n"}};
    for (const auto& c : cases) {
        dir.write("error.orv", "old\n");
        const ProcessResult run = runLorvex(c.args, dir.path(), 10000);
        EXPECT_EQ(run.exitCode, 0);
        // The program and this test link the same screens, build time included.
        EXPECT_EQ(run.out, toUtf8(c.screen, TextEncoding::Mazovia));
        EXPECT_TRUE(dir.read().empty()) << "no file is left, not even the old error log";
    }
    EXPECT_NE(runLorvex({"/H"}, dir.path(), 10000).out.find("Dostępne opcje:"), std::string::npos);
}

}  // namespace
}  // namespace lorvex::test
