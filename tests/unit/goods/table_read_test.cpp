#include <gtest/gtest.h>

#include "goods/product_table.h"
#include "platform/console.h"
#include "table_builder.h"

namespace lorvex {
namespace {

using namespace tables;

TEST(ProductTableFields, FindsEachNameOnlyWhereASpaceFollowsIt) {
    TableSpec spec;
    spec.fields = {{"TOW:XKOD", kString, 13},
                   {"TOW:KOD", kString, 13},
                   {"TOW:NAZWAF", kString, 18},
                   {"TOW:NAZWA", kString, 30}};
    TempDir dir;
    writeFile(dir / "t.dat", buildTable(spec));
    auto table = openMapped(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->index(Field::KOD), 0) << "XKOD comes first and is followed by a space";
    EXPECT_EQ(table->index(Field::KODNR), -1) << "KOD is not KODNR";
    EXPECT_EQ(table->index(Field::NAZWAF), 2);
    EXPECT_EQ(table->index(Field::NAZWA), 3) << "NAZWAF is not NAZWA";
}

// Values laid down byte by byte, little-endian, as another program wrote them: the same numbers
// on any host. The header promises five records, the file holds three and a piece.
TEST(ProductTableRead, ReadsRecordsInOrderUpToWhereTheFileEnds) {
    TableSpec spec;
    spec.fields = goodsFields();
    const double codes[] = {5, 5901234123457.0, 0};
    for (int i = 0; i < 3; ++i) {
        Bytes r = spec.record(' ');
        putLe(r, spec.start("TOW:CENADET"), 0x3FF8000000000000ull + static_cast<unsigned>(i), 8);
        putLe(r, spec.start("TOW:KODNR"), std::bit_cast<std::uint64_t>(codes[i]), 8);
        putLe(r, spec.start("TOW:DZIAL"), 0x0107u + static_cast<unsigned>(i), 4);
        putLe(r, spec.start("TOW:OPCJE"), 5, 2);
        r[spec.start("TOW:NAZWAF")] = static_cast<std::uint8_t>('A' + i);
        spec.records.push_back(r);
    }
    spec.headerCount = 5;
    Bytes bytes = buildTable(spec);
    bytes.resize(bytes.size() + 10, 'd');
    TempDir dir;
    writeFile(dir / "t.dat", bytes);
    auto table = openMapped(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    table->rewind();
    const int size = spec.size();
    EXPECT_EQ(table->recordCount(), 5u);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        Bytes record(309, 0xFF);
        Bytes again;
        const int expected = i < 3 ? 0 : i == 3 ? 10 - size : -size;
        EXPECT_EQ(table->readRecord(record), expected);
        EXPECT_EQ(table->readRecord(again), expected) << "reading does not move on";
        ASSERT_EQ(record.size(), static_cast<std::size_t>(size));
        EXPECT_EQ(record, again);
        if (i < 3) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(table->getDouble(Field::CENADET, record)),
                      0x3FF8000000000000ull + static_cast<unsigned>(i));
            EXPECT_EQ(table->getDouble(Field::KODNR, record), codes[i]);
            EXPECT_EQ(table->getLowByte(Field::DZIAL, record), 7 + i);
            EXPECT_EQ(table->getLowByte(Field::OPCJE, record), 5);
            EXPECT_EQ(table->getText(Field::NAZWAF, record),
                      std::string(1, 'A' + i) + std::string(17, ' '));
        } else if (i == 3) {
            EXPECT_EQ(record[9], 'd');
            EXPECT_EQ(record[10], 0) << "what the file lacks reads as zero";
        }
        EXPECT_EQ(table->nextRecord(), 0);
    }
    table->rewind();
    Bytes first;
    ASSERT_EQ(table->readRecord(first), 0);
    EXPECT_EQ(table->getDouble(Field::CENADET, first), 1.5);
}

TEST(ProductTableRead, ATableWithoutFieldsReadsAndAppendsZeros) {
    TableSpec spec;
    spec.recordSize = 12;
    spec.records = {Bytes(12, 0x41)};
    TempDir dir;
    writeFile(dir / "t.dat", buildTable(spec));
    auto table = openMapped(dir / "t.dat");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->index(Field::KOD), -1);
    EXPECT_EQ(table->index(Field::SWW), -1);
    Bytes record;
    Bytes untouched{1, 2};
    ASSERT_EQ(table->readRecord(record), 0);
    EXPECT_EQ(table->getDouble(Field::CENADET, record), 0.0);
    EXPECT_EQ(table->getText(Field::NAZWAF, record), "");
    EXPECT_EQ(table->getLowByte(Field::DZIAL, record), 0);
    EXPECT_FALSE(table->getField(untouched, table->index(Field::DZIAL), record));
    EXPECT_EQ(untouched, (Bytes{1, 2}));

    ASSERT_TRUE(table->writeProductRecord({"X", "1", 1, 1, 1, 1, 1, 'A', 0, 1}));
    table.reset();
    const Bytes after = readFile(dir / "t.dat");
    ASSERT_EQ(after.size(), 85u + 24u);
    EXPECT_EQ(Bytes(after.begin() + 97, after.end()), Bytes(12, 0));
    EXPECT_EQ(getLe(after, 5, 4), 2u);
}

}  // namespace
}  // namespace lorvex
