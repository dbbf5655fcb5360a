// The lorvex binary reading reports from lorvex-sim on a pseudo-terminal, in real time: a read,
// a read that zeroes the counters, and a read that finds them zeroed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

// Every figure after the line's first comma is zero.
bool allZero(const std::string& line) {
    std::istringstream fields(line.substr(line.find(',') + 1));
    for (std::string field; std::getline(fields, field, ',');) {
        if (std::stod(field) != 0.0) return false;
    }
    return true;
}

TEST(ReportsOnPty, ZeroingReadReportsThenClearsTheCounters) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-reports");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;

    // The register report, and the cash report whose answer runs to position 302.
    for (const std::string letter : {"K", "S"}) {
        const auto read = [&](const std::string& file, bool zero) {
            std::vector<std::string> args = {"/C" + letter, "/F" + file};
            if (zero) args.push_back("/R");
            const ProcessResult run = runLorvex(args, dir.path(), 30000);
            EXPECT_FALSE(run.timedOut) << letter;
            EXPECT_EQ(run.exitCode, 0) << letter << run.out << run.err;
            EXPECT_FALSE(std::filesystem::exists(dir.path() / "error.orv")) << letter;
            std::ostringstream bytes;
            bytes << std::ifstream(dir.path() / file, std::ios::binary).rdbuf();
            return bytes.str();
        };
        const std::string before = read("BEFORE.TXT", false);
        const std::string zeroing = read("ZEROING.TXT", true);
        const std::string after = read("AFTER.TXT", false);
        EXPECT_EQ(zeroing, before) << letter;
        ASSERT_EQ(after.substr(0, 3), before.substr(0, 3)) << after;
        EXPECT_FALSE(allZero(before)) << before;
        EXPECT_TRUE(allZero(after)) << after;
    }
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
}

}  // namespace
}  // namespace lorvex::test
