#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "records/discount_format.h"
#include "records/fiscal_id_format.h"
#include "records/halo_format.h"
#include "records/record_text.h"

namespace lorvex {
namespace {

TEST(AmountFields, HundredthsInExactWidth) {
    struct Case {
        double value;
        int width;
        bool zeroFilled;
        const char* field;  // null: does not fit
    };
    const Case cases[] = {
        {12.5, 10, false, "      1250"},
        {0.004, 10, false, "         0"},
        {0.29, 10, false, "        29"},
        {12.5, 5, true, "01250"},
        {-5, 5, true, "-0500"},
        {3.99, 10, true, "0000000399"},
        {99999999.99, 10, false, "9999999999"},
        {100000000, 10, false, nullptr},
        {1000, 5, true, nullptr},
        {std::numeric_limits<double>::infinity(), 10, false, nullptr},
        {std::nan(""), 10, false, nullptr},
    };
    for (const Case& c : cases) {
        const auto field = hundredthsField(c.value, c.width, c.zeroFilled);
        if (c.field == nullptr) {
            EXPECT_FALSE(field) << c.value;
        } else {
            EXPECT_EQ(field, c.field) << c.value;
        }
    }
}

TEST(HaloFormat, LoadRecordAndDumpLine) {
    HaloTable amounts{};
    amounts[0] = 12.5;
    amounts[1] = 0.004;
    amounts[14] = 7;
    const auto record = haloRecord(amounts);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->size(), 152u);
    EXPECT_EQ(record->substr(0, 22), "DE      1250         0");
    EXPECT_EQ(record->substr(142), "       700");

    const auto read = haloFromAnswer(*record);
    ASSERT_TRUE(read);
    EXPECT_EQ(haloLine(*read).substr(0, 26), "HAL,     12.50,      0.00,");
    // The dumped line loads back to the same record.
    std::string line = haloLine(*read);
    line.pop_back();
    EXPECT_EQ(haloRecord(haloFromLine(line)), record);

    // A line with three amounts sends those and twelve zeros.
    const HaloTable three = haloFromLine("HAL,1,2,3");
    EXPECT_EQ(three[2], 3);
    EXPECT_EQ(three[3], 0);
    amounts[5] = 1e9;
    EXPECT_FALSE(haloRecord(amounts));
    EXPECT_FALSE(haloFromAnswer(record->substr(0, 151)));
}

TEST(DiscountFormat, LoadRecordAndDumpLine) {
    const DiscountSettings values = {12.5, -5, 0, 99.99, 3.99, 0, 1234.5, 0.01};
    const auto record = discountsRecord(values);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record,
              "DG01250-05000000009999"
              "0000000399"
              "0000000000"
              "0000123450"
              "0000000001");
    const auto read = discountsFromAnswer(*record);
    ASSERT_TRUE(read);
    std::string line = discountsLine(*read);
    EXPECT_EQ(line, "RAB,12.50,-5.00, 0.00,99.99,      3.99,      0.00,   1234.50,      0.01\n");
    line.pop_back();
    EXPECT_EQ(discountsRecord(discountsFromLine(line)), record);

    EXPECT_FALSE(discountsRecord({1000, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(discountsFromAnswer(record->substr(0, 61)));
    EXPECT_EQ(discountsFromLine("RAB,1")[1], 0);
}

TEST(FiscalIdFormat, VatUniNipLines) {
    const std::string answer =
        "DK"
        "2200"
        "0700"
        "0300"
        "0000"
        "0000"
        "0000";
    EXPECT_FALSE(vatRatesFromAnswer(answer.substr(0, 25)));  // one character short of six rates
    const auto full = vatRatesFromAnswer(answer);
    ASSERT_TRUE(full);
    EXPECT_EQ(vatLine(*full), "VAT,22.00, 7.00, 3.00, 0.00, 0.00, 0.00\n");
    EXPECT_EQ(uniLine("DMABC1234567"), "UNI,ABC1234567\n");
    EXPECT_EQ(uniLine("DM12345"), "UNI,     12345\n");
    // All thirteen characters of the NIP, dashes included.
    EXPECT_EQ(nipLine("DN123-456-78-90"), "NIP,123-456-78-90\n");
}

}  // namespace
}  // namespace lorvex
