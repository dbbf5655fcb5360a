// /S4: the exchange file and error.orv in UTF-8, the register still in code page 852.

#include <gtest/gtest.h>

#include "support/job_harness.h"

namespace lorvex::test {
namespace {

const std::string kBad = "63  Złe dane w pliku\n";
const std::string kNotice = "99  Uwaga! wszystkie błędy zapisano w pliku: error.orv\n";

TEST(Utf8Files, LoadKeepsPolishLettersAndRefusesWhatTheRegisterCannotCarry) {
    JobHarness harness;
    const std::string lines =
        "\xEF\xBB\xBF"  // a byte order mark, as Windows editors write it
        "KAS03,Zażółć gęślą jaźń,1234\r\n"
        "KAS04,Euro €,1111\n"
        "KAS05,Bad \xC3,2222\n"
        "KAS06,Źdźbło,3333\n";
    const JobResult load = harness.file("LOAD.TXT", lines).run({"/CD", "/L", "/S4", "/FLOAD.TXT"});
    // Two lines refused, each with message 63 in UTF-8 after the heading.
    EXPECT_EQ(load.errorLog(), kNotice + kBad + kBad);
    // Only the two good lines reached the register, as CP852.
    ASSERT_EQ(load.pcFrames().size(), 4u);
    EXPECT_EQ(load.pcFrames()[1], "DD3Za\xBE\xA2\x88\x86 g\xA9\x98l\xA5 ja\xAB\xE4 1234");
    EXPECT_EQ(load.pcFrames()[3].substr(0, 9), "DD6\215d\253b\210o");

    // Dumped in UTF-8, the columns stay where the single-byte files have them.
    const JobResult dump = harness.run({"/CD", "/S4", "/FKAS.TXT"});
    EXPECT_NE(dump.file("KAS.TXT").find("KAS03,Zażółć gęślą jaźń ,1234\n"), std::string::npos);
    EXPECT_NE(dump.file("KAS.TXT").find("KAS06,Źdźbło            ,3333\n"), std::string::npos);
}

// A line the register cannot carry is reported only by a job that would send it.
TEST(Utf8Files, OnlyTheJobsOwnUnsendableLinesAreReported) {
    const std::string lines =
        "KAS04,Euro €,1111\nFLG,1,0,3,16,0,2,9\nDEP 1,€uro,1,A,0000,1\nPLU1,€,1,A,1,00000,1,0,0\n";
    const struct {
        const char* job;
        std::size_t frames, refused;
    } cases[] = {{"/CA", 2, 0}, {"/CJ", 0, 0}, {"/CD", 0, 1},
                 {"/CG", 0, 1}, {"/CH", 0, 1}, {"/CZ", 2, 2}};
    for (const auto& c : cases) {
        const JobResult run = runJob({c.job, "/L", "/S4"}, {{"std.dat", lines}});
        EXPECT_EQ(run.pcFrames().size(), c.frames) << c.job;
        std::string log = c.refused > 0 ? kNotice : "";
        for (std::size_t i = 0; i < c.refused; ++i) log += kBad;
        EXPECT_EQ(run.errorLog(), log) << c.job;
    }
}

}  // namespace
}  // namespace lorvex::test
