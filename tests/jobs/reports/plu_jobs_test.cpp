#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "jobs/job_texts.h"
#include "support/job_harness.h"
#include "support/table_builder.h"

namespace lorvex::test {
namespace {

// Goods in all three code ranges, one returned, one with a value but no quantity, and two
// packaging items: one issued more than returned, one returned more than issued.
sim::RegisterMemory shopMemory() {
    sim::RegisterMemory memory = sim::emptyMemory();
    const auto add = [&](std::uint64_t code, std::string name, std::int64_t price) -> sim::Plu& {
        name.resize(sim::kNameWidth, ' ');
        memory.plus[code].name = name;
        memory.plus[code].price = price;
        return memory.plus[code];
    };
    add(8, "SER GOUDA DOJRZALY", 1234567890).sales = {1345, 450};
    add(19, "ZIEMNIAKI", 249).sales = {-249, -1000};
    add(20, "RABAT", 100).sales = {100, 0};
    add(59001378, "SOK", 250).sales = {500, 2000};
    add(5901234123457, "KAWA", 1999).sales = {1999, 1000};
    add(900, "BUTELKA", 50).packaging = {2500, 50, 1500, 30};
    add(901, "SKRZYNKA", 100).packaging = {300, 3, 500, 5};
    return memory;
}

// The name and the unit price of the first fill their fields.
const std::string kSalesLines =
    "PLP8            ,SER GOUDA DOJRZALY," + right("13.45") + "," + right("12345678.900") + "," +
    right("0.450", 10) + ",12345678.90\n" + "PLP59001378     ,SOK               ," + right("5.00") +
    "," + right("2.500") + "," + right("2.000", 10) + ", 2.50\n" +
    "PLP5901234123457,KAWA              ," + right("19.99") + "," + right("19.990") + "," +
    right("1.000", 10) + ",19.99\n";

const std::string kPackagingLines =
    "PLB" + right("900", 13) + ",BUTELKA           ," + right("25.00") + "," + right("50") + "," +
    right("15.00") + "," + right("30") + "\n" + "PLB" + right("901", 13) + ",SKRZYNKA          ," +
    right("3.00") + "," + right("3") + "," + right("5.00") + "," + right("5") + "\n";

// Three ranges, or one request without bounds when the EAN check is skipped: the same goods.
// Packaging is asked for whole unless the EAN check is skipped.
TEST(PluReports, SalesAndPackagingLines) {
    const struct {
        std::string args, wire, file;
    } cases[] = {
        {"/CM",
         "SU0" + right("0001", 18) + right("9999", 18) + "|SU0" + right("10000000", 18) +
             right("99999999", 18) + "|SU0" + right("1000000000000", 18) +
             right("9999999999999", 18),
         kSalesLines},
        {"/CM /A", "SU0" + right("", 36), kSalesLines},
        {"/CN", "Sd0" + right("", 36), kPackagingLines},
        {"/CN /A", "Sd0" + right("0001", 18) + right("9999", 18), kPackagingLines},
        {"/CN /A /M", "Sd0" + right("00001", 18) + right("99999", 18), kPackagingLines},
    };
    // With /R the same lines with the zeroing digit in every request; the next read finds none.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        JobHarness harness(shopMemory());
        const JobResult run = harness.run(split(c.args + " /FREP.TXT"));
        EXPECT_EQ(run.pcFrames(), split(c.wire, '|'));
        EXPECT_EQ(run.file("REP.TXT"), c.file);
        const JobResult zeroing = harness.run(split(c.args + " /FREP.TXT /R"));
        for (const std::string& frame : zeroing.pcFrames()) EXPECT_EQ(frame[2], '2');
        EXPECT_EQ(zeroing.file("REP.TXT"), c.file);
        EXPECT_EQ(harness.run(split(c.args + " /FREP.TXT")).file("REP.TXT"), "");
    }
    // Trace level 1 shows each good read.
    for (const auto& [job, line] : {std::pair{"/CM", "\n           19,19           ,    -1.000\n"},
                                    {"/CN", "\n-2.000000,901,SKRZYNKA          ,1\n"}})
        EXPECT_NE(runJob({job, "/Q1", "/FREP.TXT"}, {}, shopMemory()).console.find(line),
                  std::string::npos)
            << job;
}

// A product table with KOD (13 characters), ILOSC (double) and DZIAL (32 bits).
TableSpec reportTable() {
    TableSpec spec;
    spec.fields = {{"KOD", kString, 13}, {"ILOSC", kReal, 8}, {"DZIAL", kLong, 4}};
    return spec;
}

std::string smallTable() {
    const Bytes table = buildTable(reportTable());
    return std::string(table.begin(), table.end());
}

// "KOD;ILOSC;DZIAL" of each record in the file (the header's count is pinned by the table's unit
// tests).
std::vector<std::string> tableRows(const std::string& text) {
    const TableSpec spec = reportTable();
    const Bytes table(text.begin(), text.end());
    std::vector<std::string> rows;
    for (std::size_t at = spec.data() + 5; at + spec.size() - 5 <= table.size();
         at += spec.size()) {
        std::string code(text, at, 13);
        code.erase(code.find_last_not_of(' ') + 1);
        char figures[64];
        std::snprintf(figures, sizeof figures, ";%g;%d",
                      std::bit_cast<double>(getLe(table, at + 13, 8)),
                      static_cast<std::int32_t>(getLe(table, at + 21, 4)));
        rows.push_back(code + figures);
    }
    return rows;
}

TEST(PluReports, ProductTableGetsSalesThenPackagingWithNetFigures) {
    const Files files = {{"TAB.DAT", smallTable()}};
    const JobResult sales = runJob({"/CM", "/FTAB.DAT"}, files, shopMemory());
    EXPECT_FALSE(sales.has("error.orv"));
    EXPECT_EQ(tableRows(sales.file("TAB.DAT")),
              (std::vector<std::string>{"8;0.45;0", "59001378;2;0", "5901234123457;1;0", "900;20;2",
                                        "901;-2;1"}));
    const JobResult packaging = runJob({"/CN", "/M", "/FTAB.DAT"}, files, shopMemory());
    EXPECT_EQ(tableRows(packaging.file("TAB.DAT")),
              (std::vector<std::string>{"900;20;2", "901;-2;1"}));
}

// A register lost or refusing is reported, never passed for done; lines read before stay. An
// error answer in the first range: the later ranges are not asked for.
TEST(PluReports, FailuresAreReportedAndKeepWhatWasRead) {
    const struct {
        std::string args;
        std::function<void(sim::FaultPlan&)> fault;
        std::size_t frames;
        std::string file, log;
    } cases[] = {
        {"/CM /FREP.TXT", [](auto& p) { p.add(sim::Fault::mute().at(2)); }, 2,
         kSalesLines.substr(0, kSalesLines.find('\n') + 1), kNotice + kLinkLost},
        {"/CN /FREP.TXT", [](auto& p) { p.add(sim::Fault::mute()); }, 1, "", kNotice + kLinkLost},
        {"/CM /FTAB.DAT", [](auto& p) { p.add(sim::Fault::silence()); }, 0, "",
         kNoConnection + kNoConnection},
        {"/CM /FREP.TXT", [](auto& p) { p.errorAt('U', 1, 0x15); }, 1, "",
         kNotice + "21  Blad bazy PLU\n"},
    };
    for (const auto& c : cases) {
        JobHarness harness(shopMemory());
        c.fault(harness.file("TAB.DAT", smallTable()).faults());
        const JobResult run = harness.run(split(c.args + " /S3"));
        EXPECT_EQ(run.pcFrames().size(), c.frames) << c.args;
        EXPECT_EQ(run.file("REP.TXT"), c.file) << c.args;
        EXPECT_EQ(run.errorLog(), c.log) << c.args;
    }
}

}  // namespace
}  // namespace lorvex::test
