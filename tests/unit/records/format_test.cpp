#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "records/card_format.h"
#include "records/cashier_format.h"
#include "records/discount_format.h"
#include "records/fiscal_id_format.h"
#include "records/flag_format.h"
#include "records/halo_format.h"
#include "records/receipt_text.h"

namespace lorvex {
namespace {

const char kFill = static_cast<char>(0xFF);

TEST(ReceiptText, RegisterTextToLine) {
    const std::string fill(1, kFill);
    const std::pair<std::string, std::string> cases[] = {
        {"A\r\nB" + fill, "NAG,A,,B\n"},
        {fill + "A\nB\n", "NAG,\n"},  // nothing after the first fill counts
        // A last line running to the end of the text is kept, without the blanks behind it.
        {"A\nLAST", "NAG,A,LAST\n"},
        {"A\nB\n" + std::string(20, ' '), "NAG,A,B\n"},
        {"A  \nB", "NAG,A  ,B\n"},
    };
    for (const auto& [text, line] : cases) EXPECT_EQ(receiptLine(kHeader, text), line);
}

TEST(Records, ValuesThatDoNotFitGiveNoRecord) {
    const auto card = [](std::size_t field, int value) {
        DiscountCard changed;
        changed.numbers[field] = value;
        return cardRecord(changed).has_value();
    };
    const auto flags = [](const FlagsLayout& layout, std::size_t at, int value) {
        std::vector<int> values(layout.count, 0);
        values[at] = value;
        return flagsRecord(layout, values).has_value();
    };
    const std::pair<const char*, bool> built[] = {
        {"flag 256", flags(kFlags, 2, 256)},
        {"flag -1", flags(kFlags, 0, -1)},
        {"SOLVEK flag 1000", flags(kSolvekFlags, 8, 1000)},
        {"cashier 30", cashierRecord(30, "A", "1").has_value()},
        {"cashier -1", cashierRecord(-1, "A", "1").has_value()},
        {"rate 1000", discountsRecord(DiscountSettings{1000}).has_value()},
        {"amount 1e8", discountsRecord(DiscountSettings{0, 0, 0, 0, 0, 0, 0, 1e8}).has_value()},
        {"slot 0", directCodeRecord({0, 1}).has_value()},
        {"card value 1000", card(0, 1000)},
        {"card value -1", card(9, -1)},
        {"card field 12 of 10", card(11, 10)},
        {"card field 16 of 100", card(14, 100)},
    };
    for (const auto& [name, made] : built) EXPECT_FALSE(made) << name;
    // Texts are cut to their places instead.
    EXPECT_EQ(cashierRecord(29, "NAZWISKO_DLUGIE_PONAD", "123456"), "DDTNAZWISKO_DLUGIE_PO1234");
    EXPECT_EQ(cardFromLine("KRT1,0,0,0,0,0,0,0,0,0,0,0,0,ABCDEFGH")->card.text, "ABCDEF");
}

TEST(Answers, CutOrGarbledAnswersAreNotDecoded) {
    EXPECT_EQ(hexByte('1', 'C'), 28);
    EXPECT_EQ(hexByte('a', 'f'), 0xAF);  // the program's own records carry lower case
    for (const char bad : {'G', ' ', '!', '\0'}) EXPECT_EQ(hexByte('0', bad), -1) << bad;
    EXPECT_FALSE(flagsFromAnswer(kFlags, "DA0A0B0C0D0E0FZ0"));
    EXPECT_FALSE(flagsFromAnswer(kFlags, "DA0A0B0C0D0E0F1"));
    EXPECT_FALSE(flagsFromAnswer(kSolvekFlags, "Ds01020304"));
    EXPECT_FALSE(haloFromAnswer("DE" + std::string(149, '0')));
    EXPECT_FALSE(discountsFromAnswer("DG" + std::string(59, '0')));
    EXPECT_FALSE(directCodeFromAnswer("DJ09123"));
    EXPECT_FALSE(directCodeFromAnswer("DJ09" + std::string(14, ' ') + "1e30"));
    EXPECT_FALSE(vatRatesFromAnswer("DK" + std::string(23, '0')));
    EXPECT_FALSE(cardLine(0, "Dj0" + std::string(43, '0')));
    EXPECT_FALSE(linkedCodeLine("Dh" + std::string(35, '1')));
    // A cashier answer cut after the name still gives its line (the cashier jobs pin whole ones).
    EXPECT_EQ(cashierLine(1, "DD1AB", CharsetMode::Latin), "KAS01,AB                ,    \n");
}

}  // namespace
}  // namespace lorvex
