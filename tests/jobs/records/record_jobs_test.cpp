#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/job_harness.h"
#include "text/format.h"

namespace lorvex::test {
namespace {

const std::string kZeros(18, '0');
const std::string kLoadRequestTail = "1" + kZeros + kZeros;
// The error log's first line before a message of a code above 3 (Mazovia letters).
const std::string kLogNotice =
    "99  Uwaga! wszystkie b\x92\x91"
    "dy zapisano w pliku: error.orv\n";
const std::string kBadDataMessage =
    "63  Z\x92"
    "e dane w pliku\n";
const std::string kNoConnection =
    "60 Brak po\x92\x86"
    "czenia lub z\x92"
    "a pozycja kluczyka\n";

std::string pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

TEST(RecordJobs, DumpsWriteTheRegistersSettings) {
    struct Case {
        std::vector<std::string> args;
        std::string file;
    };
    std::string directCodes;
    const char* codes[] = {"1", "2", "6", "7", "13", "19", "25", "42", "59001379", "5900000000015"};
    for (int slot = 1; slot <= 42; ++slot) {
        const std::string code = slot <= 10 ? codes[slot - 1] : "0";
        directCodes += format("BEZ%2d,%18s\n", slot, code.c_str());
    }
    const Case cases[] = {
        {{"/CA"}, "FLG, 1, 0, 3,16, 0, 2, 9\n"},
        {{"/CU"}, "FLS, 1, 0, 3,16, 0, 2, 9,32, 0\n"},
        // Polish letters in the file's encoding, Mazovia by default.
        {{"/CB"},
         "NAG,SKLEP SPO\xA1YWCZY \"POD LIP\x8F\",ul. D\x92uga 12,00-950 Warszawa,"
         "NIP 526-000-12-46\n"},
        {{"/CC", "/S3"}, "STP,DZIEKUJEMY ZA ZAKUPY,ZAPRASZAMY PONOWNIE\n"},
        {{"/CD", "/S3"},
         "KAS00,Anna Kowalska     ,1111\nKAS01,Jozef Wisniewski  ,2468\n"
         "KAS02,Malgorzata Nowak  ,1357\nKAS03,Lukasz Zielinski  ,0042\n"
         "KAS04,Ewa Dabrowska     ,9090\nKAS05,Grzegorz Wojcik   ,7305\n"
         "KAS06,                  ,0000\nKAS07,                  ,0000\n"},
        {{"/CE"},
         "HAL,     50.00,    100.00,    150.00,    200.00,    250.00,    300.00,"
         "    350.00,    400.00,    450.00,    500.00,    550.00,    600.00,"
         "    650.00,    700.00,    750.00\n"},
        {{"/CF"}, "RAB, 5.00,10.00, 2.50,15.00,      1.00,      5.00,     10.00,     20.00\n"},
        {{"/CI"}, directCodes},
        {{"/CJ"}, "VAT,23.00, 8.00, 5.00, 0.00, 0.00, 0.00\n"},
        {{"/CW"},
         "KRT    0,005,006,007,008,009,010,011,012,013,014,10,1,STALY ,5,1,30\n"
         "KRT    0,010,011,012,013,014,015,016,017,018,019,20,2,VIP   ,10,1,30\n"
         "KRT    0,015,016,017,018,019,020,021,022,023,024,30,3,PRAC  ,15,1,30\n"},
        {{"/CY"},
         "KDW                42,                77\nKDW          59002741,                77\n"
         "KDW     5900000000114,                78\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const JobResult run = runJob(c.args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.file("std.dat"), c.file);
        EXPECT_FALSE(run.has("error.orv"));
    }
    // The cashiers of a SOLVEK register run to 29; the linked-code table is asked for whole.
    EXPECT_EQ(runJob({"/CD", "/W"}).pcFrames().size(), 30u);
    EXPECT_EQ(runJob({"/CY"}).pcFrames(), std::vector<std::string>{"Sh0" + std::string(36, ' ')});
}

TEST(RecordJobs, DumpThenLoadRestoresAnEmptyRegister) {
    for (const char* letter : {"/CA", "/CU", "/CB", "/CC", "/CD", "/CE", "/CF", "/CI", "/CY"}) {
        SCOPED_TRACE(letter);
        const std::string dumped = runJob({letter}).file("std.dat");
        JobHarness fresh(sim::emptyMemory());
        const JobResult load = fresh.file("std.dat", dumped).run({"/L", letter});
        EXPECT_EQ(load.exitCode, 0);
        EXPECT_FALSE(load.has("error.orv")) << load.errorLog();
        fresh.setup().files.clear();
        EXPECT_EQ(fresh.run({letter}).file("std.dat"), dumped);
    }
}

TEST(RecordJobs, LoadsSendTheirOwnLinesOnly) {
    struct Case {
        std::string letter;
        std::string file;
        std::vector<std::string> frames;
    };
    const std::string others = "KASZA,1,2\nDEP 1,X\nXFLG,1\n";
    const Case cases[] = {
        {"/CA", others + "FLG,1,0,12,255,16,0,9\n", {"SA" + kLoadRequestTail, "DA01000cff100009"}},
        {"/CU",
         "FLS,1,2,3,4,5,6,7,8,9\r\n" + others,
         {"Ss" + kLoadRequestTail,
          "Ds01020304" + std::string(12, '0') + "0506070809" + std::string(10, '0')}},
        {"/CB",
         "NAG,A,B\n" + others,
         {"SB" + kLoadRequestTail, "DBA\nB" + std::string(214, '\xFF')}},
        {"/CC", "STP,KONIEC", {"SC" + kLoadRequestTail, "DCKONIEC" + std::string(194, '\xFF')}},
        // Codes of 0 or less are not loaded by the cashier job.
        {"/CD",
         "KAS03,JAN,1234\nKAS04,EWA,0\nKAS05,OLA,-3\nKAS06,ADA,\nKAS12,IGA,12\n",
         {"SD1" + kZeros.substr(1) + "3" + kZeros.substr(1) + "3", "DD3JAN               1234",
          "SD1" + kZeros.substr(2) + "12" + kZeros.substr(2) + "12", "DDCIGA               12  "}},
        {"/CE",
         "HAL,12.5",
         {"SE" + kLoadRequestTail, "DE      1250" +
                                       [] {
                                           std::string rest;
                                           for (int i = 1; i < 15; ++i) rest += "         0";
                                           return rest;
                                       }()}},
        {"/CF",
         "RAB,12.5,1,2,3,3.99,0,0,1",
         {"SG" + kLoadRequestTail,
          "DG01250001000020000300"
          "0000000399000000000000000000000000000100"}},
        // Code 0 clears its slot.
        {"/CI",
         "BEZ 3,0\nBEZ42,5900000000015\n",
         {"SJ1" + kZeros.substr(1) + "3" + kZeros.substr(1) + "3", "DJ03" + std::string(18, ' '),
          "SJ1" + kZeros.substr(2) + "42" + kZeros.substr(2) + "42", "DJ42     5900000000015"}},
        {"/CW",
         "KRT    2,5,12,0,0,0,0,0,0,0,0,20,2,AB,10,1,30\n",
         {"Sj1" + kZeros.substr(1) + "2" + kZeros.substr(1) + "2",
          "Dj0005012" + std::string(24, '0') + "202AB    10130"}},
        {"/CY",
         "KDW59002741,77\n",
         {"Sh" + kLoadRequestTail, "Dh" + pad("", 10) + "59002741" + pad("", 16) + "77"}},
        // VAT rates are read only: a load sends nothing.
        {"/CJ", "VAT,23.00, 8.00, 5.00, 0.00, 0.00, 0.00\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letter);
        const JobResult run = runJob({"/L", c.letter}, {{"std.dat", c.file}});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.pcFrames(), c.frames);
        EXPECT_FALSE(run.has("error.orv")) << run.errorLog();
        EXPECT_EQ(run.file("std.dat"), c.file);
    }
}

TEST(RecordJobs, LoadShowsLinesAndRecordsAtTraceLevelOne) {
    const JobResult run = runJob({"/L", "/CD", "/Q1"}, {{"std.dat", "KAS03,JAN,1234\n"}});
    EXPECT_NE(run.console.find("KAS03,JAN,1234\n3,JAN,1234\nKAS>DD3JAN               1234\n"),
              std::string::npos)
        << run.console;
}

TEST(RecordJobs, BadLinesAreReportedAndTheLoadGoesOn) {
    struct Case {
        std::string letter;
        std::string file;
        std::size_t frames;  // of the good lines around the bad one
    };
    const Case cases[] = {
        {"/CD", "KAS03,JAN,1234\nKAS31,X,1111\nKAS04,EWA,12\n", 4},
        {"/CA", "FLG,1\nFLG,1,2,300\nFLG,2\n", 4},
        {"/CE", "HAL,1\nHAL,99999999999\nHAL,2\n", 4},
        {"/CI", "BEZ 1,1\nBEZ43,1\nBEZ 2,2\n", 4},
        {"/CY", "KDW1,2\nKDW1,12345678901234567890\nKDW1,3\n", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letter);
        const JobResult run = runJob({"/L", c.letter}, {{"std.dat", c.file}});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.pcFrames().size(), c.frames);
        EXPECT_EQ(run.errorLog(), kLogNotice + kBadDataMessage);
    }
}

TEST(RecordJobs, DumpRefusedByTheRegisterWritesNothing) {
    const std::pair<const char*, char> jobs[] = {
        {"/CA", 'A'}, {"/CU", 's'}, {"/CB", 'B'}, {"/CC", 'C'}, {"/CD", 'D'}, {"/CE", 'E'},
        {"/CF", 'G'}, {"/CI", 'J'}, {"/CJ", 'K'}, {"/CW", 'j'}, {"/CY", 'h'},
    };
    for (const auto& [letter, wireLetter] : jobs) {
        SCOPED_TRACE(letter);
        JobHarness harness;
        harness.faults().errorAt(wireLetter, 0, 0x1A);
        const JobResult run = harness.run({letter});
        EXPECT_EQ(run.file("std.dat"), "");
        EXPECT_EQ(run.errorLog(), kLogNotice +
                                      "26  B\x92\x86"
                                      "d pami\x91"
                                      "ci RAM\n");
    }
}

TEST(RecordJobs, RegisterRefusals) {
    {
        // The direct codes end at the first slot the register refuses.
        JobHarness harness;
        harness.faults().errorAt('J', 10, 0x1D);
        const JobResult run = harness.run({"/CI"});
        EXPECT_EQ(run.pcFrames().size(), 10u);
        EXPECT_EQ(run.file("std.dat").find("BEZ10"), std::string::npos);
        EXPECT_NE(run.file("std.dat").find("BEZ 9"), std::string::npos);
        EXPECT_EQ(run.errorLog(), kLogNotice +
                                      "36  B\x92\x91"
                                      "dny index tablicy\n");
    }
    {
        // The cashiers all run; only the last status is reported.
        JobHarness harness;
        harness.faults().errorAt('D', 4, 0x1D);
        const JobResult run = harness.run({"/CD"});
        EXPECT_EQ(run.pcFrames().size(), 8u);
        EXPECT_EQ(run.file("std.dat").find("KAS03"), std::string::npos);
        EXPECT_NE(run.file("std.dat").find("KAS07"), std::string::npos);
        EXPECT_FALSE(run.has("error.orv"));
    }
    {
        // The error message names the linked-code line the register refused.
        JobHarness harness;
        harness.faults().errorAt('h', 2, 7);
        const JobResult run =
            harness.file("std.dat", "KDW42,77\nKDW59002741,77\nKDW5900000000114,78\n")
                .run({"/L", "/CY"});
        EXPECT_EQ(run.pcFrames().size(), 6u);
        EXPECT_EQ(run.errorLog(),
                  kLogNotice + "07  Przekroczona warto\x9E\x8D numeryczna - 2, kod: \n");
    }
    {
        // The adapter pulled out in the middle of the card table: the cards already written
        // stay and the lost connection is reported, not taken for the end of the table.
        JobHarness harness;
        harness.faults().unplugAfterBytes = 48;  // ENQ, request, EOT to its ACK, ACK of a card
        const JobResult run = harness.run({"/CW"});
        EXPECT_EQ(run.file("std.dat"),
                  "KRT    0,005,006,007,008,009,010,011,012,013,014,10,1,STALY ,5,1,30\n");
        EXPECT_EQ(run.errorLog(), kNoConnection);
    }
}

}  // namespace
}  // namespace lorvex::test
