#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "jobs/job_texts.h"
#include "support/job_harness.h"
#include "support/scripted_port.h"
#include "support/table_builder.h"

namespace lorvex::test {
namespace {

const auto s = [](std::size_t n) { return std::string(n, ' '); };

sim::Plu good(const std::string& name, std::int64_t price, int department, int tandem = 0) {
    sim::Plu plu;
    plu.name = name + s(18 - name.size());
    plu.price = price;
    plu.type = 1;
    plu.department = department;
    plu.tandem = tandem;
    return plu;
}

// One good in each range, one above 9999, a tandem, flags and a halo, a Polish letter; slots 2
// and 3 have no name, so they are not goods.
sim::RegisterMemory shop() {
    sim::RegisterMemory memory = sim::emptyMemory();
    memory.plus = {{1, good("Chleb", 450, 1)},
                   {2, good(" Spacja", 100, 1)},
                   {3, good("", 100, 1)},
                   {42, good("Piwo", 399, 11)},
                   {77, good("Butelka", 50, 32, 42)},
                   {12001, good("Torba", 50, 33)},
                   {59001379, good("Mas\x88o", 799, 2)},
                   {5900000000018, good("Kawa", 1699, 9)}};
    memory.plus[42].flags = "10001";
    memory.plus[42].halo = 3;
    return memory;
}

const std::string kShortGoods =
    "PLU1            ,Chleb             ,      4.50,A,1,00000,1,0,0000000000000\n"
    "PLU42           ,Piwo              ,      3.99,A,1,10001,11,3,0000000000000\n"
    "PLU77           ,Butelka           ,      0.50,A,1,00000,32,0,0000000000042\n";
const std::string k12001 =
    "PLU12001        ,Torba             ,      0.50,A,1,00000,33,0,0000000000000\n";
const std::string kEan8 =
    "PLU59001379     ,Maslo             ,      7.99,A,1,00000,2,0,0000000000000\n";
const std::string kEan13 =
    "PLU5900000000018,Kawa              ,     16.99,A,1,00000,9,0,0000000000000\n";

// The ranges asked for and every good written; a lost range is reported and the other ranges are
// still asked for; an error answer ends the dump.
TEST(PluDumpJob, AsksForTheRangesAndWritesEveryGoodOrWhatFailed) {
    const std::string ean8 = "SI0" + s(10) + "10000000" + s(10) + "99999999";
    const std::string ean13 = "SI0" + s(5) + "1000000000000" + s(5) + "9999999999999";
    const std::string range = "SI0" + s(14) + "0001" + s(14) + "9999";
    const std::string all = kShortGoods + k12001 + kEan8 + kEan13;
    using P = sim::FaultPlan;
    const struct {
        const char* option;
        std::function<void(P&)> fault;
        std::vector<std::string> requests;
        std::string file, log;
    } cases[] = {
        {"/S3", [](P&) {}, {range, ean8, ean13}, kShortGoods + kEan8 + kEan13, ""},
        {"/M", [](P&) {}, {"SI0" + s(13) + "00001" + s(13) + "16000", ean8, ean13}, all, ""},
        {"/A", [](P&) {}, {"SI0" + s(36)}, all, ""},
        {"/S3",
         [](P& p) { p.add(sim::Fault::silence().at(1)); },
         {ean8, ean13},
         kEan8 + kEan13,
         kNoConnection},
        {"/S3",
         [](P& p) { p.add(sim::Fault::mute().at(2)); },
         {range, ean8, ean13},
         kShortGoods + kEan13,
         kNotice + kLinkLost},
        {"/S3",
         [](P& p) { p.errorAt('I', 3, 21); },
         {range},
         kShortGoods.substr(0, kShortGoods.find("PLU42")),
         kNotice + "21  Blad bazy PLU\n"},
    };
    for (const auto& c : cases) {
        JobHarness harness(shop());
        c.fault(harness.faults());
        const JobResult run = harness.run({"/CH", "/S3", c.option});
        EXPECT_EQ(run.pcFrames(), c.requests);
        EXPECT_EQ(run.file("std.dat"), c.file);
        EXPECT_EQ(run.errorLog(), c.log);
    }
}

// A register that sends blocks past any table it holds: the range is given up as a lost link.
TEST(PluDumpJob, AnEndlessAnswerIsALostLink) {
    JobHarness harness;
    harness.port = [](VirtualClock& clock) {
        auto port = std::make_unique<ScriptedPort>(clock);
        port->always("ENQ", std::string(1, ACK));
        port->always("FRAME:", registerFrame("DI", ETB));
        port->always("ACK", registerFrame("DI", ETB));
        return port;
    };
    const JobResult run = harness.run({"/CH", "/A", "/S3"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errorLog(), kNotice + kLinkLost);
}

std::string lines(int from, int to, const std::string& rest = ",4.5,C,1,00000,1,0,0") {
    std::string text;
    for (int code = from; code <= to; ++code)
        text += "PLU" + std::to_string(code) + ",Towar" + rest + "\n";
    return text;
}

JobResult load(JobHarness& harness, const std::string& file, const char* option = "/S3") {
    harness.file("std.dat", file);
    return harness.run({"/L", "/CH", "/S3", option});
}

TEST(PluTextLoad, EraseSendsEachGoodOnce) {
    JobHarness harness(sim::emptyMemory());
    for (std::uint64_t code : {1u, 2u, 3u, 4u}) harness.memory().plus[code].name = "Towar";
    const JobResult run = load(harness, lines(1, 3), "/U1");
    EXPECT_FALSE(run.has("error.orv")) << run.errorLog();  // a second erase would fail
    EXPECT_EQ(run.exchanges.at(0).records.at(0)[2], '0');
    EXPECT_EQ(harness.memory().plus.size(), 1u);
}

// A register that refuses a good at once names it; one whose final status does not say which
// leaves every good of the transaction in doubt from the first on. Goods after a refused one
// still load; a dead line ends the load.
TEST(PluTextLoad, RefusedGoodIsReportedAndTheRestStillLoad) {
    const std::string dumpHint =
        "; any from good 1 (code 1) on may be missing; a goods dump (/CH) into another file shows "
        "which it holds\n";
    const struct {
        std::function<void(sim::FaultPlan&)> fault;
        std::size_t transactions, stored;
        std::string log, errors;
    } cases[] = {
        {[](auto& p) { p.abortChainOnError = true; }, 2, 3,
         kNotice + "20  Tandem nie istnieje - 2, kod:             2\n", ""},
        {[](auto&) {}, 1, 3, kNotice + "20  Tandem nie istnieje - 1, kod:             1\n",
         "lorvex: the register refused a good of the load of goods 1 to 4 (status 20) without "
         "saying which" +
             dumpHint},
        {[](auto& p) { p.add(sim::Fault::cutLine(4)); }, 1, 3, kNotice + kLinkLost,
         "lorvex: the register did not confirm the load of goods 1 to 4" + dumpHint},
        {[](auto& p) { p.add(sim::Fault::silence()); }, 3, 0, kNoConnection,
         "lorvex: the register did not answer 3 times in a row; 1 good not tried\n"},
    };
    for (const auto& c : cases) {
        JobHarness harness(sim::emptyMemory());
        harness.faults().errorAt('I', 2, 20);
        c.fault(harness.faults());
        const JobResult run = load(harness, lines(1, 4));
        ASSERT_EQ(run.exchanges.size(), c.transactions);
        // The register ended the transaction at the refused good: the next opens a new one.
        if (c.transactions == 2) {
            EXPECT_EQ(run.exchanges[1].request, "SI1000000000000000003000000000999999999");
        }
        EXPECT_EQ(harness.memory().plus.size(), c.stored);
        EXPECT_EQ(run.errorLog(), c.log);
        EXPECT_EQ(run.errors, c.errors);
    }
}

std::vector<TableGood> numbered(int count) {
    std::vector<TableGood> goods;
    for (int i = 1; i <= count; ++i) goods.push_back({static_cast<double>(i), "Towar"});
    return goods;
}

// Text lines or table records, the goods go in one transaction closed by the last sent, each
// sent once; lines and records that do not fit are reported and left out.
TEST(PluLoad, GoodsGoInOneTransactionClosedByTheLast) {
    const std::string bad[] = {",1,C,1,00000,100,0,0", ",100000000,C,1,00000,1,0,0",
                               ",1,C,10,0,1,0,0", ",1,C,1,00000,1,0,1e19", ",abc,C,1,00000,1,0,0"};
    std::vector<TableGood> badGoods = numbered(4);
    badGoods[1].department = 150;
    badGoods[3].halo = 100;
    const struct {
        std::string text, table;
        std::size_t sent, refused;
    } cases[] = {
        {"XPLU9,Nie,1,A,1,00000,1,0,0\n" + lines(1, 1), "", 1, 0},
        {lines(1, 2500), "", 2500, 0},
        {lines(1, 1) + lines(2, 2, bad[0]) + lines(3, 3) + lines(4, 4, bad[1]) + lines(5, 5), "", 3,
         2},
        {lines(1, 1, bad[3]) + lines(2, 2) + lines(3, 3, bad[0]), "", 1, 2},
        {lines(1, 1, bad[1]) + lines(2, 2, bad[2]) + lines(3, 3, bad[4]), "", 0, 3},
        {"", goodsTable(numbered(40)), 40, 0},
        {"", goodsTable(numbered(3), 2), 3, 1},  // the header counts two more
        {"", goodsTable(badGoods), 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80) + " " + std::to_string(c.sent));
        JobHarness harness(sim::emptyMemory());
        const JobResult run =
            c.table.empty() ? load(harness, c.text)
                            : harness.file("T.TBL", c.table).run({"/L", "/CH", "/FT.TBL", "/S3"});
        ASSERT_EQ(run.exchanges.size(), c.sent > 0 ? 1u : 0u);
        if (c.sent > 0) {
            EXPECT_EQ(run.exchanges[0].records.size(), c.sent);
            EXPECT_TRUE(run.exchanges[0].completed);  // ended by the PC, status read
        }
        std::string log = c.refused > 0 ? kNotice : "";
        for (std::size_t i = 0; i < c.refused; ++i) log += kBadData;
        EXPECT_EQ(run.errorLog(), log);
    }
}

}  // namespace
}  // namespace lorvex::test
