#include <gtest/gtest.h>

#include <functional>
#include <string>

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

TableSpec smallTable() {
    TableSpec spec;
    spec.fields = {{"TOW:NAZWA", kString, 10}, {"TOW:CENADET", kReal, 8}};
    spec.records = {spec.record(0x11), spec.record(0x22)};
    return spec;
}

std::string resultName(Result r) {
    switch (r) {
        case Result::Opened:
            return "Opened";
        case Result::NotATable:
            return "NotATable";
        case Result::Invalid:
            return "Invalid";
    }
    return "?";
}

// Every file that is not a table the program can safely work on must be left exactly as it was:
// text files fall through to the exchange-file path, damaged tables are refused outright.
TEST(ProductTableOpen, SortsFilesIntoTablesTextAndRefusedTables) {
    struct Case {
        const char* what;
        std::function<Bytes()> contents;
        Result expected;
    };
    const Case cases[] = {
        {"a sound table", [] { return buildTable(smallTable()); }, Result::Opened},
        {"a text exchange file", [] { return Bytes{'P', 'L', 'U', '1', ',', 'x', '\n'}; },
         Result::NotATable},
        {"an empty file", [] { return Bytes{}; }, Result::NotATable},
        {"one byte of the signature", [] { return Bytes{0x43}; }, Result::NotATable},
        {"the signature bytes swapped",
         [] {
             return Bytes{0x33, 0x43, 0, 0};
         },
         Result::NotATable},
        {"the signature and nothing more",
         [] {
             return Bytes{0x43, 0x33};
         },
         Result::Invalid},
        {"a header cut short",
         [] {
             Bytes b = buildTable(smallTable());
             b.resize(60);
             return b;
         },
         Result::Invalid},
        {"no fields at all",
         [] {
             TableSpec s;
             s.recordSize = 12;
             s.records = {Bytes(12, 7)};
             return buildTable(s);
         },
         Result::Opened},
        {"60 fields and 309-byte records",
         [] {
             TableSpec s;
             for (int i = 0; i < 60; ++i) s.fields.push_back({"F" + std::to_string(i), kByte, 1});
             s.recordSize = 309;
             return buildTable(s);
         },
         Result::Opened},
        {"61 fields",
         [] {
             TableSpec s;
             for (int i = 0; i < 61; ++i) s.fields.push_back({"F" + std::to_string(i), kByte, 1});
             return buildTable(s);
         },
         Result::Invalid},
        {"record size 0",
         [] {
             TableSpec s = smallTable();
             s.recordSize = 0;
             s.records.clear();
             return buildTable(s);
         },
         Result::Invalid},
        {"record size 310",
         [] {
             TableSpec s = smallTable();
             s.recordSize = 310;
             s.records.clear();
             return buildTable(s);
         },
         Result::Invalid},
        {"a field reaching past the record",
         [] {
             TableSpec s = smallTable();
             s.fields.push_back({"TOW:DZIAL", kLong, 4, 20});  // 5 + 20 + 4 > 23
             s.recordSize = 23;
             s.records.clear();
             return buildTable(s);
         },
         Result::Invalid},
        {"a field far outside any record",
         [] {
             TableSpec s = smallTable();
             s.fields.push_back({"TOW:DZIAL", kLong, 0xFFFF, 0xFFF0});
             s.recordSize = 40;
             s.records.clear();
             return buildTable(s);
         },
         Result::Invalid},
        {"more descriptors counted than the file holds",
         [] {
             TableSpec s = smallTable();
             s.fieldCount = 9;
             s.records.clear();
             s.dataOffset = 85 + 2 * 27;
             return buildTable(s);
         },
         Result::Invalid},
        {"data offset past the end of the file",
         [] {
             TableSpec s = smallTable();
             s.dataOffset = 100000;
             return buildTable(s);
         },
         Result::Invalid},
        {"data offset over the descriptors",
         [] {
             TableSpec s = smallTable();
             s.dataOffset = 90;
             return buildTable(s);
         },
         Result::Invalid},
        {"a gap between descriptors and data",
         [] {
             TableSpec s = smallTable();
             s.gap = 40;
             return buildTable(s);
         },
         Result::Opened},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = dir / "table.dat";
        const Bytes before = c.contents();
        writeFile(path, before);
        std::unique_ptr<ProductTable> table;
        EXPECT_EQ(resultName(ProductTable::open(path, table)), resultName(c.expected));
        EXPECT_EQ(table != nullptr, c.expected == Result::Opened);
        table.reset();
        EXPECT_EQ(readFile(path), before);
    }
}

TEST(ProductTableOpen, NamesThatAreNoFileAreNotTables) {
    TempDir dir;
    std::unique_ptr<ProductTable> table;
    EXPECT_EQ(ProductTable::open(dir / "missing.dat", table), Result::NotATable);
    EXPECT_EQ(ProductTable::open(dir.path(), table), Result::NotATable);
    EXPECT_EQ(table, nullptr);
}

#ifndef _WIN32
TEST(ProductTableOpen, ATableThatMayNotBeWrittenIsRefusedNotTakenForText) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir dir;
    const auto path = dir / "table.dat";
    writeFile(path, buildTable(smallTable()));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    std::unique_ptr<ProductTable> table;
    EXPECT_EQ(ProductTable::open(path, table), Result::Invalid);
}
#endif

}  // namespace
}  // namespace lorvex
