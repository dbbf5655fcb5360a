// The all-settings job 'Z' with the real programs on a pty: a dump of every settings group, and a
// load of a small settings file into an empty register that the register then gives back.

#include <gtest/gtest.h>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(AllSettingsOnPty, DumpEveryGroupThenLoadIntoAnEmptyRegister) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    TempDir dir("lorvex-e2e-z");
    {
        SimProcess sim;
        std::string error;
        ASSERT_TRUE(sim.start(dir.path(), {}, error)) << error;
        const ProcessResult dump = runLorvex({"/CZ", "/S4", "/FZ.TXT"}, dir.path(), 120000);
        EXPECT_EQ(dump.exitCode, 0) << dump.out;
        sim.stop();
    }
    const std::string all = "\n" + dir.read()["Z.TXT"];
    for (const char* prefix : {"STP,", "NAG,", "DEP 1,", "DEP42,", "FLG,", "HAL,", "RAB,", "BEZ 1,",
                               "VAT,", "UNI,", "NIP,", "KAS00,", "KAS07,"}) {
        EXPECT_NE(all.find(std::string("\n") + prefix), std::string::npos) << prefix << "\n" << all;
    }

    dir.write("LOAD.TXT",
              "STP,Dziękujemy,Zapraszamy ponownie\n"
              "NAG,SKLEP U ZOSI,ul. Polna 1\n"
              "DEP 7,Pieczywo          ,      0.00,A,0000,1\n"
              "KAS03,Zofia Żak         ,4321\n"
              "PLU   1,nie w Z,1.00,A,0,00000,1,0,0\n");
    {
        SimProcess sim;
        std::string error;
        ASSERT_TRUE(sim.start(dir.path(), {"--empty"}, error)) << error;
        const ProcessResult load = runLorvex({"/CZ", "/L", "/S4", "/FLOAD.TXT"}, dir.path(), 60000);
        EXPECT_EQ(load.exitCode, 0) << load.out;
        for (const char* letter : {"/CB", "/CC", "/CD"}) {
            const ProcessResult dump =
                runLorvex({letter, "/S4", std::string("/F") + (letter + 2) + ".TXT"}, dir.path());
            EXPECT_EQ(dump.exitCode, 0) << letter;
        }
        sim.stop();
    }
    const Files files = dir.read();
    EXPECT_FALSE(files.count("error.orv")) << files.at("error.orv");
    EXPECT_EQ(files.at("B.TXT"), "NAG,SKLEP U ZOSI,ul. Polna 1\n");
    EXPECT_EQ(files.at("C.TXT"), "STP,Dziękujemy,Zapraszamy ponownie\n");
    EXPECT_NE(files.at("D.TXT").find("KAS03,Zofia Żak         ,4321\n"), std::string::npos);
}

}  // namespace
}  // namespace lorvex::test
