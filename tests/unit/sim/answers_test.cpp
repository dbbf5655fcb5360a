// What the register answers to each dump request, at the byte positions the PC decodes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/cp852.h"
#include "sim/register_model.h"
#include "sim/status_codes.h"
#include "sim_rig.h"

namespace lorvex::sim {
namespace {

std::vector<std::string> answer(const RegisterModel& model, const std::string& text) {
    Request parsed;
    const int code = parseRequest(text, parsed);
    const char letter = parsed.letter != 0 ? parsed.letter : text[1];
    if (code != 0) return {errorAnswer(letter, code)};
    const DumpAnswer dumped = model.dump(parsed);
    if (dumped.error != 0) return {errorAnswer(parsed.letter, dumped.error)};
    return dumped.blocks;
}

std::string one(const RegisterModel& model, const std::string& text) {
    const std::vector<std::string> blocks = answer(model, text);
    return blocks.size() == 1 ? blocks[0] : "<" + std::to_string(blocks.size()) + " blocks>";
}

// A request, the answer's length, and a field expected at a position of it.
struct Case {
    std::string request;
    std::size_t length;
    std::size_t position;
    std::string field;
};

TEST(RegisterAnswers, EachSettingLetterAnswersItsLayout) {
    const RegisterModel model(demoMemory());
    const std::vector<Case> cases = {
        {request('A', 0), 16, 2, "01000310000209"},
        {request('s', 0), 42, 2, "01000310" + std::string(12, '0') + "0002092000"},
        {request('B', 0), 219, 2, cp852FromUtf8("SKLEP SPOŻYWCZY \"POD LIPĄ\"\nul. Długa 12\n")},
        {request('C', 0), 202, 2, cp852FromUtf8("DZIĘKUJEMY ZA ZAKUPY\n")},
        {request('D', 0, 1, 1), 25, 2,
         "1" + cp852FromUtf8("Józef Wiśniewski") + "\xFF\xFF" + "2468"},
        {request('D', 0, 12, 12), 25, 2, "C" + std::string(18, '\xFF') + "0000"},
        {request('E', 0), 152, 2, "      5000     10000"},
        {request('G', 0), 62, 2,
         "00500010000025001500"
         "0000000100"
         "0000000500"},
        {request('J', 0, 2, 2), 22, 2, "02" + std::string(17, ' ') + "2"},
        {request('J', 0, 42, 42), 22, 2, "42" + std::string(18, ' ')},
        {request('K', 0), 26, 2, "230008000500000000000000"},
        {request('M', 0), 12, 2, "ABC1234567"},
        {request('N', 0), 15, 2, "526-000-12-46"},
        {request('H', 0, 32, 32), 40, 2,
         "132" + cp852FromUtf8("Opakowania zwrotne") +
             "        50D0100"
             "04"},
    };
    for (const Case& c : cases) {
        const std::string text = one(model, c.request);
        SCOPED_TRACE(c.request);
        ASSERT_EQ(text.size(), c.length) << utf8FromCp852(text);
        EXPECT_EQ(text.substr(0, 2), std::string("D") + c.request[1]);
        EXPECT_EQ(text.substr(c.position, c.field.size()), c.field) << utf8FromCp852(text);
    }
}

TEST(RegisterAnswers, EachReportLetterAnswersItsLayout) {
    const RegisterModel model(demoMemory());
    const std::vector<Case> cases = {
        {request('R', 0), 163, 3, "             1254321"},
        {request('T', 0, 2, 2), 47, 2, "02" + cp852FromUtf8("Nabiał") + std::string(12, ' ')},
        {request('T', 0, 1, 1), 47, 42, "00500"},
        {request('l', 0, 12, 12), 45, 34, "-       450"},
        {request('n', 0, 0, 0), 304, 2, "0+              150000"},
        {request('n', 0, 7, 7), 304, 3, " "},
        {request('w', 0), 161, 3, "250611        128"},
        {request('o', 0), 303, 2, "+              523499"},
        {request('k', 0), 24, 3, std::string(16, ' ') + "57045"},
        {request('p', 0), 3, 2, "0"},
    };
    for (const Case& c : cases) {
        const std::string text = one(model, c.request);
        SCOPED_TRACE(c.request);
        ASSERT_EQ(text.size(), c.length) << text;
        EXPECT_EQ(text.substr(c.position, c.field.size()), c.field) << utf8FromCp852(text);
    }
    // The daily report's counts follow its eight money fields; the cashier's last money fields
    // reach position 303, which the whole answer carries.
    const std::string daily = one(model, request('w', 0));
    EXPECT_EQ(daily.substr(110, 11), "  212    3 ");
    EXPECT_EQ(one(model, request('n', 0, 0, 0)).substr(284, 20), std::string(17, ' ') + "500");
}

TEST(RegisterAnswers, GoodsComeOneBlockPerGoodInCodeOrderWithinTheRange) {
    RegisterMemory memory = demoMemory();
    const RegisterModel model(memory);
    const std::vector<std::string> shortOnes = answer(model, rangeRequest('I', 0, "0001", "9999"));
    const std::vector<std::string> large = answer(model, rangeRequest('I', 0, "00001", "16000"));
    const std::vector<std::string> ean8 =
        answer(model, rangeRequest('I', 0, "10000000", "99999999"));
    const std::vector<std::string> ean13 =
        answer(model, rangeRequest('I', 0, "1000000000000", "9999999999999"));
    const std::vector<std::string> all = answer(model, rangeRequest('I', 0, " ", " "));

    EXPECT_EQ(large.size(), shortOnes.size() + 2);  // the two goods above 9999
    EXPECT_EQ(ean8.size(), 40u);
    EXPECT_EQ(ean13.size(), 160u);
    EXPECT_EQ(all.size(), memory.plus.size());
    EXPECT_EQ(all.size(), large.size() + ean8.size() + ean13.size());
    EXPECT_GE(all.size(), 250u);

    // The code stands left-aligned, so its first 13 characters hold the whole EAN-13 code.
    for (const std::string& block : ean13) {
        ASSERT_EQ(block.size(), 78u);
        EXPECT_EQ(block.substr(3, 13).find(' '), std::string::npos) << block;
    }
    EXPECT_EQ(shortOnes[0].substr(0, 21), "DI11" + std::string(17, ' '));
    EXPECT_LT(shortOnes[0].substr(3, 18), shortOnes[1].substr(3, 18));
    // A beer in a returnable bottle carries the bottle (77) as its tandem; good 1 has none.
    std::uint64_t beer = 0;
    for (const auto& [code, plu] : memory.plus) {
        if (plu.tandem != 0 && beer == 0) beer = code;
    }
    ASSERT_GT(beer, 77u);
    const std::string code = std::to_string(beer);
    EXPECT_EQ(one(model, rangeRequest('I', 0, code, code)).substr(60), std::string(16, ' ') + "77");
    EXPECT_EQ(one(model, rangeRequest('I', 0, "1", "1")).substr(60), std::string(18, ' '));
    EXPECT_TRUE(answer(model, rangeRequest('I', 0, "9000", "9999")).empty());
}

TEST(RegisterAnswers, TablesAndSalesComeAsBlocks) {
    const RegisterModel model(demoMemory());
    const std::vector<std::string> linked = answer(model, rangeRequest('h', 0, " ", " "));
    ASSERT_EQ(linked.size(), 3u);
    EXPECT_EQ(linked[0], "Dh" + std::string(16, ' ') + "42" + std::string(16, ' ') + "77");

    const std::vector<std::string> cards = answer(model, request('j', 0, 0, 0));
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0], "Dj0005006007008009010011012013014101STALY 05130");
    EXPECT_EQ(answer(model, request('j', 0, 2, 2)).size(), 1u);

