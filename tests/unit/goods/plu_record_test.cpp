#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "goods/plu_goods.h"
#include "goods/wire_text.h"

namespace lorvex {
namespace {

PluRecord good(double code, std::string name, double price, char vat, int type, std::string flags,
               int department, int halo, double tandem) {
    PluRecord r;
    r.code = code;
    r.name = std::move(name);
    r.price = price;
    r.vatLetter = vat;
    r.typeDigit = type;
    r.flags = std::move(flags);
    r.department = department;
    r.halo = halo;
    r.tandemCode = tandem;
    return r;
}

const std::string kBlank18(18, ' ');

TEST(PluRecord, KeepsEveryFieldInItsColumns) {
    struct Case {
        const char* what;
        int action;
        PluRecord in;
        std::string record;
    };
    const Case cases[] = {
        {"no tandem: 18 blanks", 1, good(5, "Chleb", 3.5, 'A', 1, "00000", 3, 7, 0),
         "DI1" + std::string(17, ' ') + "5" + "Chleb" + std::string(13, ' ') + "       350" + "A1" +
             "00000" + "03" + "07" + kBlank18},
        {"erase, EAN-13 tandem", 0,
         good(5900000000001, "Mleko", 2.99, 'B', 2, "10000", 12, 0, 5900000000018),
         "DI0" + std::string(5, ' ') + "5900000000001" + "Mleko" + std::string(13, ' ') +
             "       299" + "B2" + "10000" + "12" + "00" + std::string(5, ' ') + "5900000000018"},
        {"fourth flag sends type and halo as 0", 1, good(8, "X", 1, 'C', 3, "00010", 1, 55, 0),
         "DI1" + std::string(17, ' ') + "8" + "X" + std::string(17, ' ') + "       100" + "C0" +
             "00010" + "01" + "00" + kBlank18},
        {"fourth flag lets a wide halo through as 0", 1,
         good(8, "X", 1, 'C', 3, "00010", 1, 300, 0),
         "DI1" + std::string(17, ' ') + "8" + "X" + std::string(17, ' ') + "       100" + "C0" +
             "00010" + "01" + "00" + kBlank18},
        {"long name and flags are cut, short flags right-aligned", 1,
         good(1, "Czekolada mleczna 100g", 0, 'A', 0, "1", 0, 0, -4),
         "DI1" + std::string(17, ' ') + "1" + "Czekolada mleczna " + "         0" + "A0" + "    1" +
             "00" + "00" + kBlank18},
        {"six flags cut to five", 1, good(1, "A", 0, 'A', 0, "000100", 0, 9, 0),
         "DI1" + std::string(17, ' ') + "1" + "A" + std::string(17, ' ') + "         0" + "A0" +
             "00010" + "00" + "00" + kBlank18},
        {"missing letter keeps its column", 1, good(1, "A", 0, '\0', 0, "00000", 0, 0, 0),
         "DI1" + std::string(17, ' ') + "1" + "A" + std::string(17, ' ') + "         0" + " 0" +
             "00000" + "00" + "00" + kBlank18},
    };
    for (const Case& c : cases) {
        const auto record = pluRecordText(c.action, c.in);
        ASSERT_TRUE(record.has_value()) << c.what;
        EXPECT_EQ(*record, c.record) << c.what;
        EXPECT_EQ(record->size(), 78u) << c.what;
    }
}

TEST(PluRecord, RefusesValuesThatDoNotFit) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        PluRecord in;
    };
    const Case cases[] = {
        {"code of 19 digits", good(1e18, "A", 1, 'A', 0, "00000", 1, 1, 0)},
        {"infinite code", good(inf, "A", 1, 'A', 0, "00000", 1, 1, 0)},
        {"not a number code", good(std::nan(""), "A", 1, 'A', 0, "00000", 1, 1, 0)},
        {"price of 11 digits", good(1, "A", 1e8, 'A', 0, "00000", 1, 1, 0)},
        {"department 100", good(1, "A", 1, 'A', 0, "00000", 100, 1, 0)},
        {"department -1", good(1, "A", 1, 'A', 0, "00000", -1, 1, 0)},
        {"halo 100", good(1, "A", 1, 'A', 0, "00000", 1, 100, 0)},
        {"type digit 10", good(1, "A", 1, 'A', 10, "00000", 1, 1, 0)},
        {"tandem of 19 digits", good(1, "A", 1, 'A', 0, "00000", 1, 1, 1e18)},
        {"infinite tandem", good(1, "A", 1, 'A', 0, "00000", 1, 1, inf)},
    };
    for (const Case& c : cases) EXPECT_FALSE(pluRecordText(1, c.in).has_value()) << c.what;
}

TEST(PluRequests, LoadRequestCarriesTheWholeFirstCode) {
    EXPECT_EQ(pluLoadRequest(5900000000001), "SI1000005900000000001000000000999999999");
    EXPECT_EQ(pluLoadRequest(2147483648.0), "SI1000000002147483648000000000999999999");
    EXPECT_EQ(pluLoadRequest(17), "SI1000000000000000017000000000999999999");
}

