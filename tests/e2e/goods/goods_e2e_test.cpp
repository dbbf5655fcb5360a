// The lorvex binary moving the goods of one lorvex-sim into a fresh one over pseudo-terminals, in
// real time: dumped, loaded in one chained transaction, and dumped again to the same bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

void runOk(const std::vector<std::string>& args, const TempDir& dir) {
    const ProcessResult run = runLorvex(args, dir.path(), 60000);
    EXPECT_FALSE(run.timedOut) << args[0];
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "error.orv"))
        << readFile(dir.path() / "error.orv");
}

TEST(GoodsOnPty, DumpedGoodsLoadIntoAFreshRegisterAndDumpTheSame) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    std::string error;

    TempDir shop("lorvex-e2e-goods-shop");
    std::string dumped;
    {
        SimProcess sim;
        ASSERT_TRUE(sim.start(shop.path(), {}, error)) << error;
        runOk({"/CH", "/A", "/FGOODS.TXT"}, shop);
        EXPECT_EQ(sim.stop(), 0) << sim.errorText();
        dumped = readFile(shop.path() / "GOODS.TXT");
    }
    ASSERT_GT(dumped.size(), 1000u);
    ASSERT_EQ(dumped.substr(0, 3), "PLU");

    TempDir fresh("lorvex-e2e-goods-fresh");
    fresh.write("GOODS.TXT", dumped);
    SimProcess sim;
    ASSERT_TRUE(sim.start(fresh.path(), {"--empty"}, error)) << error;
    runOk({"/L", "/CH", "/FGOODS.TXT"}, fresh);
    runOk({"/CH", "/A", "/FAGAIN.TXT"}, fresh);
    EXPECT_EQ(readFile(fresh.path() / "AGAIN.TXT"), dumped);
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
}

}  // namespace
}  // namespace lorvex::test
