#include <gtest/gtest.h>

#include <string>

#include "goods/product_table.h"
#include "table_builder.h"

namespace lorvex {
namespace {

using namespace tables;

std::unique_ptr<ProductTable> openTable(const std::filesystem::path& path) {
    std::unique_ptr<ProductTable> table;
    EXPECT_EQ(ProductTable::open(path, table), ProductTable::OpenResult::Opened);
    return table;
}

void putText(Bytes& record, std::size_t at, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        record[at + i] = static_cast<std::uint8_t>(text[i]);
}

TEST(ProductTableFields, FindsEachNameOnlyWhereASpaceFollowsIt) {
    TableSpec spec;
    spec.fields = {{"TOW:XKOD", kString, 13},
                   {"TOW:KOD", kString, 13},
                   {"TOW:NAZWAF", kString, 18},
                   {"TOW:KODNR", kReal, 8},
                   {"TOW:NAZWA", kString, 30}};
    TempDir dir;
    writeFile(dir / "t.dat", buildTable(spec));
    auto table = openTable(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    table->mapFieldNames();
    const FieldIndexes& f = table->fields();
    EXPECT_EQ(f.KOD, 0) << "XKOD comes first and is followed by a space";
    EXPECT_EQ(f.KODNR, 3);
    EXPECT_EQ(f.NAZWAF, 2);
    EXPECT_EQ(f.NAZWA, 4) << "NAZWA must not be taken for NAZWAF";
    EXPECT_EQ(f.CENA, -1);
    EXPECT_EQ(f.TANDEM, -1);
    EXPECT_EQ(table->findField(""), -1);
}

TEST(ProductTableFields, ATableWithoutFieldsMapsNothingAndReadsZeros) {
    TableSpec spec;
    spec.recordSize = 12;
    spec.records = {Bytes(12, 0x41)};
    TempDir dir;
    writeFile(dir / "t.dat", buildTable(spec));
    auto table = openTable(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    table->mapFieldNames();
    const FieldIndexes& f = table->fields();
    for (int index : {f.ILOSC, f.KOD, f.KODNR, f.CENADET, f.DZIAL, f.NAZWAF, f.OPCJE, f.TANDEM,
                      f.HALO, f.TYPPODS, f.SWW}) {
        EXPECT_EQ(index, -1);
    }
    Bytes record;
    table->rewind();
    EXPECT_EQ(table->readRecord(record), 0);
    EXPECT_EQ(table->getDouble(f.CENADET, record), 0.0);
    EXPECT_EQ(table->getText(f.NAZWAF, record), "");
    EXPECT_EQ(table->getLowByte(f.DZIAL, record), 0);
    Bytes untouched{1, 2, 3};
    EXPECT_FALSE(table->getField(untouched, -1, record));
    EXPECT_EQ(untouched, (Bytes{1, 2, 3}));
}

// Values are laid down here byte by byte, little-endian, as another program would have written
// them; the table must read the same numbers on any host.
TEST(ProductTableRead, ReadsRecordsInOrderWithTheirValues) {
    TableSpec spec;
    spec.fields = goodsFields();
    struct Good {
        const char* name;
        double price;
        double code;
        std::uint32_t department;
        std::uint16_t options;
        char vat;
    };
    const Good goods[] = {{"CHLEB ZWYKLY", 3.5, 5, 0x0107, 5, 'A'},
                          {"MLEKO 2%", 2.25, 5901234123457.0, 12, 0x1F, 'B'},
                          {"", 0, 0, 0, 0, ' '}};
    for (const Good& g : goods) {
        Bytes r = spec.record(0);
        putText(r, fieldStart(spec, "TOW:NAZWAF"),
                std::string(g.name) + std::string(18 - std::string(g.name).size(), ' '));
        putLe(r, fieldStart(spec, "TOW:CENADET"), std::bit_cast<std::uint64_t>(g.price), 8);
        putLe(r, fieldStart(spec, "TOW:KODNR"), std::bit_cast<std::uint64_t>(g.code), 8);
        putLe(r, fieldStart(spec, "TOW:DZIAL"), g.department, 4);
        putLe(r, fieldStart(spec, "TOW:OPCJE"), g.options, 2);
        r[fieldStart(spec, "TOW:TYPPODS")] = static_cast<std::uint8_t>(g.vat);
        spec.records.push_back(r);
    }
    // 0x3FF8000000000000 is 1.5 in IEEE 754: checks the byte order independently of the host.
    putLe(spec.records[2], fieldStart(spec, "TOW:CENADET"), 0x3FF8000000000000ull, 8);

    TempDir dir;
    writeFile(dir / "t.dat", buildTable(spec));
    auto table = openTable(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    table->mapFieldNames();
    table->rewind();
    const FieldIndexes& f = table->fields();
    EXPECT_EQ(table->recordCount(), 3u);
    EXPECT_EQ(table->recordSize(), spec.computedRecordSize());

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        Bytes record;
        ASSERT_EQ(table->readRecord(record), 0);
        Bytes again;
        ASSERT_EQ(table->readRecord(again), 0) << "reading does not move on";
        EXPECT_EQ(record, again);
        const Good& g = goods[i];
        EXPECT_EQ(table->getDouble(f.CENADET, record), i == 2 ? 1.5 : g.price);
        EXPECT_EQ(table->getDouble(f.KODNR, record), g.code);
        EXPECT_EQ(table->getLowByte(f.DZIAL, record), g.department & 0xFF);
        EXPECT_EQ(table->getLowByte(f.OPCJE, record), g.options);
        EXPECT_EQ(table->getText(f.TYPPODS, record), std::string(1, g.vat));
        EXPECT_EQ(table->getText(f.NAZWAF, record).substr(0, std::string(g.name).size()), g.name);
        EXPECT_EQ(table->getText(f.NAZWAF, record).size(), 18u) << "trailing spaces stay";
        Bytes raw;
        ASSERT_TRUE(table->getField(raw, f.DZIAL, record));
        EXPECT_EQ(raw.size(), 4u);
        EXPECT_EQ(getLe(raw, 0, 4), g.department);
        EXPECT_EQ(table->nextRecord(), 0);
    }
    table->rewind();
    Bytes first;
    ASSERT_EQ(table->readRecord(first), 0);
    EXPECT_EQ(table->getDouble(f.CENADET, first), 3.5);
}

// The header may promise more records than the file holds; the reader must see where they end.
TEST(ProductTableRead, ReportsRecordsTheFileDoesNotHold) {
    TableSpec spec;
    spec.fields = {{"TOW:NAZWAF", kString, 18}, {"TOW:CENADET", kReal, 8}};
    spec.records = {spec.record('a'), spec.record('b'), spec.record('c')};
    spec.headerCount = 5;
    Bytes bytes = buildTable(spec);
    bytes.resize(bytes.size() + 10, 'd');  // a fourth record cut short
    TempDir dir;
    writeFile(dir / "t.dat", bytes);
    auto table = openTable(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    table->rewind();
    EXPECT_EQ(table->recordCount(), 5u);
    const int size = table->recordSize();
    const int expected[] = {0, 0, 0, 10 - size, -size};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        Bytes record(309, 0xFF);
        EXPECT_EQ(table->readRecord(record), expected[i]);
        ASSERT_EQ(record.size(), static_cast<std::size_t>(size));
        if (i == 3) {
            EXPECT_EQ(record[9], 'd');
            EXPECT_EQ(record[10], 0) << "what the file lacks reads as zero";
        }
        EXPECT_EQ(table->nextRecord(), 0);
    }
}

}  // namespace
}  // namespace lorvex
