// The settings jobs one by one: what a dump writes, what a load sends, what a refusal leaves.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "jobs/job_texts.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

using namespace std::string_literals;

const std::string kZeros(18, '0');
std::string loadOne(const std::string& n) {
    return "1" + kZeros.substr(n.size()) + n + kZeros.substr(n.size()) + n;
}
// A load of one record: the request for its number (none: the whole table) and the record.
std::string sends(const std::string& letter, const std::string& record, const std::string& n = "") {
    return "S" + letter + (n.empty() ? "1" + kZeros + kZeros : loadOne(n)) + "|D" + letter + record;
}
// The dump requests for the numbers first to last, '|' between them.
std::string asks(const std::string& letter, int first, int last) {
    std::string wire;
    for (int n = first; n <= last; ++n)
        wire += (n > first ? "|S" : "S") + letter + loadOne(std::to_string(n)).replace(0, 1, "0");
    return wire;
}
const auto s = [](std::size_t n) { return std::string(n, ' '); };

const std::string kCashiers =
    "KAS00,Anna Kowalska     ,1111\nKAS01,Jozef Wisniewski  ,2468\n"
    "KAS02,Malgorzata Nowak  ,1357\nKAS03,Lukasz Zielinski  ,0042\n"
    "KAS04,Ewa Dabrowska     ,9090\nKAS05,Grzegorz Wojcik   ,7305\n"
    "KAS06,                  ,0000\nKAS07,                  ,0000\n";

std::string directCodes(int slots) {
    const char* codes[] = {"1", "2", "6", "7", "13", "19", "25", "42", "59001379", "5900000000015"};
    std::string text;
    for (int slot = 1; slot <= slots; ++slot)
        text += "BEZ" + right(std::to_string(slot), 2) + "," +
                right(slot <= 10 ? codes[slot - 1] : "0", 18) + "\n";
    return text;
}

// One run: its options ("/L": a load), the std.dat it finds (a load keeps it) or a dump writes,
// the frames the PC sends ('|' between them), error.orv, the faults of the register and the lines
// for stderr.
struct Case {
    std::string args, file, wire, log = {};
    std::function<void(sim::FaultPlan&)> fault = {};
    std::string errors = {};
};

void silentFrom(sim::FaultPlan& plan, int transaction) {
    for (int n = transaction; n < 100; ++n) plan.add(sim::Fault::silence().at(n));
}