    const std::vector<std::string> sales = answer(model, rangeRequest('U', 0, "0001", "9999"));
    ASSERT_FALSE(sales.empty());
    for (const std::string& block : sales) ASSERT_EQ(block.size(), 88u) << block;
    // 0.450 kg of gouda at 29.90: value, quantity in thousandths, unit price.
    const std::vector<std::string> gouda = answer(model, rangeRequest('U', 0, "8", "8"));
    ASSERT_EQ(gouda.size(), 1u);
    EXPECT_EQ(gouda[0].substr(2, 18), "8" + std::string(17, ' '));
    EXPECT_EQ(gouda[0].substr(38), "                1345                 450      2990");

    const std::vector<std::string> packaging = answer(model, rangeRequest('d', 0, " ", " "));
    ASSERT_EQ(packaging.size(), 2u);
    EXPECT_EQ(packaging[0].size(), 118u);
    EXPECT_EQ(packaging[0].substr(38, 20), std::string(16, ' ') + "2500");
}

TEST(RegisterAnswers, BadRequestsGetErrorAnswersWithHexStatus) {
    const RegisterModel model(demoMemory());
    struct Case {
        std::string request;
        std::string answer;
    };
    const std::vector<Case> cases = {
        {request('H', 0, 43, 43), "EH01D"},  // department 43: index
        {request('H', 0, 0, 0), "EH01D"},
        {request('D', 0, 30, 30), "ED01D"},  // cashier 30
        {request('J', 0, 0, 0), "EJ01D"},    // slot 0
        {request('l', 0, 24, 24), "El01D"},  // hour 24
        {request('Q', 0), "EQ001"},          // no such letter
        {request('H', 2, 1, 1), "EH002"},    // departments cannot be zeroed
        {request('p', 2), "Ep002"},
        {"SH0", "EH002"},  // too short to be a request
        {"SH0" + std::string(17, '0') + "x" + std::string(18, '0'), "EH003"},
    };
    for (const Case& c : cases) EXPECT_EQ(one(model, c.request), c.answer) << c.request;
}

TEST(RegisterAnswers, LoadStatusFramesCarryDecimalDigits) {
    EXPECT_EQ(loadStatusAnswer('H', 0), "DH100");
    EXPECT_EQ(loadStatusAnswer('I', 20), "EI120");
    EXPECT_EQ(loadStatusAnswer('A', 28), "EA128");
    EXPECT_EQ(errorAnswer('H', 28), "EH01C");
}

}  // namespace
}  // namespace lorvex::sim
