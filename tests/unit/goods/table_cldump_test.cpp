#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "goods/product_table.h"
#include "platform/console.h"
#include "table_builder.h"

namespace lorvex {
namespace {

using namespace tables;

// cldump (Debian package cldump) shows each record as "=== RECORD n:" and then "NAME : value"
// lines, the names without their "TOW:" prefix.
std::vector<std::map<std::string, std::string>> cldump(const std::filesystem::path& path) {
    // Bounded in time and memory: a reader that misreads a table must fail, not run away.
    const std::string command =
        "ulimit -v 1048576; timeout 30 cldump -D '" + path.string() + "' 2>/dev/null";
    std::vector<std::map<std::string, std::string>> records;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return records;
    std::string out;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
    EXPECT_EQ(pclose(pipe), 0) << out;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(" : ");
        if (line.rfind("=== RECORD", 0) == 0) records.emplace_back();
        if (records.empty() || colon == std::string::npos) continue;
        const auto end = line.find_last_not_of(' ');
        records.back()[line.substr(0, line.find(' '))] =
            end > colon + 2 ? line.substr(colon + 3, end - colon - 2) : "";
    }
    return records;
}

// An independent reader of this file format must see the table as this program leaves it.
TEST(ProductTableCldump, AnotherReaderSeesTheAppendedRecords) {
#ifndef _WIN32
    if (std::system("command -v cldump >/dev/null 2>&1") != 0) GTEST_SKIP() << "no cldump";
#else
    GTEST_SKIP() << "no cldump";
#endif
    TableSpec spec;
    spec.fields = goodsFields();
    Bytes existing = spec.record(0);
    putLe(existing, spec.start("TOW:CENA"), std::bit_cast<std::uint64_t>(7.25), 8);
    spec.records = {existing};
    TempDir dir;
    writeFile(dir / "TOWARY.DAT", buildTable(spec));
    {
        std::unique_ptr<ProductTable> table;
        ASSERT_EQ(ProductTable::open(dir / "TOWARY.DAT", table), ProductTable::OpenResult::Opened);
        table->mapFieldNames();
        const ProductReportRecord bread{"CHLEB", "     5901234123457", 3.0, 4, 10, 258, 7, 'A', 0,
                                        1};
        const ProductReportRecord milk{"MLEKO", "12", 1.5, 0, 0, 3, 0, 'B', 0, 0};
        ASSERT_TRUE(table->writeProductRecord(bread));
        ASSERT_TRUE(table->writeProductRecord(milk));
    }
    const auto records = cldump(dir / "TOWARY.DAT");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].at("CENA"), "7.250000");
    const std::map<std::string, std::string> bread = {{"NAZWA", "CHLEB"},
                                                      {"KOD", "     59012341"},
                                                      {"KODNR", "5901234123457.000000"},
                                                      {"CENA", "2.500000"},
                                                      {"CENADET", "3.000000"},
                                                      {"DZIAL", "258"},
                                                      {"FBYTE1", "2"},
                                                      {"HALO", "7"},
                                                      {"STATUS", "IMP"},
                                                      {"JM", "SZT"},
                                                      {"TYPPODS", "A"},
                                                      {"ZAOKN", "0.010000"}};
    for (const auto& [name, value] : bread) EXPECT_EQ(records[1].at(name), value) << name;
    EXPECT_EQ(records[2].at("NAZWA"), "MLEKO");
    EXPECT_EQ(records[2].at("CENA"), "1.500000");
}

}  // namespace
}  // namespace lorvex