TEST(RecordJobs, WireFileAndLogOfEachJob) {
    const std::string others = "KASZA,1,2\nDEP 1,X\nXFLG,1\n";
    std::string halo = "99999999999999999999      1250", haloLine = "HAL";
    for (int i = 0; i < 12; ++i) halo += "         0";
    for (int i = 1; i <= 15; ++i) haloLine += "," + right(std::to_string(50 * i) + ".00", 10);
    const Case cases[] = {
        // Dumps of the demo register; Polish letters in the file's encoding (/S1: Mazovia).
        {"/CA", "FLG, 1, 0, 3,16, 0, 2, 9\n", asks("A", 0, 0)},
        {"/CU", "FLS, 1, 0, 3,16, 0, 2, 9,32, 0\n", asks("s", 0, 0)},
        {"/CB /S1",
         "NAG,SKLEP SPO\xA1YWCZY \"POD LIP\x8F\",ul. D\x92uga 12,00-950 Warszawa,"
         "NIP 526-000-12-46\n",
         asks("B", 0, 0)},
        {"/CC", "STP,DZIEKUJEMY ZA ZAKUPY,ZAPRASZAMY PONOWNIE\n", asks("C", 0, 0)},
        {"/CD", kCashiers, asks("D", 0, 7)},
        {"/CE", haloLine + "\n", asks("E", 0, 0)},
        {"/CF", "RAB, 5.00,10.00, 2.50,15.00,      1.00,      5.00,     10.00,     20.00\n",
         asks("G", 0, 0)},
        {"/CI", directCodes(42), asks("J", 1, 42)},
        {"/CJ", "VAT,23.00, 8.00, 5.00, 0.00, 0.00, 0.00\n", asks("K", 0, 0)},
        // The linked-code table is asked for whole.
        {"/CY",
         "KDW                42,                77\nKDW          59002741,                77\n"
         "KDW     5900000000114,                78\n",
         "Sh0" + s(36)},
        // Refusals: the direct codes end at the first refused slot; the cashiers all run and
        // only the last status is reported; a card table cut short keeps what came and is not
        // taken for complete (ENQ, request, EOT to its ACK, ACK of a card: 48 bytes). The cards
        // read block by block to the register's end are pinned by the block answers' unit test.
        {"/CI", directCodes(9), asks("J", 1, 10), kNotice + kBadIndex,
         [](sim::FaultPlan& p) { p.errorAt('J', 10, 0x1D); }},
        {"/CD", kCashiers.substr(0, 90) + kCashiers.substr(120), asks("D", 0, 7), "",
         [](sim::FaultPlan& p) { p.errorAt('D', 4, 0x1D); }},
        {"/CW", "KRT    0,005,006,007,008,009,010,011,012,013,014,10,1,STALY ,5,1,30\n",
         asks("j", 0, 0), kNoConnection, [](sim::FaultPlan& p) { p.unplugAfterBytes = 48; }},
        // Loads send the lines of their own prefix only and report a line that does not fit
        // (here before the last good one; a number field holding text is bad data, never 0) and
        // go on. Load texts end at a NUL; the record keeps its width, filled as for a shorter
        // text.
        {"/CA /L", others + "FLG,1,2,300\nFLG,1,x\nFLG,1,0,12,255,16,0,9\n",
         sends("A", "01000cff100009"), kNotice + kBadData + kBadData},
        {"/CU /L", "FLS,1,2,3,4,5,6,7,8,9\r\n" + others,
         sends("s", "01020304" + kZeros.substr(6) + "0506070809" + kZeros.substr(8))},
        {"/CB /L", "NAG,A,B\0C\n"s + others, sends("B", "A\nB" + std::string(214, '\xFF'))},
        {"/CC /L", "STP,KONIEC", sends("C", "KONIEC" + std::string(194, '\xFF'))},
        // A line belongs to a job only when it starts with its prefix; codes of 0 or less are not
        // loaded by the cashier job; a cashier above 29 is bad data.
        {"/CD /L",
         "PLU   1,KASZA,3.50,A,0,00000,1,0,0\r\n KAS01,Nie ten,1234\r\nKAS02,E\0wa,4321\r\n"
         "KAS04,EWA,0\nKAS05,OLA,-3\nKAS31,X,1111\nKASx1,JAN,1234\nKAS06,ADA,\nKAS12,IGA,12\n"s,
         sends("D", "2E" + s(17) + "4321", "2") + "|" + sends("D", "CIGA               12  ", "12"),
         kNotice + kBadData + kBadData},
        // The widest amounts fill their fields (more than the register holds: it says so);
        // blanks around a number are not bad data.
        {"/CE /L", "HAL,1,abc\nHAL,99999999999\nHAL,99999999.99,99999999.99,12.5\nHAL, 1.5 ,+2,",
         sends("E", halo) + "|" + sends("E", "       150       200         0" + halo.substr(30)),
         kNotice + kBadData + kBadData + "07  Przekroczona wartosc numeryczna - 0, kod: \n"},
        {"/CF /L", "RAB,12.5,1,2,3,3.99,0,0,1",
         sends("G", "012500010000200003000000000399000000000000000000000000000100")},
        // Code 0 clears its slot.
        {"/CI /L", "BEZ 3,0\nBEZ43,1\nBEZ 4,12a\nBEZ42,5900000000015\n",
         sends("J", "03" + s(18), "3") + "|" + sends("J", "42     5900000000015", "42"),
         kNotice + kBadData + kBadData},
        {"/CW /L",
         "KRT-1,5,12,0,0,0,0,0,0,0,0,20,2,AB,10,1,30\n"
         "KRT0,5,12,0,0,0,0,0,0,0,0,20,2,A\0B,10,1,30\n"s,
         sends("j", "0005012" + std::string(24, '0') + "202A     10130", "0"),
         kNotice + kBadData + kBadIndex},
        // The error message names the linked-code line the register refused.
        {"/CY /L", "KDW42,77\nKDW59002741,77\nKDW5900000000114,78\n",
         sends("h", s(16) + "42" + s(16) + "77") + "|" +
             sends("h", s(10) + "59002741" + s(16) + "77") + "|" +
             sends("h", "     5900000000114" + s(16) + "78"),
         kNotice + "07  Przekroczona wartosc numeryczna - 2, kod: \n",
         [](sim::FaultPlan& p) { p.errorAt('h', 2, 7); }},
        // Silences followed by answers are passed over; three in a row end the job, counting
        // what it would have sent (not the codes of 0); a job that stops at a failure stops at
        // once.
        {"/CD /L", "KAS03,JAN,1234\nKAS04,EWA,0\nKAS05,OLA,55\nKAS12,IGA,12\n",
         sends("D", "CIGA               12  ", "12"), kNoConnection + kNoConnection,
         [](sim::FaultPlan& p) {
             p.add(sim::Fault::silence().at(1)).add(sim::Fault::silence().at(2));
         }},
        {"/CD /L", kCashiers + others, "", kNoConnection,
         [](sim::FaultPlan& p) { silentFrom(p, 1); },
         "lorvex: the register did not answer 3 times in a row; 3 lines not tried\n"},
        {"/CD", "", asks("D", 0, 1), kNoConnection, [](sim::FaultPlan& p) { silentFrom(p, 3); },
         "lorvex: the register did not answer 3 times in a row; 3 cashiers not tried\n"},
        {"/CI", directCodes(4), asks("J", 1, 4), kNoConnection,
         [](sim::FaultPlan& p) { silentFrom(p, 5); },
         "lorvex: the register did not answer; 37 direct codes not tried\n"},
        // VAT rates are read only: a load sends nothing.
        {"/CJ /L", "VAT,23.00, 8.00, 5.00, 0.00, 0.00, 0.00\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args + " " + c.file);
        JobHarness harness;
        if (c.fault) c.fault(harness.faults());
        if (c.args.find("/L") != std::string::npos) harness.file("std.dat", c.file);
        const JobResult run = harness.run(split(c.args + " /S3"));
        EXPECT_EQ(run.pcFrames(), split(c.wire, '|'));
        EXPECT_EQ(run.file("std.dat"), c.file);
        EXPECT_EQ(run.errorLog(), c.log);
        EXPECT_EQ(run.errors, c.errors);
    }
    // The cashiers of a SOLVEK register run to 29.
    EXPECT_EQ(runJob({"/CD", "/W"}).pcFrames().size(), 30u);
    // A card line refused before sending gets no rest, as a line of another job.
    const auto ms = [](const std::string& file) {
        return runJob({"/CW", "/L"}, {{"std.dat", file}}).virtualMs;
    };
    EXPECT_EQ(ms("KRT-1,5,12,0,0,0,0,0,0,0,0,20,2,AB,10,1,30\n"), ms("KAS01,X,1\n"));
}

TEST(RecordJobs, DumpThenLoadRestoresAnEmptyRegister) {
    for (const std::string job :
         {"/CA", "/CU", "/CB", "/CC", "/CD", "/CE", "/CF", "/CI", "/CY", "/CG /S1", "/CG /S2"}) {
        SCOPED_TRACE(job);
        const std::string dumped = runJob(split(job)).file("std.dat");
        JobHarness fresh(sim::emptyMemory());
        const JobResult load = fresh.file("std.dat", dumped).run(split(job + " /L"));
        EXPECT_EQ(load.errorLog(), "");
        EXPECT_EQ(fresh.run(split(job + " /FOUT.TXT")).file("OUT.TXT"), dumped);
    }
}

TEST(RecordJobs, LoadShowsLinesAndRecordsAtTraceLevelOne) {
    const JobResult run = runJob({"/L", "/CD", "/Q1"}, {{"std.dat", "KAS03,JAN,1234\n"}});
    EXPECT_NE(run.console.find("KAS03,JAN,1234\n3,JAN,1234\nKAS>DD3JAN               1234\n"),
              std::string::npos);
}

}  // namespace
}  // namespace lorvex::test
