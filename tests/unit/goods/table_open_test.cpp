#include <gtest/gtest.h>

#include <functional>

#include "goods/product_table.h"
#include "table_builder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lorvex {
namespace {

using namespace tables;
using Result = ProductTable::OpenResult;

Bytes table(const std::function<void(TableSpec&)>& change) {
    TableSpec spec;
    spec.fields = {{"TOW:NAZWA", kString, 10}, {"TOW:CENADET", kReal, 8}};
    spec.records = {spec.record(0x11), spec.record(0x22)};
    change(spec);
    return buildTable(spec);
}

// Text files fall through to the exchange-file path; damaged tables are refused outright, since
// a dump would otherwise empty them. Either way the file is left exactly as it was.
TEST(ProductTableOpen, SortsFilesIntoTablesTextAndRefusedTables) {
    Bytes cutHeader = table([](TableSpec&) {});
    cutHeader.resize(60);
    Bytes sixtyOne = table([](TableSpec& s) {
        s.fields.assign(61, {"F", kByte, 1});
        s.records.clear();
    });
    struct Case {
        const char* what;
        Bytes contents;
        Result expected;
    };
    const Case cases[] = {
        {"a sound table", table([](TableSpec&) {}), Result::Opened},
        {"a text exchange file", {'P', 'L', 'U', '1', '\n'}, Result::NotATable},
        {"an empty file", {}, Result::NotATable},
        {"the signature swapped", {0x33, 0x43, 0, 0}, Result::NotATable},
        {"the signature alone", {0x43, 0x33}, Result::Invalid},
        {"a header cut short", cutHeader, Result::Invalid},
        {"no fields", table([](TableSpec& s) { s.fields.clear(), s.recordSize = 12; }),
         Result::Opened},
        {"60 fields, 309-byte records", table([](TableSpec& s) {
             s.fields.assign(60, {"F", kByte, 1});
             s.recordSize = 309;
             s.records.clear();
         }),
         Result::Opened},
        {"61 fields", sixtyOne, Result::Invalid},
        {"record size 0", table([](TableSpec& s) { s.recordSize = 0, s.records.clear(); }),
         Result::Invalid},
        {"record size 310", table([](TableSpec& s) { s.recordSize = 310, s.records.clear(); }),
         Result::Invalid},
        {"a field past the record", table([](TableSpec& s) { s.recordSize = 22; }),
         Result::Invalid},
        {"a field far outside",
         table([](TableSpec& s) { s.fields[1].offset = 0xFFF0, s.recordSize = 40; }),
         Result::Invalid},
        {"descriptors past the end", table([](TableSpec& s) {
             s.fieldCount = 9;
             s.records.clear();
         }),
         Result::Invalid},
        {"data past the end", table([](TableSpec& s) { s.dataOffset = 100000; }), Result::Invalid},
        {"data over the descriptors", table([](TableSpec& s) { s.dataOffset = 90; }),
         Result::Invalid},
        {"a gap before the data", table([](TableSpec& s) { s.gap = 40; }), Result::Opened},
    };
    TempDir dir;
    const auto path = dir / "table.dat";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(path, c.contents);
        std::unique_ptr<ProductTable> opened;
        EXPECT_EQ(static_cast<int>(ProductTable::open(path, opened)), static_cast<int>(c.expected));
        EXPECT_EQ(opened != nullptr, c.expected == Result::Opened);
        opened.reset();
        EXPECT_EQ(readFile(path), c.contents);
    }
    std::unique_ptr<ProductTable> opened;
    EXPECT_EQ(ProductTable::open(dir / "missing.dat", opened), Result::NotATable);
    EXPECT_EQ(ProductTable::open(dir.path(), opened), Result::NotATable);
}

#ifndef _WIN32
TEST(ProductTableOpen, ATableThatMayNotBeWrittenIsRefusedNotTakenForText) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir dir;
    writeFile(dir / "t.dat", table([](TableSpec&) {}));
    ASSERT_EQ(chmod((dir / "t.dat").c_str(), 0444), 0);
    std::unique_ptr<ProductTable> opened;
    EXPECT_EQ(ProductTable::open(dir / "t.dat", opened), Result::Invalid);
}
#endif

}  // namespace
}  // namespace lorvex
