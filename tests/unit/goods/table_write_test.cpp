#include <gtest/gtest.h>

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

ProductReportRecord product(std::string name, std::string code, double price, double quantity,
                            double value, int department) {
    return {std::move(name), std::move(code), price, quantity, value, department, 0, 0, 0, 0};
}

TEST(ProductTableAppend, AppendsAfterTheCountedRecordsAndKeepsEverythingElse) {
    TableSpec spec;
    spec.fields = goodsFields();
    for (int i = 0; i < 10; ++i) spec.records.push_back(spec.record(static_cast<std::uint8_t>(i)));
    spec.appendedCount = 7;
    spec.unusedFill = 0xA5;
    spec.gap = 16;
    const Bytes before = buildTable(spec);
    TempDir dir;
    writeFile(dir / "t.dat", before);

    ProductReportRecord first = product("CHLEB ZWYKLY", "     5901234123457", 3.0, 4, 10, 258);
    first.halo = 7;
    first.vatLetter = 'A';
    first.flagBits = 0x15;
    {
        auto table = openMapped(dir / "t.dat");
        ASSERT_NE(table, nullptr);
        EXPECT_TRUE(table->writeProductRecord(first));
        EXPECT_TRUE(table->writeProductRecord(product("MLEKO", "12", 1.99, 0, 123, 3)));
        EXPECT_TRUE(table->writeProductRecord(product(std::string(40, 'N'), "1", 1, 1, 1, 1)));
        EXPECT_EQ(table->recordCount(), 13u);
    }

    const Bytes after = readFile(dir / "t.dat");
    const std::size_t size = spec.size();
    const std::size_t data = spec.data();
    ASSERT_EQ(after.size(), data + 13 * size);
    EXPECT_EQ(getLe(after, 5, 4), 13u) << "record count";
    EXPECT_EQ(getLe(after, 25, 4), 10u) << "appended count";
    EXPECT_EQ(getLe(after, 29, 4), 1u) << "changed flag";
    for (std::size_t i = 0; i < data + 10 * size; ++i) {
        if ((i < 5 || i >= 9) && (i < 25 || i >= 33) && after[i] != before[i]) {
            ADD_FAILURE() << "byte " << i << " changed";
            break;
        }
    }
    auto field = [&](int record, const std::string& name, std::size_t count) {
        return slice(after,
                     data + static_cast<std::size_t>(record) * size + spec.start("TOW:" + name),
                     count);
    };
    const std::pair<const char*, Bytes> expected[] = {
        {"ILOSC", doubleBytes(4)},
        {"ILOSC_ECR", doubleBytes(4)},
        {"KOD", text("     59012341")},
        {"KODNR", doubleBytes(5901234123457.0)},
        {"CENA", doubleBytes(2.5)},
        {"CENADET", doubleBytes(3)},
        {"CENAHUR", doubleBytes(3)},
        {"DZIAL", {2, 1, 0, 0}},
        {"FBYTE1", {2}},
        {"NAZWAF", text("CHLEB ZWYKLY      ")},
        {"OPCJE", {0x15, 0}},
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
        {"TANDEM", doubleBytes(10)},
        {"HALO", {7, 0, 0, 0}},
        {"ZAOKN", doubleBytes(0.01)},
        {"TYPPODS", text("A")},
        {"SWW", text("  ")},
    };
    EXPECT_EQ(slice(after, data + 10 * size, 5), Bytes(5, 0)) << "leading bytes";
    for (const auto& [name, bytes] : expected) {
        EXPECT_EQ(field(10, name, bytes.size()), bytes) << name;
    }
    EXPECT_EQ(field(11, "CENA", 8), doubleBytes(1.99)) << "no quantity: the unit price";
    EXPECT_EQ(field(11, "TYPPODS", 1), text(" ")) << "no VAT letter";
    EXPECT_EQ(field(12, "NAZWA", 30), text(std::string(29, 'N') + " ")) << "29 bytes kept";
}

// The descriptors decide the widths: nothing spills into the next field or past the buffer, and
// a wide binary field keeps no stale bytes behind a short value.
TEST(ProductTablePut, ValuesStayInsideTheirFieldsAndTheBuffer) {
    TableSpec spec;
    spec.fields = {{"TOW:DZIAL", kLong, 8},   {"TOW:CENA", kReal, 4},  {"TOW:KOD", kString, 5},
                   {"TOW:TYPPODS", kByte, 3}, {"TOW:TYP", kString, 2}, {"TOW:NAZWA", kString, 30}};
    TempDir dir;
    writeFile(dir / "t.dat", buildTable(spec));
    auto table = openMapped(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    Bytes record(table->recordSize(), 0xCC);
    table->putInt32(0x01020304, Field::DZIAL, record);
    table->putDouble(0.1, Field::CENA, record);  // 0x3FB999999999999A
    table->putText("1234567", Field::KOD, record);
    table->putText("A", Field::TYPPODS, record);
    table->putByte('3', Field::TYP, record);
    table->putInt32(1, Field::SWW, record);
    const Bytes expected[] = {Bytes(5, 0xCC),
                              {4, 3, 2, 1, 0, 0, 0, 0},
                              {0x9A, 0x99, 0x99, 0x99},
                              text("12345"),
                              {'A', 0, 0},
                              text("3 "),
                              Bytes(30, 0xCC)};
    Bytes joined;
    for (const Bytes& b : expected) joined.insert(joined.end(), b.begin(), b.end());
    EXPECT_EQ(record, joined);

    Bytes shortRecord(20, 0xCC);
    table->putText(std::string(40, 'Z'), Field::NAZWA, shortRecord);
    table->putText("1234567", Field::KOD, shortRecord);
    ASSERT_EQ(shortRecord.size(), 20u);
    EXPECT_EQ(slice(shortRecord, 17, 3), text("123"));
    Bytes raw;
    EXPECT_TRUE(table->getField(raw, table->index(Field::KOD), shortRecord));
    EXPECT_EQ(raw, (Bytes{'1', '2', '3', 0, 0}));
}

#ifndef _WIN32
// A full disk, played by the child's file size limit: the append fails, the caller learns it,
// and the file still counts only the records that are really there.
TEST(ProductTableAppend, AWriteErrorIsReportedAndTheFileStays) {
    TableSpec spec;
    spec.fields = goodsFields();
    spec.records = {spec.record(9)};
    const Bytes before = buildTable(spec);
    TempDir dir;
    writeFile(dir / "t.dat", before);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size(), before.size()};
        std::unique_ptr<ProductTable> table;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0 ||
            ProductTable::open(dir / "t.dat", table) != ProductTable::OpenResult::Opened) {
            _exit(2);
        }
        const bool appended = table->writeProductRecord(product("X", "1", 1, 1, 1, 1));
        _exit(!appended && table->writeFailed() && table->recordCount() == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readFile(dir / "t.dat"), before);
}
#endif

}  // namespace
}  // namespace lorvex
