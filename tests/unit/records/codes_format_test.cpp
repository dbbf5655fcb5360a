#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "records/card_format.h"
#include "records/discount_format.h"
#include "records/record_text.h"

namespace lorvex {
namespace {

TEST(GoodsCodes, ReadExactlyUpToEighteenDigits) {
    struct Case {
        const char* text;
        std::optional<long long> code;
    };
    const Case cases[] = {
        {"5900000000001", 5900000000001LL},
        {"  123456789012345678", 123456789012345678LL},  // beyond a double's exact digits
        {"000000000000000000000042", 42},                // leading zeros are not digits of the code
        {"-7", -7},
        {"12.6", 13},
        {"1e3", 1000},
        {"", 0},
        {"abc", 0},
        {"1234567890123456789", std::nullopt},
        {"1e19", std::nullopt},
        {"inf", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(readGoodsCode(c.text), c.code) << c.text;
    EXPECT_EQ(goodsCodeField(123456789012345678LL), "123456789012345678");
    EXPECT_EQ(goodsCodeField(12), "                12");
    EXPECT_FALSE(goodsCodeField(-123456789012345678LL));
}

TEST(DirectCodes, RecordsAndLines) {
    EXPECT_EQ(directCodeRecord({3, 0}), "DJ03" + std::string(18, ' '));
    EXPECT_EQ(directCodeRecord({3, 5900000000001LL}), "DJ03     5900000000001");
    EXPECT_EQ(directCodeRecord({42, 1}), "DJ42                 1");
    for (const int slot : {0, 43, -1, 100}) EXPECT_FALSE(directCodeRecord({slot, 1})) << slot;

    const auto entry = directCodeFromLine("BEZ 3,0");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->slot, 3);
    EXPECT_EQ(entry->code, 0);
    EXPECT_FALSE(directCodeFromLine("BEZ 3,12345678901234567890"));

    const auto read = directCodeFromAnswer("DJ07123456789012345678");
    ASSERT_TRUE(read);
    std::string line = directCodeLine(*read);
    EXPECT_EQ(line, "BEZ 7,123456789012345678\n");
    line.pop_back();
    EXPECT_EQ(directCodeRecord(*directCodeFromLine(line)), "DJ07123456789012345678");
    // An empty slot dumps as code 0 and loads back as the clearing record.
    const auto empty = directCodeFromAnswer("DJ09" + std::string(18, ' '));
    ASSERT_TRUE(empty);
    EXPECT_EQ(directCodeLine(*empty), "BEZ 9,                 0\n");
    EXPECT_FALSE(directCodeFromAnswer("DJ09123"));
}

TEST(LinkedCodes, RecordsAndLines) {
    const auto codes = linkedCodeFromLine("KDW5900000000001,12");
    ASSERT_TRUE(codes);
    EXPECT_EQ(linkedCodeRecord(*codes), "Dh     5900000000001" + std::string(16, ' ') + "12");
    EXPECT_EQ(linkedCodeTableRequest(), "Sh0" + std::string(36, ' '));

    const std::string answer = "Dh     5900000000001                12";
    std::string line = *linkedCodeLine(answer);
    EXPECT_EQ(line, "KDW     5900000000001,                12\n");
    line.pop_back();
    EXPECT_EQ(linkedCodeRecord(*linkedCodeFromLine(line)), answer);
    EXPECT_FALSE(linkedCodeLine(answer.substr(0, 37)));
    EXPECT_FALSE(linkedCodeFromLine("KDW1,1e30"));
}

TEST(DiscountCards, RecordsAndLines) {
    const CardLine parsed = cardFromLine("KRT    7,5,12,0,0,0,0,0,0,0,999,99,9,ABCDEFGH,1,2,3");
    EXPECT_EQ(parsed.cardNumber, 7);
    EXPECT_EQ(parsed.card.text, "ABCDEF");
    const auto record = cardRecord(parsed.card);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, "Dj0005012000000000000000000000999999ABCDEF01203");
    EXPECT_EQ(record->size(), 47u);

    DiscountCard shortText = parsed.card;
    shortText.text = "AB";
    EXPECT_EQ(cardRecord(shortText)->substr(36, 6), "AB    ");
    for (const std::size_t field : {0u, 10u, 11u, 14u}) {
        DiscountCard wide = parsed.card;
        wide.numbers[field] = field < 10 ? 1000 : 100;
        EXPECT_FALSE(cardRecord(wide)) << field;
        wide.numbers[field] = -1;
        EXPECT_FALSE(cardRecord(wide)) << field;
    }

    // The dumped line carries the three-digit values as received and numbers every card 0.
    std::string line = *cardLine(0, *record);
    EXPECT_EQ(line, "KRT    0,005,012,000,000,000,000,000,000,000,999,99,9,ABCDEF,1,2,3\n");
    line.pop_back();
    EXPECT_EQ(cardRecord(cardFromLine(line).card), record);
    EXPECT_FALSE(cardLine(0, record->substr(0, 46)));
}

}  // namespace
}  // namespace lorvex
