#include <gtest/gtest.h>

#include <string>

#include "answer_builder.h"
#include "reports/plu_records.h"

namespace lorvex {
namespace {

using test::AnswerBuilder;

std::string blanks(std::size_t n) {
    return std::string(n, ' ');
}

TEST(PluSalesRequests, ThreeCodeRangesOrOneWithoutBounds) {
    const std::vector<std::string> plain = pluSalesRequests(0, false, false);
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(plain[0], "SU0" + blanks(14) + "0001" + blanks(14) + "9999");
    EXPECT_EQ(plain[1], "SU0" + blanks(10) + "10000000" + blanks(10) + "99999999");
    EXPECT_EQ(plain[2], "SU0" + blanks(5) + "1000000000000" + blanks(5) + "9999999999999");
    for (const std::string& request : plain) EXPECT_EQ(request.size(), 39u);

    const std::vector<std::string> large = pluSalesRequests(2, true, false);
    ASSERT_EQ(large.size(), 3u);
    EXPECT_EQ(large[0], "SU2" + blanks(13) + "00001" + blanks(13) + "16000");
    EXPECT_EQ(large[1], "SU2" + blanks(10) + "10000000" + blanks(10) + "99999999");

    for (const bool largeNumbers : {false, true}) {
        const std::vector<std::string> single = pluSalesRequests(0, largeNumbers, true);
        ASSERT_EQ(single.size(), 1u);
        EXPECT_EQ(single[0], "SU0" + blanks(36));
    }
}

TEST(PackagingRequest, BoundsOnlyWhenTheEanCheckIsSkipped) {
    EXPECT_EQ(packagingRequest(0, "9999", false, false), "Sd0" + blanks(36));
    EXPECT_EQ(packagingRequest(2, "99999", true, false), "Sd2" + blanks(36));
    EXPECT_EQ(packagingRequest(0, "9999", false, true),
              "Sd0" + blanks(14) + "0001" + blanks(14) + "9999");
    EXPECT_EQ(packagingRequest(2, "99999", true, true),
              "Sd2" + blanks(13) + "00001" + blanks(13) + "99999");
}

std::string salesAnswer(const std::string& code, const std::string& quantity) {
    return AnswerBuilder("DU")
        .at(2, 18, code)
        .text(20, 18, "MLEKO \xA5")  // ą in the register's code page
        .at(38, 20, "123456")
        .at(58, 20, quantity)
        .at(78, 10, "299")
        .str();
}

TEST(PluSalesRecord, LineCutsTheCodeToItsFirstThirteenCharacters) {
    const PluSalesRecord record =
        decodePluSales(salesAnswer("000005901234123457", "2500"), CharsetMode::Mazovia);
    EXPECT_EQ(record.codeText, "000005901234123457");
    EXPECT_DOUBLE_EQ(record.code, 5901234123457.0);
    EXPECT_DOUBLE_EQ(record.quantity, 2.5);
    EXPECT_EQ(pluSalesLine(record), "PLP0000059012341,MLEKO \x86" + blanks(11) + "," + blanks(13) +
                                        "1234.56," + blanks(15) + "2.990," + blanks(5) +
                                        "2.500, 2.99\n");

    const ProductReportRecord table = pluSalesTableRecord(record);
    EXPECT_EQ(table.codeText, "000005901234123457");
    EXPECT_EQ(table.name, "MLEKO \x86" + blanks(11));
    EXPECT_DOUBLE_EQ(table.unitPrice, 2.99);
    EXPECT_DOUBLE_EQ(table.quantity, 2.5);
    EXPECT_DOUBLE_EQ(table.value, 1234.56);
    EXPECT_EQ(table.department, 0);
}

TEST(PluSalesRecord, OnlyGoodsThatSoldAreKept) {
    struct Case {
        const char* quantity;
        bool kept;
    };
    const Case cases[] = {{"0", false}, {"-1000", false}, {"", false}, {"1", true}, {"1000", true}};
    for (const Case& c : cases) {
        EXPECT_EQ(isSold(decodePluSales(salesAnswer("12", c.quantity), CharsetMode::Mazovia)),
                  c.kept)
            << c.quantity;
    }
}

std::string packagingAnswer(const char* code, const char* issuedValue, const char* issued,
                            const char* returnedValue, const char* returned) {
    return AnswerBuilder("Dd")
        .at(2, 18, code)
        .text(20, 18, "BUTELKA")
        .at(38, 20, issuedValue)
        .at(58, 20, issued)
        .at(78, 20, returnedValue)
        .at(98, 20, returned)
        .str();
}

TEST(PackagingRecord, NetFiguresGoToTheTableAndGrossOnesToTheLine) {
    const PackagingRecord more = decodePackaging(
        packagingAnswer("000000000000001234", "1000", "4", "250", "1"), CharsetMode::Mazovia);
    EXPECT_EQ(more.codeText, "1234");
    EXPECT_EQ(packagingLine(more), "PLB" + blanks(9) + "1234,BUTELKA" + blanks(11) + "," +
                                       blanks(15) + "10.00," + blanks(19) + "4," + blanks(16) +
                                       "2.50," + blanks(19) + "1\n");
    const ProductReportRecord moreRow = packagingTableRecord(more);
    EXPECT_EQ(moreRow.codeText, "1234");
    EXPECT_DOUBLE_EQ(moreRow.quantity, 3.0);
    EXPECT_DOUBLE_EQ(moreRow.value, 7.5);
    EXPECT_DOUBLE_EQ(moreRow.unitPrice, 2.5);
    EXPECT_EQ(moreRow.department, 2);

    // More returned than issued: kept, net count -2, department 1, no unit price.
    const PackagingRecord fewer = decodePackaging(
        packagingAnswer("5901234123457", "300", "3", "500", "5"), CharsetMode::Mazovia);
    EXPECT_TRUE(hasMovement(fewer));
    EXPECT_EQ(fewer.codeText, "5901234123457");
    const ProductReportRecord fewerRow = packagingTableRecord(fewer);
    EXPECT_DOUBLE_EQ(fewerRow.quantity, -2.0);
    EXPECT_DOUBLE_EQ(fewerRow.value, -2.0);
    EXPECT_DOUBLE_EQ(fewerRow.unitPrice, 0.0);
    EXPECT_EQ(fewerRow.department, 1);

    // Issued and returned alike: net 0, department 1.
    const PackagingRecord even =
        decodePackaging(packagingAnswer("7", "100", "2", "100", "2"), CharsetMode::Mazovia);
    EXPECT_EQ(packagingTableRecord(even).department, 1);
    EXPECT_DOUBLE_EQ(packagingTableRecord(even).unitPrice, 0.0);
}

TEST(PackagingRecord, ItemsWithoutAWholeCountAreDropped) {
    struct Case {
        const char* issued;
        const char* returned;
        bool kept;
    };
    const Case cases[] = {{"0", "0", false}, {"0.5", "0.9", false},
                          {"1", "0", true},  {"0", "-1", true},
                          {"", "", false},   {"99999999999999999999", "0", true}};
    for (const Case& c : cases) {
        EXPECT_EQ(hasMovement(decodePackaging(packagingAnswer("7", "0", c.issued, "0", c.returned),
                                              CharsetMode::Mazovia)),
                  c.kept)
            << c.issued << " " << c.returned;
    }
}

}  // namespace
}  // namespace lorvex
