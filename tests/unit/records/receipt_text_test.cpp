#include <gtest/gtest.h>

#include <string>

#include "records/receipt_text.h"

namespace lorvex {
namespace {

const char kFill = static_cast<char>(0xFF);

std::string filled(std::string text, std::size_t width) {
    text.resize(width, kFill);
    return text;
}

TEST(ReceiptText, LoadLineBecomesFilledRecordOfFullWidth) {
    struct Case {
        const ReceiptKind& kind;
        std::string line;
        std::string record;
    };
    const Case cases[] = {
        {kHeader, "NAG,SKLEP,ul. Polna 1,Dziekujemy",
         "DB" + filled("SKLEP\nul. Polna 1\nDziekujemy", 217)},
        {kFooter, "STP,A,B", "DC" + filled("A\nB", 200)},
        // An empty line loads a text that is all fill.
        {kHeader, "NAG,", "DB" + filled("", 217)},
        // Empty pieces between commas stay as empty text lines.
        {kFooter, "STP,,X,", "DC" + filled("\nX\n", 200)},
    };
    for (const Case& c : cases) {
        const std::string record = receiptRecord(c.kind, receiptTextFromLine(c.line));
        EXPECT_EQ(record, c.record) << c.line;
        EXPECT_EQ(record.size(), 2 + c.kind.width);
    }
}

TEST(ReceiptText, TextLongerThanTheRegisterWidthIsCut) {
    const std::string record = receiptRecord(kFooter, std::string(250, 'x'));
    EXPECT_EQ(record, "DC" + std::string(200, 'x'));
}

TEST(ReceiptText, DumpedTextBecomesOneLine) {
    struct Case {
        std::string text;
        std::string line;
    };
    const Case cases[] = {
        {filled("A\nBB\nCCC", 217), "NAG,A,BB,CCC\n"},
        {"A\r\nB" + std::string(1, kFill), "NAG,A,,B\n"},
        // Nothing after the fill counts, even text that looks like more lines.
        {"A" + std::string(1, kFill) + "junk\nmore\n", "NAG,A\n"},
        {filled("", 217), "NAG,\n"},  // the fill ends an empty line
        // A last line that runs to the end of the text is kept, without trailing blanks.
        {"A\nLAST", "NAG,A,LAST\n"},
        {"A\nB\n" + std::string(20, ' '), "NAG,A,B\n"},
        {"A  \nB", "NAG,A  ,B\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(receiptLine(kHeader, c.text), c.line);
    EXPECT_EQ(receiptLine(kFooter, filled("X", 200)), "STP,X\n");
}

TEST(ReceiptText, DumpThenLoadGivesTheSameRecord) {
    const std::string stored = filled("Sklep \"Pod Lipa\"\n\nNIP 123\r\nZapraszamy", 217);
    const std::string line = receiptLine(kHeader, stored);
    ASSERT_EQ(line.back(), '\n');
    const std::string reloaded =
        receiptRecord(kHeader, receiptTextFromLine(line.substr(0, line.size() - 1)));
    // The CR of a CR LF pair comes back as a line feed, the register's other line break.
    std::string expected = stored;
    expected.replace(expected.find("\r\n"), 2, "\n\n");
    EXPECT_EQ(reloaded, "DB" + expected);
}

}  // namespace
}  // namespace lorvex
