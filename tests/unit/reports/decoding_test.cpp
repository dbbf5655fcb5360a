// Answer texts to exchange lines and table records. The one-answer lines that need no more than
// positions and scaling are checked whole against the simulated register in the job tests.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "reports/plu_records.h"
#include "reports/totals_lines.h"

namespace lorvex {
namespace {

struct Field {
    std::size_t pos;
    std::size_t width;
    std::string value;  // right-aligned in its width
};

std::string answer(std::string text, std::initializer_list<Field> fields) {
    for (const Field& f : fields) {
        if (text.size() < f.pos + f.width) text.resize(f.pos + f.width, ' ');
        text.replace(f.pos, f.width, std::string(f.width - f.value.size(), ' ') + f.value);
    }
    return text;
}

// The register marks an hourly amount "+"; the report jobs pin a negative one.
TEST(TotalsLines, HourlyAmountIsNegativeUnlessMarkedPlus) {
    for (const char* sign : {"+", "-", " "}) {
        const std::string text = answer("Dl05", {{4, 10, "1050"},
                                                 {14, 10, "7"},
                                                 {24, 10, "0000000012"},
                                                 {34, 1, sign},
                                                 {35, 10, "250"}});
        EXPECT_EQ(hourlyReportLine(text, 5),
                  std::string("PLH05,10.50,7,12,") + (*sign == '+' ? "" : "-") + "2.50\n");
    }
}

// An answer that ends inside the counts: what it does not reach is 0. The whole line and the
// cashiers passed over are pinned by the P job.
TEST(TotalsLines, CashierAnswerCutInsideTheCounts) {
    const std::string text = answer("Dn0+", {{4, 20, "100000"}, {224, 10, "3"}, {234, 10, "4"}});
    EXPECT_EQ(cashierReportLine(text, 3),
              "PLK03,1000.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,"
              "0.00,0.00,3,4,0,0,0.00,0.00\n");
}

std::string sale(const std::string& quantity) {
    return answer("DU000005901234123457MLEKO \xA5" + std::string(11, ' '),
                  {{38, 20, "123456"}, {58, 20, quantity}, {78, 10, "299"}});
}

// The lines and table records themselves are pinned by the M and N jobs; these are the edges.
TEST(PluSalesRecords, LineKeepsTheFirstThirteenCodeCharactersAndOnlySoldGoods) {
    const PluSalesRecord record = decodePluSales(sale("2500"), CharsetMode::Mazovia);
    EXPECT_EQ(pluSalesLine(record).substr(0, 17), "PLP0000059012341,");
    EXPECT_EQ(pluSalesTableRecord(record).codeText, "000005901234123457");
    for (const char* quantity : {"0", "-1000", "", "1"}) {
        EXPECT_EQ(isSold(decodePluSales(sale(quantity), CharsetMode::Mazovia)),
                  std::string(quantity) == "1")
            << quantity;
    }
}

PackagingRecord packaging(const char* issuedValue, const char* issued, const char* returnedValue,
                          const char* returned) {
    return decodePackaging(answer("Dd", {{2, 18, "000000000000001234"},
                                         {38, 20, issuedValue},
                                         {58, 20, issued},
                                         {78, 20, returnedValue},
                                         {98, 20, returned},
                                         {118, 1, "7"}}),  // in no field
                           CharsetMode::Mazovia);
}

TEST(PackagingRecords, NetFiguresForTheTable) {
    const ProductReportRecord row = packagingTableRecord(packaging("1000", "4", "250", "1"));
    EXPECT_DOUBLE_EQ(row.value, 7.5);
    EXPECT_DOUBLE_EQ(row.unitPrice, 2.5);
    EXPECT_DOUBLE_EQ(packagingTableRecord(packaging("300", "3", "500", "5")).unitPrice, 0.0);
    // Kept only with a whole item issued or returned; a huge count must not overflow the test.
    EXPECT_FALSE(hasMovement(packaging("0", "0.5", "0", "0.9")));
    EXPECT_TRUE(hasMovement(packaging("0", "0", "0", "-1")));
    EXPECT_TRUE(hasMovement(packaging("0", "99999999999999999999", "0", "0")));
}

}  // namespace
}  // namespace lorvex
