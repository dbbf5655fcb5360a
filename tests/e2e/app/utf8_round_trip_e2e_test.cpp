// The real programs on a pty: a UTF-8 cashier dump loaded into an empty register and dumped
// again comes back the same, Polish letters and all.

#include <gtest/gtest.h>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(Utf8OnPty, CashiersRoundTripThroughAnEmptyRegister) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-utf8");
    std::string first;
    {
        SimProcess sim;
        std::string error;
        ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
        const ProcessResult dump = runLorvex({"/CD", "/S4", "/FKASJERZY.TXT"}, dir.path());
        ASSERT_EQ(dump.exitCode, 0) << dump.out;
        sim.stop();
        first = dir.read()["KASJERZY.TXT"];
    }
    EXPECT_NE(first.find("Józef Wiśniewski"), std::string::npos) << first;
    {
        SimProcess sim;
        std::string error;
        ASSERT_TRUE(sim.start(dir.path(), {"--empty"}, error)) << error;
        const ProcessResult load = runLorvex({"/CD", "/L", "/S4", "/Fkasjerzy.txt"}, dir.path());
        EXPECT_EQ(load.exitCode, 0) << load.out;
        const ProcessResult again = runLorvex({"/CD", "/S4", "/FAGAIN.TXT"}, dir.path());
        EXPECT_EQ(again.exitCode, 0) << again.out;
        sim.stop();
    }
    const Files files = dir.read();
    EXPECT_FALSE(files.count("error.orv")) << files.at("error.orv");
    EXPECT_EQ(files.at("AGAIN.TXT"), first);
}

}  // namespace
}  // namespace lorvex::test
