#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "report_job_helpers.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

sim::Plu good(const std::string& name, std::int64_t price) {
    sim::Plu plu;
    plu.name = name;
    plu.name.resize(sim::kNameWidth, ' ');
    plu.price = price;
    return plu;
}

// Goods in all three code ranges, one returned, one with a value but no quantity, and two
// packaging items: one issued more than returned, one returned more than issued.
sim::RegisterMemory shopMemory() {
    sim::RegisterMemory memory = sim::emptyMemory();
    memory.plus[8] = good("SER GOUDA", 2990);
    memory.plus[8].sales = {1345, 450};
    memory.plus[19] = good("ZIEMNIAKI", 249);
    memory.plus[19].sales = {-249, -1000};
    memory.plus[20] = good("RABAT", 100);
    memory.plus[20].sales = {100, 0};
    memory.plus[59001378] = good("SOK", 250);
    memory.plus[59001378].sales = {500, 2000};
    memory.plus[5901234123457] = good("KAWA", 1999);
    memory.plus[5901234123457].sales = {1999, 1000};
    memory.plus[900] = good("BUTELKA", 50);
    memory.plus[900].packaging = {2500, 50, 1500, 30};
    memory.plus[901] = good("SKRZYNKA", 100);
    memory.plus[901].packaging = {300, 3, 500, 5};
    return memory;
}

const std::string kSalesLines = "PLP8            ,SER GOUDA         ," + right("13.45", 20) + "," +
                                right("29.900", 20) + "," + right("0.450", 10) + ",29.90\n" +
                                "PLP59001378     ,SOK               ," + right("5.00", 20) + "," +
                                right("2.500", 20) + "," + right("2.000", 10) + ", 2.50\n" +
                                "PLP5901234123457,KAWA              ," + right("19.99", 20) + "," +
                                right("19.990", 20) + "," + right("1.000", 10) + ",19.99\n";

const std::string kPackagingLines =
    "PLB" + right("900", 13) + ",BUTELKA           ," + right("25.00", 20) + "," + right("50", 20) +
    "," + right("15.00", 20) + "," + right("30", 20) + "\n" + "PLB" + right("901", 13) +
    ",SKRZYNKA          ," + right("3.00", 20) + "," + right("3", 20) + "," + right("5.00", 20) +
    "," + right("5", 20) + "\n";

TEST(PluSalesReport, SoldGoodsOfEveryRangeInOneFile) {
    // Three ranges, or one request without bounds when the EAN check is skipped: the same goods.
    for (const bool skipEan : {false, true}) {
        std::vector<std::string> args = {"/CM", "/FREP.TXT"};
        if (skipEan) args.push_back("/A");
        const JobResult run = runJob(args, {}, shopMemory());
        EXPECT_EQ(run.pcFrames().size(), skipEan ? 1u : 3u);
        EXPECT_EQ(run.file("REP.TXT"), kSalesLines) << skipEan;
        EXPECT_FALSE(run.has("error.orv"));
    }
}

TEST(PackagingReport, GrossFiguresAndRequestBounds) {
    struct Case {
        std::vector<std::string> options;
        std::string request;
    };
    const std::string blanks(36, ' ');
    const Case cases[] = {
        {{}, "Sd0" + blanks},
        {{"/A"}, "Sd0" + right("0001", 18) + right("9999", 18)},
        {{"/A", "/M"}, "Sd0" + right("00001", 18) + right("99999", 18)},
        {{"/R"}, "Sd2" + blanks},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"/CN", "/FREP.TXT"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const JobResult run = runJob(args, {}, shopMemory());
        EXPECT_EQ(run.pcFrames(), std::vector<std::string>{c.request});
        EXPECT_EQ(run.file("REP.TXT"), kPackagingLines) << c.request;
    }
}

// A product table with the three fields the report tests look at: KOD (13 characters), ILOSC
// (a double) and DZIAL (32 bits), records of 5 + 25 bytes after 85 + 3 x 27 bytes of header.
constexpr std::size_t kDataOffset = 85 + 3 * 27;
constexpr std::size_t kRecordSize = 5 + 25;

