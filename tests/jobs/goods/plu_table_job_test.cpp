#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/job_texts.h"
#include "support/job_harness.h"
#include "support/table_builder.h"

namespace lorvex::test {
namespace {

TEST(PluTableLoad, RecordIsBuiltFromTheNamedFieldsAndARefusalEndsTheLoad) {
    JobHarness harness(sim::emptyMemory());
    harness.memory().plus[7].name = "Butelka";
    harness.faults().errorAt('I', 3, 18);
    harness.faults().abortChainOnError = true;
    harness.file(
        "T.TBL",
        goodsTable({{5900000000018, "Kawa ziarnista Arabica", 256 + 9, 5, 24.99, 7, 4, 'B'},
                    {42, "Piwo", 11, 8, 3.99, 0, 6},
                    {43, "Wino"},
                    {44, "Woda"}}));
    const JobResult run = harness.run({"/L", "/CH", "/FT.TBL", "/S3"});
    const std::string s5(5, ' '), s14(14, ' ');
    const std::vector<std::string> records = {
        // OPCJE 5 gives flags 10100, the department its first byte (9), the type digit 3.
        "DI1" + s5 + "5900000000018Kawa ziarnista Ara      2499B310100" + "0904" + s14 + "   7",
        // OPCJE 8 sets the fourth flag: type digit and halo go as 0.
        "DI1" + s14 + "  42Piwo" + s14 + "       399A000010" + "1100" + s14 + "    ",
        "DI1" + s14 + "  43Wino" + s14 + "       150A300000" + "0100" + s14 + "    "};
    ASSERT_EQ(run.exchanges.size(), 1u);
    EXPECT_EQ(run.exchanges[0].request, "SI1000005900000000018000000000999999999");
    EXPECT_EQ(run.exchanges[0].records, records);
    EXPECT_EQ(run.errorLog(), kNotice + "18  Baza PLU pelna - 3, kod:            43\n");
    EXPECT_EQ(run.errors,
              "lorvex: the load stopped at good 3, which the register refused; 1 good not tried\n");
}

// A goods dump into a table appends the goods; the table loads them back whole.
TEST(PluTableDump, GoodsAreAppendedAndLoadBackWhole) {
    sim::RegisterMemory memory = sim::emptyMemory();
    sim::Plu& beer = memory.plus[42];
    beer.name = "Piwo jasne 0.5l   ";
    beer.price = 399;
    beer.type = 3;
    beer.flags = "10001";
    beer.department = 11;
    beer.halo = 3;
    memory.plus[5900000000018] = beer;
    memory.plus[5900000000018].name = "Kawa            \x88 ";  // CP852 'ł'
    memory.plus[5900000000018].tandem = 42;

    JobHarness harness(memory);
    const JobResult run = harness.file("T.TBL", goodsTable({})).run({"/CH", "/A", "/FT.TBL"});
    EXPECT_FALSE(run.has("std.dat"));
    // The table's text is in the /S letters (Mazovia), the register's in code page 852.
    EXPECT_NE(run.file("T.TBL").find("Kawa            \x92 "), std::string::npos);

    JobHarness fresh(sim::emptyMemory());
    EXPECT_EQ(fresh.file("T.TBL", run.file("T.TBL")).run({"/L", "/CH", "/FT.TBL"}).errorLog(), "");
    EXPECT_EQ(fresh.run({"/CH", "/A"}).file("std.dat"), harness.run({"/CH", "/A"}).file("std.dat"));
}

}  // namespace
}  // namespace lorvex::test
