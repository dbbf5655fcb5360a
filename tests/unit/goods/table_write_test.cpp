#include <gtest/gtest.h>

#include <string>

#include "goods/product_table.h"
#include "platform/console.h"
#include "table_builder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lorvex {
namespace {

using namespace tables;

std::unique_ptr<ProductTable> openMapped(const std::filesystem::path& path) {
    std::unique_ptr<ProductTable> table;
    EXPECT_EQ(ProductTable::open(path, table), ProductTable::OpenResult::Opened);
    if (table) {
        table->mapFieldNames();
        table->rewind();
    }
    return table;
}

ProductReportRecord product(std::string name, std::string code, double price, double quantity,
                            double value, int department) {
    ProductReportRecord r;
    r.name = std::move(name);
    r.codeText = std::move(code);
    r.unitPrice = price;
    r.quantity = quantity;
    r.value = value;
    r.department = department;
    return r;
}

Bytes slice(const Bytes& bytes, std::size_t at, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                 bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
}

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

TEST(ProductTableAppend, AppendsAfterTheCountedRecordsAndKeepsEverythingElse) {
    TableSpec spec;
    spec.fields = goodsFields();
    for (int i = 0; i < 10; ++i)
        spec.records.push_back(spec.record(static_cast<std::uint8_t>(i + 1)));
    spec.appendedCount = 7;
    spec.unusedFill = 0xA5;
    spec.gap = 16;
    const Bytes before = buildTable(spec);
    TempDir dir;
    const auto path = dir / "towary.dat";
    writeFile(path, before);

    ProductReportRecord first = product("CHLEB ZWYKLY", "     5901234123457", 3.0, 4, 10, 258);
    first.halo = 7;
    first.vatLetter = 'A';
    first.flagBits = 0x15;
    ProductReportRecord second = product("MLEKO", "                12", 1.99, 0, 12345, 3);
    ProductReportRecord third = product(std::string(40, 'N'), "1", 0.5, 2, 1, 1);
    {
        auto table = openMapped(path);
        ASSERT_NE(table, nullptr);
        CapturingConsole console;
        for (const auto* r : {&first, &second, &third}) {
            EXPECT_TRUE(table->writeProductRecord(*r, console, 0));
        }
        EXPECT_FALSE(table->writeFailed());
        EXPECT_EQ(table->recordCount(), 13u);
        EXPECT_EQ(console.text(), "");
    }

    const Bytes after = readFile(path);
    const std::size_t size = spec.computedRecordSize();
    const std::size_t data = spec.computedDataOffset();
    ASSERT_EQ(after.size(), data + 13 * size);
    EXPECT_EQ(getLe(after, 5, 4), 13u);
    EXPECT_EQ(getLe(after, 25, 4), 10u);
    EXPECT_EQ(getLe(after, 29, 4), 1u);
    for (std::size_t i = 0; i < data + 10 * size; ++i) {
        const bool counter = (i >= 5 && i < 9) || (i >= 25 && i < 33);
        if (!counter && after[i] != before[i]) {
            ADD_FAILURE() << "byte " << i << " changed";
            break;
        }
    }

    // Field by field, as the bytes lie in the file.
    auto field = [&](int record, const std::string& name, std::size_t count) {
        return slice(after, data + static_cast<std::size_t>(record) * size + fieldStart(spec, name),
                     count);
    };
    EXPECT_EQ(slice(after, data + 10 * size, 5), Bytes(5, 0)) << "leading bytes are zero";
    EXPECT_EQ(field(10, "TOW:ILOSC", 8), doubleBytes(4));
    EXPECT_EQ(field(10, "TOW:ILOSC_ECR", 8), doubleBytes(4));
    EXPECT_EQ(field(10, "TOW:KOD", 13), text("     59012341")) << "cut to the field's width";
    EXPECT_EQ(field(10, "TOW:KODNR", 8), doubleBytes(5901234123457.0));
    EXPECT_EQ(field(10, "TOW:CENA", 8), doubleBytes(2.5)) << "value / quantity";
    EXPECT_EQ(field(10, "TOW:CENADET", 8), doubleBytes(3.0));
    EXPECT_EQ(field(10, "TOW:CENAHUR", 8), doubleBytes(3.0));
    EXPECT_EQ(field(10, "TOW:DZIAL", 4), (Bytes{0x02, 0x01, 0, 0}));
    EXPECT_EQ(field(10, "TOW:FBYTE1", 1), Bytes{0x02});
    EXPECT_EQ(field(10, "TOW:NAZWAF", 18), text("CHLEB ZWYKLY      "));
    EXPECT_EQ(field(10, "TOW:NAZWA", 30), text("CHLEB ZWYKLY" + std::string(18, ' ')));
    EXPECT_EQ(field(10, "TOW:OPCJE", 2), (Bytes{0x15, 0}));
    EXPECT_EQ(field(10, "TOW:STAN", 8), Bytes(8, 0)) << "not written";
    EXPECT_EQ(field(10, "TOW:GRUPA1", 4), Bytes(4, 0)) << "not written";
    EXPECT_EQ(field(10, "TOW:FREAL1", 8), doubleBytes(0.0));
    EXPECT_EQ(field(10, "TOW:NUMER", 4), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(field(10, "TOW:STATUS", 3), text("IMP"));
    EXPECT_EQ(field(10, "TOW:FORMA", 1), Bytes{1});
    EXPECT_EQ(field(10, "TOW:FBYTE2", 1), Bytes{0});
    EXPECT_EQ(field(10, "TOW:WSK", 1), Bytes{0});
    EXPECT_EQ(field(10, "TOW:TYP", 1), text("3"));
    EXPECT_EQ(field(10, "TOW:TPU", 1), Bytes{1});
    EXPECT_EQ(field(10, "TOW:JM", 4), text("SZT "));
    EXPECT_EQ(field(10, "TOW:TANDEM", 8), doubleBytes(10));
    EXPECT_EQ(field(10, "TOW:HALO", 4), (Bytes{7, 0, 0, 0}));
    EXPECT_EQ(field(10, "TOW:ZAOKN", 8), doubleBytes(0.01));
    EXPECT_EQ(field(10, "TOW:ZAOKB", 8), doubleBytes(0.01));
    EXPECT_EQ(field(10, "TOW:TYPPODS", 1), text("A"));
    EXPECT_EQ(field(10, "TOW:SWW", 2), text("  "));

    EXPECT_EQ(field(11, "TOW:CENA", 8), doubleBytes(1.99)) << "no quantity: the unit price";
    EXPECT_EQ(field(11, "TOW:TANDEM", 8), doubleBytes(12345));
    EXPECT_EQ(field(11, "TOW:KODNR", 8), doubleBytes(12));
    EXPECT_EQ(field(11, "TOW:TYPPODS", 1), text(" ")) << "no VAT letter";

    EXPECT_EQ(field(12, "TOW:NAZWA", 30), text(std::string(29, 'N') + " ")) << "29 bytes kept";
    EXPECT_EQ(field(12, "TOW:NAZWAF", 18), text(std::string(18, 'N')));

    // And the table reads its own records back.
    auto table = openMapped(path);
    ASSERT_NE(table, nullptr);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(table->nextRecord(), 0);
    Bytes record;
    ASSERT_EQ(table->readRecord(record), 0);
    EXPECT_EQ(table->getDouble(table->fields().CENADET, record), 3.0);
    EXPECT_EQ(table->getText(table->fields().NAZWAF, record), "CHLEB ZWYKLY      ");
}

TEST(ProductTableAppend, ATableWithoutFieldsGetsRecordsOfZeros) {
    TableSpec spec;
    spec.recordSize = 9;
    spec.records = {Bytes(9, 0x33)};
    TempDir dir;
    const auto path = dir / "t.dat";
    writeFile(path, buildTable(spec));
    {
        auto table = openMapped(path);
        ASSERT_NE(table, nullptr);
        CapturingConsole console;
        ASSERT_TRUE(table->writeProductRecord(product("X", "1", 1, 1, 1, 1), console, 0));
    }
    const Bytes after = readFile(path);
    ASSERT_EQ(after.size(), 85u + 18u);
    EXPECT_EQ(slice(after, 85, 9), Bytes(9, 0x33));
    EXPECT_EQ(slice(after, 94, 9), Bytes(9, 0));
    EXPECT_EQ(getLe(after, 5, 4), 2u);
}

// Descriptors decide the widths, not the values: nothing may spill into the next field or past
// the buffer, and a wide binary field must not keep stale bytes behind a short value.
TEST(ProductTablePut, ValuesStayInsideTheirFieldsAndTheBuffer) {
    TableSpec spec;
    spec.fields = {{"TOW:DZIAL", kLong, 8},   {"TOW:CENA", kReal, 4},  {"TOW:KOD", kString, 5},
                   {"TOW:TYPPODS", kByte, 3}, {"TOW:TYP", kString, 2}, {"TOW:NUMER", kLong, 0},
                   {"TOW:NAZWA", kString, 30}};
    TempDir dir;
    writeFile(dir / "t.dat", buildTable(spec));
    auto table = openMapped(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    const FieldIndexes& f = table->fields();
    Bytes record(table->recordSize(), 0xCC);

    table->putInt32(0x01020304, f.DZIAL, record);
    table->putDouble(0.1, f.CENA, record);  // 0x3FB999999999999A
    table->putText("1234567", f.KOD, record);
    table->putText("A", f.TYPPODS, record);
    table->putByte('3', f.TYP, record);
    table->putInt32(1, f.NUMER, record);
    table->putInt32(1, -1, record);

    EXPECT_EQ(slice(record, 0, 5), Bytes(5, 0xCC));
    EXPECT_EQ(slice(record, 5, 8), (Bytes{4, 3, 2, 1, 0, 0, 0, 0}));
    EXPECT_EQ(slice(record, 13, 4), (Bytes{0x9A, 0x99, 0x99, 0x99}));
    EXPECT_EQ(slice(record, 17, 5), text("12345"));
    EXPECT_EQ(slice(record, 22, 3), (Bytes{'A', 0, 0}));
    EXPECT_EQ(slice(record, 25, 2), text("3 "));
    EXPECT_EQ(slice(record, 27, 30), Bytes(30, 0xCC));

    // A buffer shorter than the record: only what lies inside it is written.
    Bytes shortRecord(20, 0xCC);
    table->putText(std::string(40, 'Z'), f.NAZWA, shortRecord);
    table->putDouble(1.0, f.CENA, shortRecord);
    table->putText("1234567", f.KOD, shortRecord);
    EXPECT_EQ(shortRecord.size(), 20u);
    EXPECT_EQ(slice(shortRecord, 17, 3), text("123"));
    EXPECT_EQ(table->getText(f.KOD, shortRecord), "123");
    EXPECT_EQ(table->getText(f.NAZWA, shortRecord), "");
    Bytes raw;
    EXPECT_TRUE(table->getField(raw, f.KOD, shortRecord));
    EXPECT_EQ(raw, (Bytes{'1', '2', '3', 0, 0}));
}

TEST(ProductTableTrace, ShowsEachAppendedRecordWithItsPolishName) {
    struct Case {
        CharsetMode mode;
        std::string name;  // "ąCHLEB" in the mode's encoding
    };
    const Case cases[] = {{CharsetMode::Mazovia,
                           "\x86"
                           "CHLEB"},
                          {CharsetMode::Latin,
                           "\xA5"
                           "CHLEB"}};
    TableSpec spec;
    spec.fields = goodsFields();
    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir / "t.dat", buildTable(spec));
        auto table = openMapped(dir / "t.dat");
        ASSERT_NE(table, nullptr);
        CapturingConsole console;
        ASSERT_TRUE(
            table->writeProductRecord(product(c.name, "    12", 1, 4, 1, 258), console, 0, c.mode));
        EXPECT_EQ(console.text(), "");
        ASSERT_TRUE(
            table->writeProductRecord(product(c.name, "    12", 1, 4, 1, 258), console, 1, c.mode));
        EXPECT_EQ(console.text(),
                  "4.000000,    12,\xC4\x85"
                  "CHLEB,258\n");
    }
}

#ifndef _WIN32
// A full disk: the append fails, the caller learns it, and the header keeps counting only the
// records that are really there. Run in a child, whose file size limit stands in for the disk.
TEST(ProductTableAppend, AWriteErrorIsReportedAndTheHeaderStays) {
    TableSpec spec;
    spec.fields = goodsFields();
    spec.records = {spec.record(9)};
    const Bytes before = buildTable(spec);
    TempDir dir;
    const auto path = dir / "t.dat";
    writeFile(path, before);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{static_cast<rlim_t>(before.size()), static_cast<rlim_t>(before.size())};
        std::unique_ptr<ProductTable> table;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0 ||
            ProductTable::open(path, table) != ProductTable::OpenResult::Opened) {
            _exit(2);
        }
        table->mapFieldNames();
        CapturingConsole console;
        const bool appended = table->writeProductRecord(product("X", "1", 1, 1, 1, 1), console, 0);
        _exit(!appended && table->writeFailed() && table->recordCount() == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(path), before);
}
#endif

}  // namespace
}  // namespace lorvex
