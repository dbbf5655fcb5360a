// Z: all the settings in one run, with rules of its own for what it reports and loads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/job_texts.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

// The wire letters of the requests the PC sent, in order.
std::string requestLetters(const JobResult& run) {
    std::string letters;
    for (const std::string& frame : run.pcFrames())
        letters += frame[0] == 'S' ? frame.substr(1, 1) : "";
    return letters;
}

TEST(AllSettingsJob, DumpIsTheSingleDumpsInItsOrderWithTheFiscalIds) {
    for (const std::string solvek : {"/S1", "/W"}) {
        std::string expected;
        std::vector<std::string> requests;
        const auto dump = [&](const std::string& letter) {
            const JobResult single = runJob({letter, solvek});
            expected += single.file("std.dat");
            for (const std::string& frame : single.pcFrames()) requests.push_back(frame);
        };
        for (const char* letter :
             {"/CC", "/CB", "/CG", solvek == "/W" ? "/CU" : "/CA", "/CE", "/CF", "/CI", "/CJ"})
            dump(letter);
        expected += "UNI,ABC1234567\nNIP,526-000-12-46\n";
        for (const char* id : {"SM0", "SN0"}) requests.push_back(id + std::string(36, '0'));
        dump("/CD");
        if (solvek == "/W") dump("/CW");
        const JobResult run = runJob({"/CZ", solvek});
        EXPECT_EQ(run.file("std.dat"), expected) << solvek;
        EXPECT_EQ(run.pcFrames(), requests);
        EXPECT_EQ(run.errorLog(), "");
    }
}

TEST(AllSettingsJob, DumpReportsOnlyTheLastStatus) {
    // A line that dies after the footer: three silences end the dump and nothing is written.
    JobHarness dying;
    for (int n = 2; n < 10; ++n) dying.faults().add(sim::Fault::silence().at(n));
    const JobResult died = dying.run({"/CZ", "/S3"});
    EXPECT_EQ(died.file("std.dat"), "");
    EXPECT_EQ(died.errorLog(), kNoConnection);
    // A refused group in the middle is skipped in silence; the last cashier's refusal is the one
    // reported.
    JobHarness refusing;
    refusing.faults().errorAt('E', 0, 0x1D).errorAt('D', 8, 0x1D);
    const JobResult run = refusing.run({"/CZ", "/S3"});
    EXPECT_EQ(run.file("std.dat").find("HAL,"), std::string::npos);
    EXPECT_NE(run.file("std.dat").find("RAB,"), std::string::npos);
    EXPECT_EQ(run.errorLog(), kNotice + kBadIndex);
}

TEST(AllSettingsJob, DumpThenLoadRestoresTheSettings) {
    const std::string dumped = runJob({"/CZ"}).file("std.dat");
    // VAT rates and the fiscal identifiers are never loaded: the fresh register has them already.
    const sim::RegisterMemory demo = sim::demoMemory();
    sim::RegisterMemory empty = sim::emptyMemory();
    empty.vatRates = demo.vatRates;
    empty.uni = demo.uni;
    empty.nip = demo.nip;
    JobHarness fresh(empty);
    const JobResult load = fresh.file("std.dat", dumped).run({"/L", "/CZ"});
    EXPECT_EQ(load.exitCode, 0);
    EXPECT_EQ(load.errorLog(), "");
    // Empty direct-code slots and unused cashiers send nothing: they are empty already.
    EXPECT_EQ(requestLetters(load),
              "CB" + std::string(42, 'H') + "AEG" + std::string(10, 'J') + std::string(6, 'D'));
    EXPECT_EQ(fresh.run({"/CZ", "/FOUT.TXT"}).file("OUT.TXT"), dumped);
}

TEST(AllSettingsJob, LoadRulesOfItsOwn) {
    const std::string file =
        "KAS01,JAN,-5\n"    // a negative code is sent here
        "KAS02,EWA,0\n"     // a zero code is not
        "KAS40,OLA,1234\n"  // no such cashier: bad data
        "BEZ 5,0\n"         // an empty slot is not cleared here
        "BEZ 6,13\n"
        "KRT    1,1,2,3,4,5,6,7,8,9,10,11,1,AB,2,1,3\n"
        "VAT,23.00, 8.00, 5.00, 0.00, 0.00, 0.00\n"
        "KDW42,77\n"
        "PLU 1\n";
    const JobResult run = runJob({"/L", "/CZ", "/S3"}, {{"std.dat", file}});
    EXPECT_EQ(requestLetters(run), "DJj");
    EXPECT_EQ(run.pcFrames()[1], "DD1JAN               -5  ");
    // The register itself refuses the negative code; the bad cashier number never reaches it.
    EXPECT_EQ(run.errorLog(), kNotice + "04  Niedopuszczalne znaki numeryczne kod: \n" + kBadData);
    // A dead line: the lines left that would send a record are counted. Silences held back are
    // reported before the bad data that follows them.
    JobHarness silent;
    silent.faults().add(sim::Fault::silence());
    const JobResult dead =
        silent.file("std.dat", "FLG,1\n" + file + "NAG,A\nSTP,B\n").run({"/L", "/CZ", "/S3"});
    EXPECT_EQ(dead.errorLog(), kNoConnection + kNoConnection + kBadData);
    EXPECT_EQ(dead.errors,
              "lorvex: the register did not answer 3 times in a row; 3 lines not tried\n");
}

TEST(AllSettingsJob, LoadPausesOnlyAfterLinesThatSentARecord) {
    const auto ms = [](const std::string& file) {
        return runJob({"/L", "/CZ"}, {{"std.dat", file}}).virtualMs;
    };
    // The register gets a second after each record, and a further second after the header.
    EXPECT_LT(ms("VAT,1\nKDW1,2\nBEZ 1,0\nKAS01,X,0\nremark\n"), 1000u);
    EXPECT_GE(ms("FLG,1\n"), 1000u);
    EXPECT_EQ(ms("NAG,A\n"), ms("STP,A\n") + 1000);
}

}  // namespace
}  // namespace lorvex::test
