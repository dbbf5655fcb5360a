#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "goods/plu_goods.h"

namespace lorvex {
namespace {

std::string s(std::size_t n) {
    return std::string(n, ' ');
}

TEST(PluRecord, KeepsEveryFieldInItsColumnsOrRefusesTheValues) {
    struct Case {
        PluRecord in;
        std::string record;  // empty: refused
    };
    // The goods loads pin the usual records and the values too wide for the department, price,
    // type, halo and tandem fields.
    const Case cases[] = {
        // The fourth flag sends the type digit and halo as 0, even a halo too wide to send.
        {{5900000000001, "Mleko", 2.99, 'B', 2, "00010", 12, 300, 5900000000018},
         "DI1" + s(5) + "5900000000001Mleko" + s(13) + "       299B000010" + "1200" + s(5) +
             "5900000000018"},
        {{1, "Czekolada mleczna 100g", 0, '\0', 0, "000001", 0, 0, -4},
         "DI1" + s(17) + "1Czekolada mleczna          0 000000" + "0000" + s(18)},
        {{1e18, "A", 1, 'A', 0, "00000", 1, 1, 0}, ""},
        {{NAN, "A", 1, 'A', 0, "00000", 1, 1, 0}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pluRecordText(1, c.in).value_or(""), c.record) << c.in.code << " " << c.in.price;
    }
}

// The register right-aligns a code, and the goods dumps pin those lines; a code of leading zeros
// keeps every digit, in the line and in the table.
TEST(PluDumpLine, KeepsEveryDigitOfTheCode) {
    const DumpedPlu plu = pluFromAnswer(
        "DI000000012345678" + s(4) + "Ser" + s(15) + "      1250C1101010402" + s(17) + "7",
        CharsetMode::Mazovia);
    EXPECT_EQ(pluLine(plu),
              "PLU00000012345678,Ser" + s(15) + ",     12.50,C,1,10101,4,2,0000000000007\n");
    EXPECT_EQ(pluProductRecord(plu).codeText, "00000012345678");
    EXPECT_EQ(pluProductRecord(plu).flagBits, 0b10101);
}

}  // namespace
}  // namespace lorvex
