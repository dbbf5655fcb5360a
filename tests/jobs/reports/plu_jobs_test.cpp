#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "report_job_helpers.h"
#include "support/job_harness.h"

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
    add(8, "SER GOUDA", 2990).sales = {1345, 450};
    add(19, "ZIEMNIAKI", 249).sales = {-249, -1000};
    add(20, "RABAT", 100).sales = {100, 0};
    add(59001378, "SOK", 250).sales = {500, 2000};
    add(5901234123457, "KAWA", 1999).sales = {1999, 1000};
    add(900, "BUTELKA", 50).packaging = {2500, 50, 1500, 30};
    add(901, "SKRZYNKA", 100).packaging = {300, 3, 500, 5};
    return memory;
}

const std::string kSalesLines = "PLP8            ,SER GOUDA         ," + right("13.45") + "," +
                                right("29.900") + "," + right("0.450", 10) + ",29.90\n" +
                                "PLP59001378     ,SOK               ," + right("5.00") + "," +
                                right("2.500") + "," + right("2.000", 10) + ", 2.50\n" +
                                "PLP5901234123457,KAWA              ," + right("19.99") + "," +
                                right("19.990") + "," + right("1.000", 10) + ",19.99\n";

const std::string kPackagingLines =
    "PLB" + right("900", 13) + ",BUTELKA           ," + right("25.00") + "," + right("50") + "," +
    right("15.00") + "," + right("30") + "\n" + "PLB" + right("901", 13) + ",SKRZYNKA          ," +
    right("3.00") + "," + right("3") + "," + right("5.00") + "," + right("5") + "\n";

TEST(PluReports, SalesOfEveryRangeAndPackagingWithItsBounds) {
    // Three ranges, or one request without bounds when the EAN check is skipped: the same goods.
    EXPECT_EQ(runJob({"/CM", "/FREP.TXT"}, {}, shopMemory()).file("REP.TXT"), kSalesLines);
    const JobResult single = runJob({"/CM", "/A", "/FREP.TXT"}, {}, shopMemory());
    EXPECT_EQ(single.pcFrames(), std::vector<std::string>{"SU0" + std::string(36, ' ')});
    EXPECT_EQ(single.file("REP.TXT"), kSalesLines);

    struct Case {
        std::vector<std::string> args;
        std::string request;
    };
    const Case cases[] = {
        {{"/CN", "/FREP.TXT"}, "Sd0" + std::string(36, ' ')},
        {{"/CN", "/FREP.TXT", "/A"}, "Sd0" + right("0001", 18) + right("9999", 18)},
        {{"/CN", "/FREP.TXT", "/A", "/M"}, "Sd0" + right("00001", 18) + right("99999", 18)},
    };
    for (const Case& c : cases) {
        const JobResult run = runJob(c.args, {}, shopMemory());
        EXPECT_EQ(run.pcFrames(), std::vector<std::string>{c.request});
        EXPECT_EQ(run.file("REP.TXT"), kPackagingLines) << c.request;
    }
}

// A product table with KOD (13 characters), ILOSC (double) and DZIAL (32 bits): records of
// 5 + 25 bytes after 85 + 3 x 27 bytes of header and descriptors.
constexpr std::size_t kDataOffset = 85 + 3 * 27, kRecordSize = 30;

std::uint64_t le(const std::string& bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

std::string smallTable() {
    std::string table(kDataOffset, '\0');
    const auto put = [&](std::size_t at, std::uint64_t value, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) table[at + i] = static_cast<char>(value >> (8 * i));
    };
    put(0, 0x3343, 2), put(13, 3, 2), put(19, kRecordSize, 2), put(21, kDataOffset, 4);
    const struct {
        std::string name;
        std::uint8_t type, offset, length;
    } fields[] = {{"KOD", 3, 0, 13}, {"ILOSC", 2, 13, 8}, {"DZIAL", 1, 21, 4}};
    for (std::size_t i = 0; i < 3; ++i) {
        table[85 + 27 * i] = static_cast<char>(fields[i].type);
        table.replace(86 + 27 * i, 16,
                      fields[i].name + std::string(16 - fields[i].name.size(), ' '));
        put(102 + 27 * i, fields[i].offset, 2), put(104 + 27 * i, fields[i].length, 2);
    }
    return table;
}

// "KOD;ILOSC;DZIAL" of each record.
std::vector<std::string> tableRows(const std::string& table) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < le(table, 5, 4); ++i) {
        const std::size_t at = kDataOffset + i * kRecordSize + 5;
        if (at + kRecordSize - 5 > table.size()) break;
        std::string code = table.substr(at, 13);
        code.erase(code.find_last_not_of(' ') + 1);
        char figures[64];
        std::snprintf(figures, sizeof figures, ";%g;%d",
                      std::bit_cast<double>(le(table, at + 13, 8)),
                      static_cast<std::int32_t>(le(table, at + 21, 4)));
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

// A register lost or refusing is reported, never passed for done; lines read before stay.
TEST(PluReports, FailuresAreReportedAndKeepWhatWasRead) {
    struct Case {
        std::vector<std::string> args;
        sim::Fault fault;
        std::size_t frames;
        std::string file;
        std::vector<std::string> log;
    };
    const std::vector<std::string> lost = {"99  Uwaga", "99  b"};
    const Case cases[] = {
        {{"/CM", "/FREP.TXT"},
         sim::Fault::mute().at(2),
         2,
         kSalesLines.substr(0, kSalesLines.find('\n') + 1),
         lost},
        {{"/CN", "/FREP.TXT"}, sim::Fault::silence(), 0, "", {"60 Brak"}},
        {{"/CN", "/FREP.TXT"}, sim::Fault::mute(), 1, "", lost},
        {{"/CM", "/FTAB.DAT"}, sim::Fault::silence(), 0, "", {"60 Brak", "60 Brak"}},
    };
    for (const Case& c : cases) {
        JobHarness harness(shopMemory());
        harness.file("TAB.DAT", smallTable()).faults().add(c.fault);
        const JobResult run = harness.run(c.args);
        EXPECT_EQ(run.pcFrames().size(), c.frames) << c.args[0];
        EXPECT_EQ(run.file("REP.TXT"), c.file) << c.args[0];
        EXPECT_TRUE(logIs(run.errorLog(), c.log)) << run.errorLog();
    }
    // An error answer in the first range: the later ranges are not asked for.
    JobHarness refused(shopMemory());
    refused.faults().errorAt('U', 1, 0x15);
    const JobResult run = refused.run({"/CM", "/FREP.TXT"});
    EXPECT_EQ(run.pcFrames().size(), 1u);
    EXPECT_TRUE(logIs(run.errorLog(), {"99  Uwaga", "21  B"})) << run.errorLog();
}

}  // namespace
}  // namespace lorvex::test
