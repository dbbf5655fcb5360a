#include "text/fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

using namespace std::string_view_literals;

namespace lorvex {
namespace {

TEST(FixedFields, NumbersInExactWidths) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(hundredthsField(0.29, 10, false), "        29");
    EXPECT_EQ(hundredthsField(-5, 5, true), "-0500");
    for (const double wide : {100000000.0, inf, -inf, std::nan("")}) {
        EXPECT_FALSE(hundredthsField(wide, 10, false)) << wide;
    }
    EXPECT_FALSE(hundredthsField(1000, 5, true));
    EXPECT_EQ(digitsField(7, 3), "007");
    EXPECT_FALSE(digitsField(1000, 3));
    EXPECT_FALSE(digitsField(-1, 3));
}

TEST(FixedFields, GoodsCodesKeepEveryDigit) {
    const std::pair<const char*, std::optional<long long>> cases[] = {
        {"  123456789012345678", 123456789012345678LL},  // beyond a double's exact digits
        {"000000000000000000000042", 42},
        {"12.6", 13},
        {"abc", 0},
        {"1234567890123456789", std::nullopt},
        {"1e19", std::nullopt},
        {"1e18", std::nullopt},  // one digit more than the field
        {"999999999999999872.0", 999999999999999872LL},
        {"inf", std::nullopt},
    };
    for (const auto& [text, code] : cases) EXPECT_EQ(readGoodsCode(text), code) << text;
    // A code field followed by more of the answer is read to its end only.
    EXPECT_EQ(readGoodsCode("123456789012345678E1"sv.substr(0, 18)), 123456789012345678LL);
    EXPECT_EQ(goodsCodeField(123456789012345678LL), "123456789012345678");
    EXPECT_FALSE(goodsCodeField(-123456789012345678LL));
}

TEST(LoadFields, ANumberFieldHoldsOnlyBlanksAroundASignedDecimal) {
    for (const char* number : {"", "   ", "12", "  12.50", "-0.00", "+5 ", "5.", ".5", "\t7"}) {
        EXPECT_TRUE(isNumberText(number)) << number;
    }
    const std::string_view texts[] = {"abc", "12a", "1.2.3", "1e5", "-",    ".",
                                      "1 2", "--1", "0x10",  "inf", "1\0"sv};
    for (const std::string_view text : texts) {
        EXPECT_FALSE(isNumberText(text)) << text;
    }
}

}  // namespace
}  // namespace lorvex
