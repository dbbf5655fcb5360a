#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "goods/plu_goods.h"
#include "goods/product_table.h"
#include "platform/console.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;

struct Field {
    const char* name;
    std::uint8_t type;  // 3 character, else binary
    std::uint16_t offset;
    std::uint16_t length;
};

// The goods fields of a shop's table, in an order of its own and with a field the program does
// not know.
const Field kFields[] = {
    {"NAZWAF", 3, 0, 30}, {"KODNR", 0, 30, 8}, {"CENADET", 0, 38, 8}, {"TYPPODS", 3, 46, 1},
    {"OPCJE", 0, 47, 2},  {"DZIAL", 0, 49, 4}, {"HALO", 0, 53, 4},    {"TANDEM", 0, 57, 8},
    {"KOD", 3, 65, 13},   {"XTRA", 0, 78, 4},
};
constexpr std::uint16_t kRecordSize = 5 + 82;

void putLittle(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[at + static_cast<std::size_t>(i)] = (value >> (8 * i)) & 0xFF;
}

// An empty table with the fields above.
fs::path makeTable(const std::string& name) {
    const fs::path path = fs::path(::testing::TempDir()) / name;
    const std::size_t fieldCount = std::size(kFields);
    std::vector<std::uint8_t> bytes(85 + 27 * fieldCount, 0);
    putLittle(bytes, 0, 0x3343, 2);
    putLittle(bytes, 13, fieldCount, 2);
    putLittle(bytes, 19, kRecordSize, 2);
    putLittle(bytes, 21, bytes.size(), 4);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const std::size_t at = 85 + 27 * i;
        bytes[at] = kFields[i].type;
        const std::string padded = std::string(kFields[i].name) + std::string(14, ' ');
        for (std::size_t k = 0; k < 14; ++k)
            bytes[at + 1 + k] = static_cast<std::uint8_t>(padded[k]);
        putLittle(bytes, at + 17, kFields[i].offset, 2);
        putLittle(bytes, at + 19, kFields[i].length, 2);
    }
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    EXPECT_NE(file, nullptr);
    if (file != nullptr) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

std::unique_ptr<ProductTable> openTable(const fs::path& path) {
    std::unique_ptr<ProductTable> table;
    EXPECT_EQ(ProductTable::open(path, table), ProductTable::OpenResult::Opened);
    if (table) table->mapFieldNames();
    return table;
}

std::vector<std::uint8_t> readFirst(ProductTable& table) {
    table.rewind();
    std::vector<std::uint8_t> buffer;
    EXPECT_EQ(table.readRecord(buffer), 0);
    return buffer;
}

TEST(PluFromTable, TakesTheGoodFromItsNamedFields) {
    const fs::path path = makeTable("plu_from_table.tbl");
    {
        auto table = openTable(path);
        ASSERT_TRUE(table);
        const FieldIndexes& f = table->fields();
        std::vector<std::uint8_t> record(kRecordSize, 0);
        table->putText("Kawa \x86 ziarnista Arabica", f.NAZWAF, record);  // Mazovia 'ą'
        table->putDouble(5900000000001, f.KODNR, record);
        table->putDouble(24.99, f.CENADET, record);
        table->putText("B", f.TYPPODS, record);
        table->putInt16(0x25, f.OPCJE, record);     // bits 0, 2 and 5: only 0..4 travel
        table->putInt32(300 + 7, f.DZIAL, record);  // the first byte only: 51
        table->putInt32(12, f.HALO, record);
        table->putDouble(0, f.TANDEM, record);
        ASSERT_TRUE(table->appendRecord(record));
    }
    auto table = openTable(path);
    ASSERT_TRUE(table);
    const PluRecord r = pluFromTable(*table, readFirst(*table), CharsetMode::Mazovia);
    EXPECT_EQ(r.code, 5900000000001);
    EXPECT_EQ(r.name, "Kawa \xa5 ziarnista A");  // cut to 18, in CP852
    EXPECT_DOUBLE_EQ(r.price, 24.99);
    EXPECT_EQ(r.vatLetter, 'B');
    EXPECT_EQ(r.typeDigit, 3);
    EXPECT_EQ(r.flags, "10100");
    EXPECT_EQ(r.department, 51);
    EXPECT_EQ(r.halo, 12);
    const auto text = pluRecordText(1, r);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "DI1" + std::string(5, ' ') + "5900000000001" + "Kawa \xa5 ziarnista A" +
                         "      2499" + "B3" + "10100" + "51" + "12" + std::string(18, ' '));
}

TEST(PluFromTable, DumpedGoodLoadsBackFromTheTable) {
    const fs::path path = makeTable("plu_round_trip.tbl");
    // The register's block: EAN-8 code right-aligned, tandem, fourth flag clear.
    const std::string block = "DI0" + std::string(10, ' ') + "59012341" + "Herbata" +
                              std::string(11, ' ') + "       799" + "A3" + "01001" + "08" + "04" +
                              std::string(17, ' ') + "7" + '\x03';
    CapturingConsole console;
    {
        auto table = openTable(path);
        ASSERT_TRUE(table);
        const DumpedPlu plu = pluFromAnswer(block.substr(0, block.size() - 1), CharsetMode::Latin);
        ASSERT_TRUE(
            table->writeProductRecord(pluProductRecord(plu), console, 0, CharsetMode::Latin));
        EXPECT_EQ(table->recordCount(), 1u);
    }
    auto table = openTable(path);
    ASSERT_TRUE(table);
    const std::vector<std::uint8_t> buffer = readFirst(*table);
    EXPECT_EQ(table->getText(table->fields().KOD, buffer), "59012341     ");
    const auto text = pluRecordText(1, pluFromTable(*table, buffer, CharsetMode::Latin));
    ASSERT_TRUE(text.has_value());
    std::string expected = block.substr(0, 78);
    expected[2] = '1';
    EXPECT_EQ(*text, expected);
}

}  // namespace
}  // namespace lorvex