std::uint64_t readLe(const std::string& bytes, std::size_t at, std::size_t count) {
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
    put(0, 0x3343, 2);
    put(13, 3, 2);
    put(19, kRecordSize, 2);
    put(21, kDataOffset, 4);
    struct Field {
        const char* name;
        std::uint8_t type;
        std::uint16_t offset, length;
    };
    const Field fields[] = {{"KOD", 3, 0, 13}, {"ILOSC", 2, 13, 8}, {"DZIAL", 1, 21, 4}};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t at = 85 + 27 * i;
        table[at] = static_cast<char>(fields[i].type);
        std::string name = fields[i].name;
        name.resize(16, ' ');
        table.replace(at + 1, 16, name);
        put(at + 17, fields[i].offset, 2);
        put(at + 19, fields[i].length, 2);
    }
    return table;
}

struct TableRow {
    std::string kod;
    double ilosc;
    std::int32_t dzial;
};

std::vector<TableRow> tableRows(const std::string& table) {
    std::vector<TableRow> rows;
    const std::uint64_t count = readLe(table, 5, 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t start = kDataOffset + i * kRecordSize;
        if (start + kRecordSize > table.size()) break;
        const std::size_t at = start + 5;  // the data area
        std::string code = table.substr(at, 13);
        code.erase(code.find_last_not_of(' ') + 1);
        rows.push_back({code, std::bit_cast<double>(readLe(table, at + 13, 8)),
                        static_cast<std::int32_t>(readLe(table, at + 21, 4))});
    }
    return rows;
}

TEST(ProductTableReports, SalesThenPackagingWithNetFigures) {
    const Files files = {{"TAB.DAT", smallTable()}};

    const JobResult sales = runJob({"/CM", "/FTAB.DAT"}, files, shopMemory());
    EXPECT_EQ(sales.exitCode, 0);
    EXPECT_FALSE(sales.has("error.orv"));
    const std::vector<TableRow> rows = tableRows(sales.file("TAB.DAT"));
    ASSERT_EQ(rows.size(), 5u);
    const TableRow expected[] = {{"8", 0.45, 0},
                                 {"59001378", 2.0, 0},
                                 {"5901234123457", 1.0, 0},
                                 {"900", 20.0, 2},
                                 {"901", -2.0, 1}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].kod, expected[i].kod) << i;
        EXPECT_DOUBLE_EQ(rows[i].ilosc, expected[i].ilosc) << i;
        EXPECT_EQ(rows[i].dzial, expected[i].dzial) << i;
    }

    const JobResult packaging = runJob({"/CN", "/FTAB.DAT", "/M"}, files, shopMemory());
    EXPECT_EQ(tableRows(packaging.file("TAB.DAT")).size(), 2u);
}

// A report that loses the register is reported, not passed for done; what came before stays.
TEST(PluReportFailures, AreReportedAndKeepWhatWasRead) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        sim::Fault fault;
        std::size_t frames;
        std::string file;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"sales link lost in the second range",
         {"/CM", "/FREP.TXT"},
         sim::Fault::mute().at(2),
         2,
         kSalesLines.substr(0, kSalesLines.find('\n') + 1),
         {"99  Uwaga", "99  b"}},
        {"packaging unanswered", {"/CN", "/FREP.TXT"}, sim::Fault::silence(), 0, "", {"60 Brak"}},
        {"packaging link lost",
         {"/CN", "/FREP.TXT"},
         sim::Fault::mute(),
         1,
         "",
         {"99  Uwaga", "99  b"}},
    };
    for (const Case& c : cases) {
        JobHarness harness(shopMemory());
        harness.faults().add(c.fault);
        const JobResult run = harness.run(c.args);
        EXPECT_EQ(run.pcFrames().size(), c.frames) << c.name;
        EXPECT_EQ(run.file("REP.TXT"), c.file) << c.name;
        const std::vector<std::string> log = linesOf(run.errorLog());
        ASSERT_EQ(log.size(), c.messages.size()) << c.name;
        for (std::size_t i = 0; i < log.size(); ++i) {
            EXPECT_EQ(log[i].rfind(c.messages[i], 0), 0u) << c.name << ": " << log[i];
        }
    }
}

TEST(PluReportFailures, ErrorAnswerEndsTheSalesReportBeforeLaterRanges) {
    JobHarness harness(shopMemory());
    harness.faults().errorAt('U', 1, 0x15);
    const JobResult run = harness.run({"/CM", "/FREP.TXT"});
    EXPECT_EQ(run.pcFrames().size(), 1u);
    EXPECT_EQ(run.file("REP.TXT"), "");
    const std::vector<std::string> log = linesOf(run.errorLog());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].rfind("21  B", 0), 0u);
}

}  // namespace
}  // namespace lorvex::test
