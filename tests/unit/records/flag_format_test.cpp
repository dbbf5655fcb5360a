#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/flag_format.h"

namespace lorvex {
namespace {

TEST(FlagFormat, HexByteReadsBothCasesAndRejectsOthers) {
    EXPECT_EQ(hexByte('0', '0'), 0);
    EXPECT_EQ(hexByte('F', 'F'), 255);
    EXPECT_EQ(hexByte('1', 'C'), 28);
    EXPECT_EQ(hexByte('a', 'b'), 0xAB);
    for (const char bad : {'G', ' ', '!', 'g', '\0'}) {
        EXPECT_EQ(hexByte(bad, '0'), -1) << bad;
        EXPECT_EQ(hexByte('0', bad), -1) << bad;
    }
}

TEST(FlagFormat, RecordsOfBothLayouts) {
    EXPECT_EQ(flagsRecord(kFlags, std::vector<int>{1, 0, 12, 255, 16, 0, 9}), "DA01000cff100009");
    EXPECT_EQ(flagsRecord(kSolvekFlags, std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}),
              "Ds01020304" + std::string(12, '0') + "0506070809" + std::string(10, '0'));
    // A value that would print more than two digits would shift every later flag.
    EXPECT_FALSE(flagsRecord(kFlags, std::vector<int>{1, 0, 256, 0, 0, 0, 0}));
    EXPECT_FALSE(flagsRecord(kFlags, std::vector<int>{-1, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(flagsRecord(kSolvekFlags, std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1000}));
    EXPECT_FALSE(flagsRecord(kFlags, std::vector<int>{1, 2}));
}

TEST(FlagFormat, AnswersToLines) {
    const auto seven = flagsFromAnswer(kFlags, "DA0A0B0C0D0E0F10");
    ASSERT_TRUE(seven);
    EXPECT_EQ(flagsLine(kFlags, *seven), "FLG,10,11,12,13,14,15,16\n");
    const auto nine = flagsFromAnswer(
        kSolvekFlags, "Ds01020304" + std::string(12, 'x') + "05060708FF" + std::string(10, '0'));
    ASSERT_TRUE(nine);
    EXPECT_EQ(flagsLine(kSolvekFlags, *nine), "FLS, 1, 2, 3, 4, 5, 6, 7, 8,255\n");
    // A cut or garbled answer is not turned into values.
    EXPECT_FALSE(flagsFromAnswer(kFlags, "DA0A0B0C0D0E0F1"));
    EXPECT_FALSE(flagsFromAnswer(kFlags, "DA0A0B0C0D0E0FZ0"));
    EXPECT_FALSE(flagsFromAnswer(kSolvekFlags, "Ds01020304"));
}

TEST(FlagFormat, LineFieldsAndRoundTrip) {
    EXPECT_EQ(flagsFromLine(kFlags, "FLG,1,2,3"), (std::vector<int>{1, 2, 3, 0, 0, 0, 0}));
    EXPECT_EQ(flagsFromLine(kSolvekFlags, "FLS, 1, 2, 3, 4, 5, 6, 7, 8, 9"),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (const FlagsLayout* layout : {&kFlags, &kSolvekFlags}) {
        std::string record = layout == &kFlags ? "DA00017f80fe09ff"
                                               : "Ds00017f80" + std::string(12, '0') +
                                                     "fe09ff1020" + std::string(10, '0');
        std::string line = flagsLine(*layout, *flagsFromAnswer(*layout, record));
        line.pop_back();
        EXPECT_EQ(flagsRecord(*layout, flagsFromLine(*layout, line)), record);
    }
}

}  // namespace
}  // namespace lorvex
