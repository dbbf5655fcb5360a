#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "goods/product_table.h"
#include "support/table_builder.h"
#include "support/temp_dir.h"

namespace lorvex {
namespace {

using namespace test;
using test::TempDir;

// Every field a dump fills, and a few it leaves alone.
TableSpec fullSpec() {
    TableSpec spec;
    for (const char* name : {"ILOSC_ECR", "CENAHUR", "CENA", "STAN", "FREAL1", "FREAL2", "RABATC",
                             "RABAT", "ZAOKN", "ZAOKB"}) {
        spec.fields.push_back({std::string("TOW:") + name, kReal, 8});
    }
    for (const char* name : {"FBYTE1", "FORMA", "FBYTE2", "WSK", "TYP", "TPU"}) {
        spec.fields.push_back({std::string("TOW:") + name, kByte, 1});
    }
    spec.fields.insert(spec.fields.end(), {{"TOW:NUMER", kLong, 4},
                                           {"TOW:GRUPA1", kString, 4},
                                           {"TOW:STATUS", kString, 3},
                                           {"TOW:JM", kString, 4},
                                           {"TOW:SWW", kString, 2}});
    return spec;
}

Bytes fileBytes(const std::filesystem::path& path) {
    const std::string text = test::readText(path);
    return Bytes(text.begin(), text.end());
}

std::unique_ptr<ProductTable> openTable(const std::filesystem::path& path, const Bytes& bytes) {
    test::writeText(path, std::string(bytes.begin(), bytes.end()));
    std::unique_ptr<ProductTable> table;
    if (ProductTable::open(path, table) == ProductTable::OpenResult::Opened) table->mapFieldNames();
    return table;
}

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

const ProductReportRecord kBread{
    "CHLEB ZWYKLY", "     5901234123457", 3.0, 4, 10, 258, 7, 'A', 0, 0x15};

// The table with the goods appended by the program, as the file then holds it.
Bytes appended(const TempDir& dir, const TableSpec& spec,
               std::initializer_list<ProductReportRecord> goods) {
    {
        auto table = openTable(dir / "TOWARY.DAT", buildTable(spec));
        for (const ProductReportRecord& good : goods) {
            EXPECT_TRUE(table && table->writeProductRecord(good));
        }
    }
    return fileBytes(dir / "TOWARY.DAT");
}

TEST(ProductTableAppend, AppendsAfterTheCountedRecordsAndKeepsEverythingElse) {
    TableSpec spec = fullSpec();
    for (int i = 0; i < 10; ++i) spec.records.push_back(spec.record(static_cast<std::uint8_t>(i)));
    spec.appendedCount = 7;
    spec.unusedFill = 0xA5;
    spec.gap = 16;
    TempDir dir;
    const Bytes after = appended(dir, spec,
                                 {kBread,
                                  {"MLEKO", "12", 1.99, 0, 123, 3, 0, 0, 0, 0},
                                  {std::string(40, 'N'), "1", 1, 1, 1, 1, 0, 0, 0, 0}});
    const std::size_t size = spec.size(), data = spec.data();
    ASSERT_EQ(after.size(), data + 13 * size);
    // The header counts 13 records, 10 of them before this run, and is marked changed.
    Bytes before = buildTable(spec);
    putLe(before, 5, 13, 4);
    putLe(before, 25, 10, 4);
    putLe(before, 29, 1, 4);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
    auto field = [&](int record, const std::string& name, std::size_t count) {
        const std::size_t at = data + static_cast<std::size_t>(record) * size + spec.start(name);
        return Bytes(after.begin() + static_cast<std::ptrdiff_t>(at),
                     after.begin() + static_cast<std::ptrdiff_t>(at + count));
    };
    // The goods dump loads back whole and the sales reports pin ILOSC: these are the rest.
    const std::pair<const char*, Bytes> expected[] = {
        {"ILOSC_ECR", doubleBytes(4)},
        {"KOD", text("     59012341")},
        {"CENA", doubleBytes(2.5)},
        {"CENAHUR", doubleBytes(3)},
        {"DZIAL", {2, 1, 0, 0}},
        {"FBYTE1", {2}},
        {"STAN", Bytes(8, 0)},
        {"GRUPA1", Bytes(4, 0)},
        {"FREAL1", doubleBytes(0)},
        {"NUMER", {1, 0, 0, 0}},
        {"STATUS", text("IMP")},
        {"FORMA", {1}},
        {"WSK", {0}},
        {"TYP", text("3")},
        {"TPU", {1}},
        {"JM", text("SZT ")},
        {"ZAOKN", doubleBytes(0.01)},
        {"TYPPODS", text("A")},
        {"SWW", text("  ")},
    };
    for (const auto& [name, bytes] : expected) {
        EXPECT_EQ(field(10, std::string("TOW:") + name, bytes.size()), bytes) << name;
    }
    EXPECT_EQ(field(11, "TOW:CENA", 8), doubleBytes(1.99)) << "no quantity: the unit price";
    EXPECT_EQ(field(11, "TOW:TYPPODS", 1), text(" ")) << "no VAT letter";
    EXPECT_EQ(field(12, "TOW:NAZWA", 30), text(std::string(29, 'N') + " ")) << "29 bytes kept";
}

// The descriptors decide the widths: nothing spills into the next field, and a wide binary field
// keeps no stale bytes behind a short value.
TEST(ProductTablePut, ValuesStayInsideTheirFields) {
    TableSpec spec;
    spec.fields = {{"TOW:DZIAL", kLong, 8},   {"TOW:CENA", kReal, 4},  {"TOW:KOD", kString, 5},
                   {"TOW:TYPPODS", kByte, 3}, {"TOW:TYP", kString, 2}, {"TOW:NAZWA", kString, 30}};
    TempDir dir;
    auto table = openTable(dir / "t.dat", buildTable(spec));
    ASSERT_NE(table, nullptr);
    Bytes record(table->recordSize(), 0xCC);
    table->putInt32(0x01020304, Field::DZIAL, record);
    table->putDouble(0.1, Field::CENA, record);  // 0x3FB999999999999A
    table->putText("1234567", Field::KOD, record);
    table->putText("A", Field::TYPPODS, record);
    table->putByte('3', Field::TYP, record);
    table->putInt32(1, Field::HALO, record);  // not in this table
    Bytes expected(5, 0xCC);
    for (const Bytes& b : {Bytes{4, 3, 2, 1, 0, 0, 0, 0}, Bytes{0x9A, 0x99, 0x99, 0x99},
                           text("12345"), Bytes{'A', 0, 0}, text("3 "), Bytes(30, 0xCC)}) {
        expected.insert(expected.end(), b.begin(), b.end());
    }
    EXPECT_EQ(record, expected);
}

#ifndef _WIN32
// A full disk, played by the child's file size limit: the append fails, the caller learns it,
// and the file still counts only the records that are really there.
TEST(ProductTableAppend, AWriteErrorIsReportedAndTheFileStays) {
    TableSpec spec = fullSpec();
    spec.records = {spec.record(9)};
    const Bytes before = buildTable(spec);
    TempDir dir;
    test::writeText(dir / "t.dat", std::string(before.begin(), before.end()));
    EXPECT_TRUE(onAFullDisk(before.size(), [&] {
        std::unique_ptr<ProductTable> table;
        return ProductTable::open(dir / "t.dat", table) == ProductTable::OpenResult::Opened &&
               !table->writeProductRecord(kBread) && table->writeFailed() &&
               table->recordCount() == 1;
    }));
    EXPECT_EQ(fileBytes(dir / "t.dat"), before);
}
#endif

// Debian's cldump, another reader of such tables, sees the appended good field by field ("NAME :
// value" lines after "=== RECORD n:").
TEST(ProductTableAppend, AnotherReaderSeesTheAppendedGood) {
    if (std::system("command -v cldump >/dev/null 2>&1") != 0) GTEST_SKIP() << "no cldump";
    TableSpec spec = fullSpec();
    spec.records = {spec.record(0)};
    TempDir dir;
    appended(dir, spec, {kBread});
    const std::string table = (dir / "TOWARY.DAT").string(), dump = (dir / "dump.txt").string();
    ASSERT_EQ(std::system(("timeout 30 cldump -D '" + table + "' >'" + dump + "'").c_str()), 0);
    const std::string out = readText(dump);
    const std::string good = out.substr(std::min(out.rfind("=== RECORD 2:"), out.size()));
    for (const auto& [name, value] : {std::pair{"NAZWA", "CHLEB ZWYKLY"},
                                      {"KOD", "     59012341"},
                                      {"KODNR", "5901234123457.000000"},
                                      {"CENA", "2.500000"},
                                      {"DZIAL", "258"},
                                      {"HALO", "7"},
                                      {"STATUS", "IMP"},
                                      {"JM", "SZT"},
                                      {"ZAOKN", "0.010000"},
                                      {"TANDEM", "10.000000"}}) {
        const std::string line = (name + std::string(13, ' ')).substr(0, 13) + ": " + value;
        EXPECT_NE(good.find("\n" + line + "\n"), std::string::npos) << line << "\n" << good;
    }
}

}  // namespace
}  // namespace lorvex
