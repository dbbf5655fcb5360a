#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/job_harness.h"

namespace lorvex::test {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The wire letters of the requests the PC sent, in order.
std::string requestLetters(const JobResult& run) {
    std::string letters;
    for (const std::string& frame : run.pcFrames()) {
        if (frame.size() > 2 && frame[0] == 'S') letters += frame[1];
    }
    return letters;
}

TEST(AllSettingsJob, DumpReadsEveryGroupInOrder) {
    const JobResult orvex = runJob({"/CZ", "/S3"});
    EXPECT_EQ(requestLetters(orvex), "CB" + std::string(42, 'H') + "AEG" + std::string(42, 'J') +
                                         "KMN" + std::string(8, 'D'));
    const std::vector<std::string> lines = linesOf(orvex.file("std.dat"));
    ASSERT_EQ(lines.size(), 2u + 42 + 3 + 42 + 3 + 8);
    EXPECT_EQ(lines[0], "STP,DZIEKUJEMY ZA ZAKUPY,ZAPRASZAMY PONOWNIE");
    EXPECT_EQ(lines[1].substr(0, 10), "NAG,SKLEP ");
    EXPECT_EQ(lines[2].substr(0, 5), "DEP 1");
    EXPECT_EQ(lines[44], "FLG, 1, 0, 3,16, 0, 2, 9");
    EXPECT_EQ(lines[45].substr(0, 4), "HAL,");
    EXPECT_EQ(lines[46].substr(0, 4), "RAB,");
    EXPECT_EQ(lines[47], "BEZ 1,                 1");
    EXPECT_EQ(lines[89], "VAT,23.00, 8.00, 5.00, 0.00, 0.00, 0.00");
    EXPECT_EQ(lines[90], "UNI,ABC1234567");
    EXPECT_EQ(lines[91], "NIP,526-000-12-46");
    EXPECT_EQ(lines[92], "KAS00,Anna Kowalska     ,1111");
    EXPECT_FALSE(orvex.has("error.orv"));

    // A SOLVEK register: its own flags, thirty cashiers and the discount cards at the end.
    const JobResult solvek = runJob({"/CZ", "/W"});
    EXPECT_EQ(requestLetters(solvek), "CB" + std::string(42, 'H') + "sEG" + std::string(42, 'J') +
                                          "KMN" + std::string(30, 'D') + "j");
    const std::vector<std::string> solvekLines = linesOf(solvek.file("std.dat"));
    EXPECT_EQ(solvekLines[44], "FLS, 1, 0, 3,16, 0, 2, 9,32, 0");
    EXPECT_EQ(solvekLines.back().substr(0, 9), "KRT    0,");
}

TEST(AllSettingsJob, DumpReportsOnlyTheLastStatus) {
    {
        // No answer to the footer: one report and nothing else asked.
        JobHarness harness;
        harness.faults().add(sim::Fault::silence());
        const JobResult run = harness.run({"/CZ"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.pcFrames().size(), 0u);
        EXPECT_EQ(run.file("std.dat"), "");
        EXPECT_EQ(run.errorLog(),
                  "60 Brak po\x92\x86"
                  "czenia lub z\x92"
                  "a pozycja kluczyka\n");
    }
    {
        // A refused group in the middle is skipped in silence; the last cashier's refusal is
        // the one reported.
        JobHarness harness;
        harness.faults().errorAt('E', 0, 0x1D).errorAt('D', 8, 0x1D);
        const JobResult run = harness.run({"/CZ"});
        EXPECT_EQ(run.file("std.dat").find("HAL,"), std::string::npos);
        EXPECT_NE(run.file("std.dat").find("RAB,"), std::string::npos);
        EXPECT_EQ(run.errorLog(),
                  "99  Uwaga! wszystkie b\x92\x91"
                  "dy zapisano w pliku: "
                  "error.orv\n36  B\x92\x91"
                  "dny index tablicy\n");
    }
}

TEST(AllSettingsJob, DumpThenLoadRestoresTheSettings) {
    const std::string dumped = runJob({"/CZ"}).file("std.dat");
    JobHarness fresh(sim::emptyMemory());
    const JobResult load = fresh.file("std.dat", dumped).run({"/L", "/CZ"});
    EXPECT_EQ(load.exitCode, 0);
    EXPECT_FALSE(load.has("error.orv")) << load.errorLog();
    // Empty direct-code slots and unused cashiers send nothing: they are empty already.
    EXPECT_EQ(requestLetters(load),
              "CB" + std::string(42, 'H') + "AEG" + std::string(10, 'J') + std::string(6, 'D'));
    fresh.setup().files.clear();
    std::vector<std::string> expected = linesOf(dumped);
    std::vector<std::string> again = linesOf(fresh.run({"/CZ"}).file("std.dat"));
    // VAT rates and the fiscal identifiers are never loaded.
    ASSERT_EQ(again.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string prefix = expected[i].substr(0, 3);
        if (prefix == "VAT" || prefix == "UNI" || prefix == "NIP") continue;
        EXPECT_EQ(again[i], expected[i]);
    }
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
    const JobResult run = runJob({"/L", "/CZ"}, {{"std.dat", file}});
    EXPECT_EQ(requestLetters(run), "DJj");
    EXPECT_EQ(run.pcFrames()[1], "DD1JAN               -5  ");
    // The register itself refuses the negative code; the bad cashier number never reaches it.
    EXPECT_EQ(run.errorLog(),
              "99  Uwaga! wszystkie b\x92\x91"
              "dy zapisano w pliku: error.orv\n"
              "04  Niedopuszczalne znaki numeryczne kod: \n"
              "63  Z\x92"
              "e dane w pliku\n");
}

TEST(AllSettingsJob, LoadPausesOnlyAfterLinesThatSentARecord) {
    const JobResult idle =
        runJob({"/L", "/CZ"}, {{"std.dat", "VAT,1\nKDW1,2\nBEZ 1,0\nKAS01,X,0\nremark\n"}});
    EXPECT_EQ(idle.pcFrames().size(), 0u);
    const JobResult oneRecord = runJob({"/L", "/CZ"}, {{"std.dat", "FLG,1\n"}});
    const JobResult header = runJob({"/L", "/CZ"}, {{"std.dat", "NAG,A\n"}});
    // The register gets a second after each record, and a further second after the header.
    EXPECT_LT(idle.virtualMs, 1000u);
    EXPECT_GE(oneRecord.virtualMs, idle.virtualMs + 1000);
    EXPECT_GE(header.virtualMs, oneRecord.virtualMs + 1000);
}

}  // namespace
}  // namespace lorvex::test
