#include <gtest/gtest.h>

#include <functional>

#include "goods/product_table.h"
#include "support/table_builder.h"
#include "support/temp_dir.h"

namespace lorvex {
namespace {

using namespace test;
using test::TempDir;
using Result = ProductTable::OpenResult;

std::string table(const std::function<void(TableSpec&)>& change) {
    TableSpec spec;
    spec.fields = {{"TOW:NAZWA", kString, 10}, {"TOW:CENADET", kReal, 8}};
    spec.records = {spec.record(0x11), spec.record(0x22)};
    change(spec);
    return tableText(spec);
}

// Text files fall through to the exchange-file path; damaged tables are refused outright, since
// a dump would otherwise empty them. Either way the file is left exactly as it was.
TEST(ProductTableOpen, SortsFilesIntoTablesTextAndRefusedTables) {
    const struct {
        const char* what;
        std::string contents;
        Result expected;
    } cases[] = {
        {"a sound table", table([](TableSpec&) {}), Result::Opened},
        {"a text exchange file", "PLU1\n", Result::NotATable},
        {"the signature alone", "C3", Result::Invalid},
        {"a header cut short", table([](TableSpec&) {}).substr(0, 60), Result::Invalid},
        {"no fields", table([](TableSpec& s) { s.fields.clear(), s.recordSize = 12; }),
         Result::Opened},
        {"61 fields", table([](TableSpec& s) { s.fields.assign(61, {"F"}), s.records.clear(); }),
         Result::Invalid},
        {"record size 310", table([](TableSpec& s) { s.recordSize = 310, s.records.clear(); }),
         Result::Invalid},
        {"a field past the record", table([](TableSpec& s) { s.recordSize = 22; }),
         Result::Invalid},
        {"descriptors past the end", table([](TableSpec& s) { s.fieldCount = 9; }),
         Result::Invalid},
        {"data over the descriptors", table([](TableSpec& s) { s.dataOffset = 90; }),
         Result::Invalid},
        {"a gap before the data", table([](TableSpec& s) { s.gap = 40; }), Result::Opened},
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.write("table.dat", c.contents);
        std::unique_ptr<ProductTable> opened;
        EXPECT_EQ(ProductTable::open(dir / "table.dat", opened), c.expected) << c.what;
        EXPECT_EQ(opened != nullptr, c.expected == Result::Opened) << c.what;
        opened.reset();
        EXPECT_EQ(readText(dir / "table.dat"), c.contents);
    }
    std::unique_ptr<ProductTable> opened;
    EXPECT_EQ(ProductTable::open(dir / "missing.dat", opened), Result::NotATable);
    EXPECT_EQ(ProductTable::open(dir.path(), opened), Result::NotATable);
}

// A name counts only where a space follows it; values come byte by byte, little-endian, the same
// on any host; the header promises three records, the file holds one and a piece. The goods
// loads pin the other fields and the records the header counts in vain.
TEST(ProductTableRead, ReadsNamedFieldsOfRecordsUpToWhereTheFileEnds) {
    TableSpec spec;
    spec.fields.insert(spec.fields.begin(), {"TOW:XKOD", kString, 2});
    spec.records = {spec.record(' ')};
    putLe(spec.records[0], spec.start("TOW:DZIAL"), 0x0107u, 4);
    spec.headerCount = 3;
    TempDir dir;
    dir.write("t.dat", tableText(spec) + std::string(10, 'd'));
    std::unique_ptr<ProductTable> table;
    ASSERT_EQ(ProductTable::open(dir / "t.dat", table), Result::Opened);
    table->mapFieldNames();
    EXPECT_EQ(table->index(Field::KOD), 0) << "XKOD comes first and is followed by a space";
    EXPECT_EQ(table->index(Field::NAZWA), 7) << "NAZWAF is not NAZWA";
    EXPECT_EQ(table->index(Field::CENA), -1) << "CENADET is not CENA";
    const int size = spec.size();
    for (const int expected : {0, 10 - size, -size}) {
        Bytes record(309, 0xFF);
        EXPECT_EQ(table->readRecord(record), expected);
        ASSERT_EQ(record.size(), static_cast<std::size_t>(size));
        if (expected == 0) {
            EXPECT_EQ(table->getLowByte(Field::DZIAL, record), 7);
            EXPECT_EQ(table->getDouble(Field::CENA, record), 0.0) << "absent";
        } else {
            EXPECT_EQ(record.back(), 0) << "what the file lacks reads as zero";
        }
        EXPECT_EQ(table->nextRecord(), 0);
    }
}

}  // namespace
}  // namespace lorvex