TEST(PluRequests, DumpRangesInOrder) {
    const std::string s14(14, ' '), s13(13, ' '), s10(10, ' '), s5(5, ' ');
    const std::string ean8 = "SI0" + s10 + "10000000" + s10 + "99999999";
    const std::string ean13 = "SI0" + s5 + "1000000000000" + s5 + "9999999999999";
    EXPECT_EQ(pluDumpRequests(false, false),
              (std::vector<std::string>{"SI0" + s14 + "0001" + s14 + "9999", ean8, ean13}));
    EXPECT_EQ(pluDumpRequests(true, false),
              (std::vector<std::string>{"SI0" + s13 + "00001" + s13 + "16000", ean8, ean13}));
    EXPECT_EQ(pluDumpRequests(false, true),
              (std::vector<std::string>{"SI0" + std::string(36, ' ')}));
    EXPECT_EQ(pluDumpRequests(true, true),
              (std::vector<std::string>{"SI0" + std::string(36, ' ')}));
    for (const std::string& r : pluDumpRequests(false, false)) EXPECT_EQ(r.size(), 39u) << r;
}

// A dump block as the register sends it: the load record's layout, closed by ETX.
std::string block(const std::string& codeText, const std::string& rest) {
    return "DI0" + codeText + rest + '\x03';
}

TEST(PluDumpLine, WritesTheGoodAndKeepsEveryDigitOfItsCode) {
    const std::string rest = std::string("Mas") + '\x88' + "o" + std::string(13, ' ') +
                             "       450" + "A3" + "00010" + "07" + "00" + std::string(18, ' ');
    struct Case {
        const char* what;
        std::string codeText;
        std::string line;
    };
    const Case cases[] = {
        {"left-aligned EAN-13 as received", "5900000000001     ",
         "PLU5900000000001,Mas\x92o             ,      4.50,A,3,00010,7,0,0000000000000\n"},
        {"right-aligned EAN-13 keeps its digits", "     5900000000001",
         "PLU5900000000001,Mas\x92o             ,      4.50,A,3,00010,7,0,0000000000000\n"},
        {"right-aligned short code", std::string(17, ' ') + "5",
         "PLU            5,Mas\x92o             ,      4.50,A,3,00010,7,0,0000000000000\n"},
        {"digits past the 13th are kept", "00000012345678    ",
         "PLU00000012345678,Mas\x92o             ,      4.50,A,3,00010,7,0,0000000000000\n"},
    };
    for (const Case& c : cases) {
        const DumpedPlu plu =
            pluFromAnswer(answerText(block(c.codeText, rest)), CharsetMode::Mazovia);
        EXPECT_EQ(plu.codeText, c.codeText) << c.what;
        EXPECT_EQ(pluLine(plu), c.line) << c.what;
    }
}

TEST(PluDumpLine, LoadsBackAsTheSameRecord) {
    const std::string sent = "DI1" + std::string(10, ' ') + "12345678" + "Sok pomara" + '\xe4' +
                             "czowy  " + "      1099" + "B2" + "10100" + "42" + "09" +
                             std::string(5, ' ') + "5900000000018";
    ASSERT_EQ(sent.size(), 78u);
    std::string answer = sent;
    answer[2] = '0';
    for (CharsetMode mode : {CharsetMode::Mazovia, CharsetMode::Latin}) {
        const DumpedPlu plu = pluFromAnswer(answerText(answer + '\x17'), mode);
        std::string line = pluLine(plu);
        ASSERT_EQ(line.back(), '\n');
        line.pop_back();
        const auto record = pluRecordText(1, pluFromLine(line, mode));
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(*record, sent);
    }
}

TEST(PluLoadLine, MissingFieldsReadAsEmpty) {
    const PluRecord r = pluFromLine("PLU  42,Bu\x92ka", CharsetMode::Mazovia);
    EXPECT_EQ(r.code, 42);
    EXPECT_EQ(r.name, "Bu\x88ka");  // towards the register in CP852
    EXPECT_EQ(r.price, 0);
    EXPECT_EQ(r.vatLetter, ' ');
    EXPECT_EQ(r.flags, "");
    EXPECT_EQ(r.tandemCode, 0);
    const auto record = pluRecordText(1, r);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->size(), 78u);
}

TEST(PluProductRecord, CarriesTheGoodForTheTable) {
    const std::string rest = "Ser" + std::string(15, ' ') + "      1250" + "C1" + "10101" + "04" +
                             "02" + std::string(5, ' ') + "5900000000018";
    const DumpedPlu plu = pluFromAnswer(block("     5900000000001", rest), CharsetMode::Mazovia);
    const ProductReportRecord r = pluProductRecord(plu);
    EXPECT_EQ(r.name, "Ser" + std::string(15, ' '));
    EXPECT_EQ(r.codeText, "5900000000001");
    EXPECT_DOUBLE_EQ(r.unitPrice, 12.5);
    EXPECT_EQ(r.quantity, 0);
    EXPECT_EQ(r.value, 5900000000018);
    EXPECT_EQ(r.department, 4);
    EXPECT_EQ(r.halo, 2);
    EXPECT_EQ(r.vatLetter, 'C');
    EXPECT_EQ(r.flagBits, 0b10101);

    const DumpedPlu left = pluFromAnswer(block("1234              ", rest), CharsetMode::Mazovia);
    EXPECT_EQ(pluProductRecord(left).codeText, "1234              ");
}

}  // namespace
}  // namespace lorvex
