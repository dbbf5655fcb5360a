#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "goods/product_table.h"
#include "platform/console.h"
#include "table_builder.h"

namespace lorvex {
namespace {

using namespace tables;
using Fields = std::map<std::string, std::string>;

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// cldump shows each record as "=== RECORD n:" followed by "NAME : value" lines, the names
// without their "TOW:" prefix.
std::vector<Fields> parseDump(const std::string& out) {
    std::vector<Fields> records;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("=== RECORD", 0) == 0) {
            records.emplace_back();
            continue;
        }
        const auto colon = line.find(" : ");
        if (records.empty() || colon == std::string::npos) continue;
        records.back()[trim(line.substr(0, colon))] = trim(line.substr(colon + 3));
    }
    return records;
}

bool haveCldump() {
#ifdef _WIN32
    return false;
#else
    return std::system("command -v cldump >/dev/null 2>&1") == 0;
#endif
}

// An independent reader of this file format must see the table as this program leaves it: the
// records that were there and the ones appended, with the header counting all of them.
TEST(ProductTableCldump, AnotherReaderSeesTheAppendedRecords) {
    if (!haveCldump()) GTEST_SKIP() << "cldump (Debian package cldump) is not installed";
    TableSpec spec;
    spec.fields = goodsFields();
    Bytes existing = spec.record(0);
    const std::string name = "STARY TOWAR";
    for (std::size_t i = 0; i < name.size(); ++i)
        existing[fieldStart(spec, "TOW:NAZWA") + i] = name[i];
    putLe(existing, fieldStart(spec, "TOW:CENA"), std::bit_cast<std::uint64_t>(7.25), 8);
    spec.records = {existing};
    TempDir dir;
    const auto path = dir / "TOWARY.DAT";
    writeFile(path, buildTable(spec));
    {
        std::unique_ptr<ProductTable> table;
        ASSERT_EQ(ProductTable::open(path, table), ProductTable::OpenResult::Opened);
        table->mapFieldNames();
        CapturingConsole console;
        ProductReportRecord bread;
        bread.name = "CHLEB";
        bread.codeText = "     5901234123457";
        bread.unitPrice = 3.0;
        bread.quantity = 4;
        bread.value = 10;
        bread.department = 258;
        bread.halo = 7;
        bread.vatLetter = 'A';
        ASSERT_TRUE(table->writeProductRecord(bread, console, 0));
        ProductReportRecord milk;
        milk.name = "MLEKO";
        milk.codeText = "                12";
        milk.unitPrice = 1.5;
        milk.department = 3;
        ASSERT_TRUE(table->writeProductRecord(milk, console, 0));
    }

    // Bounded in time and memory: a reader that misreads a table must fail, not run away.
    const std::string command =
        "ulimit -v 1048576; timeout 30 cldump -D '" + path.string() + "' 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
    ASSERT_EQ(pclose(pipe), 0) << out;

    const std::vector<Fields> records = parseDump(out);
    ASSERT_EQ(records.size(), 3u) << out;
    EXPECT_EQ(records[0].at("NAZWA"), "STARY TOWAR");
    EXPECT_EQ(records[0].at("CENA"), "7.250000");

    const Fields& bread = records[1];
    EXPECT_EQ(bread.at("NAZWA"), "CHLEB");
    EXPECT_EQ(bread.at("NAZWAF"), "CHLEB");
    EXPECT_EQ(bread.at("KOD"), "59012341");
    EXPECT_EQ(bread.at("KODNR"), "5901234123457.000000");
    EXPECT_EQ(bread.at("CENA"), "2.500000");
    EXPECT_EQ(bread.at("CENADET"), "3.000000");
    EXPECT_EQ(bread.at("ILOSC"), "4.000000");
    EXPECT_EQ(bread.at("DZIAL"), "258");
    EXPECT_EQ(bread.at("FBYTE1"), "2");
    EXPECT_EQ(bread.at("HALO"), "7");
    EXPECT_EQ(bread.at("NUMER"), "1");
    EXPECT_EQ(bread.at("STATUS"), "IMP");
    EXPECT_EQ(bread.at("JM"), "SZT");
    EXPECT_EQ(bread.at("TYPPODS"), "A");
    EXPECT_EQ(bread.at("TANDEM"), "10.000000");
    EXPECT_EQ(bread.at("ZAOKN"), "0.010000");

    const Fields& milk = records[2];
    EXPECT_EQ(milk.at("NAZWA"), "MLEKO");
    EXPECT_EQ(milk.at("CENA"), "1.500000");
    EXPECT_EQ(milk.at("KODNR"), "12.000000");
    EXPECT_EQ(milk.at("DZIAL"), "3");
}

}  // namespace
}  // namespace lorvex
