#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "record_run.h"
#include "records/cards.h"
#include "records/cashiers.h"
#include "records/discounts.h"
#include "records/fiscal_ids.h"
#include "records/flags.h"
#include "records/halo.h"
#include "records/header_footer.h"

namespace lorvex {
namespace {

using testing::RecordRun;
using testing::Reply;

const std::string kZeros(18, '0');

struct DumpOperation {
    const char* name;
    std::function<StatusCode(lorvex::Run&)> call;
    std::string request;
    bool checksDataLetter;  // an answer other than 'D...' is passed over
    bool fixedLayout;       // a cut answer cannot be decoded
};

std::vector<DumpOperation> dumpOperations() {
    return {
        {"header",
         [](lorvex::Run& r) {
             std::string t;
             return transferHeader(r, 0, t);
         },
         "SB0" + kZeros + kZeros, false, false},
        {"footer",
         [](lorvex::Run& r) {
             std::string t;
             return transferFooter(r, 0, t);
         },
         "SC0" + kZeros + kZeros, false, false},
        {"cashier",
         [](lorvex::Run& r) {
             std::string n, c;
             return transferCashier(r, 0, 5, n, c);
         },
         "SD0" + kZeros.substr(1) + "5" + kZeros.substr(1) + "5", true, false},
        {"flags",
         [](lorvex::Run& r) {
             std::array<int, 7> v{};
             return transferFlags(r, 0, v);
         },
         "SA0" + kZeros + kZeros, true, true},
        {"solvek flags",
         [](lorvex::Run& r) {
             std::array<int, 9> v{};
             return transferSolvekFlags(r, 0, v);
         },
         "Ss0" + kZeros + kZeros, true, true},
        {"halo",
         [](lorvex::Run& r) {
             HaloTable v{};
             return transferHalo(r, 0, v);
         },
         "SE0" + kZeros + kZeros, true, true},
        {"discounts",
         [](lorvex::Run& r) {
             DiscountSettings v{};
             return transferDiscounts(r, 0, v);
         },
         "SG0" + kZeros + kZeros, true, true},
        {"direct code",
         [](lorvex::Run& r) {
             long long c = 0;
             return transferDirectCode(r, 0, 12, c);
         },
         "SJ0" + kZeros.substr(2) + "12" + kZeros.substr(2) + "12", true, true},
        {"vat",
         [](lorvex::Run& r) {
             VatRates v{};
             return readVatRates(r, v);
         },
         "SK0" + kZeros + kZeros, false, true},
        {"uni", [](lorvex::Run& r) { return readUniNumber(r); }, "SM0" + kZeros + kZeros, false,
         false},
        {"nip", [](lorvex::Run& r) { return readNipNumber(r); }, "SN0" + kZeros + kZeros, false,
         false},
        {"cards", [](lorvex::Run& r) { return transferDiscountCard(r, 0, 0, DiscountCard{}); },
         "Sj0" + kZeros + kZeros, true, true},
        {"linked codes", [](lorvex::Run& r) { return transferLinkedCode(r, 0, LinkedCode{}); },
         "Sh0" + std::string(36, ' '), true, true},
    };
}

TEST(DumpOperations, FailuresWriteNothing) {
    for (const DumpOperation& op : dumpOperations()) {
        SCOPED_TRACE(op.name);
        {
            RecordRun r(Direction::Dump);
            r.reg.replies.push_back(Reply::answer("E001A"));
            EXPECT_EQ(op.call(*r.run), 26);
            EXPECT_EQ(r.reg.requests, std::vector<std::string>{op.request});
            EXPECT_EQ(r.written(), "");
        }
        {
            RecordRun r(Direction::Dump);
            r.reg.replies.push_back(Reply::quiet());
            EXPECT_EQ(op.call(*r.run), kNoAnswer);
            EXPECT_EQ(r.written(), "");
        }
        if (op.checksDataLetter) {
            RecordRun r(Direction::Dump);
            r.reg.replies.push_back(Reply::answer("X" + std::string(60, '0')));
            EXPECT_EQ(op.call(*r.run), 0);
            EXPECT_EQ(r.written(), "");
        }
        if (op.fixedLayout) {
            // A cut answer must not be written as zeros in place of the register's values.
            RecordRun r(Direction::Dump);
            r.reg.replies.push_back(Reply::answer("D" + op.request.substr(1, 1) + "0102"));
            EXPECT_EQ(op.call(*r.run), kUnreadableAnswer);
            EXPECT_EQ(r.written(), "");
        }
    }
}

TEST(DumpOperations, AnswerWithoutAnyFrameIsNoAnswer) {
    for (const DumpOperation& op : dumpOperations()) {
        if (std::string(op.name) == "cards" || std::string(op.name) == "linked codes") continue;
        SCOPED_TRACE(op.name);
        RecordRun r(Direction::Dump);
        r.reg.replies.push_back(Reply::accepted());  // ACK, then EOT with no answer frame
        EXPECT_EQ(op.call(*r.run), kNoAnswer);
        EXPECT_EQ(r.written(), "");
    }
}

TEST(DumpOperations, AnswersToLines) {
    struct Case {
        const char* name;
        std::function<StatusCode(lorvex::Run&)> call;
        std::string answer;
        std::string line;
    };
    const std::string fill(1, static_cast<char>(0xFF));
    const Case cases[] = {
        // The frame's ETX is not part of the text: an unfilled last line stays clean.
        {"header",
         [](lorvex::Run& r) {
             std::string t;
             return transferHeader(r, 0, t);
         },
         "DBSKLEP\r\n\xA5"
         "A",
         "NAG,SKLEP,,\x86"
         "A\n"},
        {"footer",
         [](lorvex::Run& r) {
             std::string t;
             return transferFooter(r, 0, t);
         },
         "DCDZI\xA9KUJEMY" + fill + "xyz", "STP,DZI\x91KUJEMY\n"},
        {"cashier",
         [](lorvex::Run& r) {
             std::string n, c;
             return transferCashier(r, 0, 3, n, c);
         },
         "DD3JAN" + std::string(15, ' ') + "1234", "KAS03,JAN               ,1234\n"},
        {"flags",
         [](lorvex::Run& r) {
             std::array<int, 7> v{};
             return transferFlags(r, 0, v);
         },
         "DA0A0B0C0D0E0F10", "FLG,10,11,12,13,14,15,16\n"},
        {"vat",
         [](lorvex::Run& r) {
             VatRates v{};
             return readVatRates(r, v);
         },
         "DK220007000300000000000000", "VAT,22.00, 7.00, 3.00, 0.00, 0.00, 0.00\n"},
        {"nip", [](lorvex::Run& r) { return readNipNumber(r); }, "DN123-456-78-90",
         "NIP,123-456-78-90\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordRun r(Direction::Dump, {}, 1);
        r.reg.replies.push_back(Reply::answer(c.answer));
        EXPECT_EQ(c.call(*r.run), 0);
        EXPECT_EQ(r.written(), c.line);
    }
}

TEST(DumpOperations, AnswerIsEchoedAtTraceLevelOne) {
    RecordRun quiet(Direction::Dump, {}, 0);
    quiet.reg.replies.push_back(Reply::answer("DA0A0B0C0D0E0F10"));
    std::array<int, 7> values{};
    transferFlags(*quiet.run, 0, values);
    EXPECT_EQ(quiet.console.text(), "");

    RecordRun traced(Direction::Dump, {}, 1);
    traced.reg.replies.push_back(Reply::answer("DA0A0B0C0D0E0F10"));
    transferFlags(*traced.run, 0, values);
    EXPECT_NE(traced.console.text().find("DA0A0B0C0D0E0F10\n"), std::string::npos);
    EXPECT_EQ(values, (std::array<int, 7>{10, 11, 12, 13, 14, 15, 16}));
}

std::string cardAnswer(const std::string& first) {
    return "Dj0" + first + std::string(27, '0') + "991ABCDEF01203";
}

TEST(DumpOperations, TablesSentOneRecordPerBlock) {
    const std::string card1 = cardAnswer("005");
    const std::string card2 = cardAnswer("123");
    const std::string line1 =
        "KRT    0,005,000,000,000,000,000,000,000,000,000,99,1,ABCDEF,1,2,3\n";
    const std::string line2 =
        "KRT    0,123,000,000,000,000,000,000,000,000,000,99,1,ABCDEF,1,2,3\n";
    const auto dumpCards = [](lorvex::Run& r) {
        return transferDiscountCard(r, 0, 0, DiscountCard{});
    };
    struct Case {
        const char* name;
        Reply reply;
        StatusCode status;
        std::string file;
    };
    const Case cases[] = {
        {"last block ends in ETX", {false, {card1, card2}, false, false, {}}, 0, line1 + line2},
        // A bare EOT after the last ETB block must not write that block twice.
        {"every block ends in ETB", {false, {card1, card2}, true, false, {}}, 0, line1 + line2},
        {"empty table", {false, {}, false, false, {}}, 0, ""},
        {"error after a card", {false, {card1, "E0012"}, true, false, {}}, 18, line1},
        // The line goes quiet after the first card: the lost link is reported, the card stays.
        {"link lost", {false, {card1}, true, true, {}}, kLinkLost, line1},
        {"cut block",
         {false, {card1, card2.substr(0, 30), card2}, false, false, {}},
         kUnreadableAnswer,
         line1 + line2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordRun r(Direction::Dump);
        r.reg.replies.push_back(c.reply);
        EXPECT_EQ(dumpCards(*r.run), c.status);
        EXPECT_EQ(r.written(), c.file);
        EXPECT_EQ(r.reg.enquiries, 1);
    }
}

TEST(DumpOperations, LinkedCodesTable) {
    RecordRun r(Direction::Dump);
    r.reg.replies.push_back(
        {false,
         {"Dh     5900000000001                12", "Dh123456789012345678     5900000000002"},
         true,
         false,
         {}});
    EXPECT_EQ(transferLinkedCode(*r.run, 0, LinkedCode{}), 0);
    EXPECT_EQ(r.written(),
              "KDW     5900000000001,                12\n"
              "KDW123456789012345678,     5900000000002\n");
}

}  // namespace
}  // namespace lorvex
