#include <gtest/gtest.h>

#include <string>

#include "record_run.h"
#include "records/cards.h"
#include "records/halo.h"
#include "records/header_footer.h"

namespace lorvex {
namespace {

using testing::RecordRun;
using testing::Reply;

TEST(SingleAnswers, OnlyWholeDataAnswersAreWritten) {
    struct Case {
        const char* name;
        Reply reply;
        StatusCode status;
    };
    const Case cases[] = {
        // Zeros in place of the register's amounts would be loaded back one day.
        {"cut answer", Reply::answer("DE" + std::string(40, '0')), kUnreadableAnswer},
        {"not a data answer", Reply::answer("X" + std::string(151, '0')), 0},
        // The register closes the transaction without answering at all.
        {"no answer frame", Reply::accepted(), kNoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordRun r;
        r.reg.replies.push_back(c.reply);
        HaloTable amounts{};
        EXPECT_EQ(transferHalo(*r.run, Direction::Dump, amounts), c.status);
        EXPECT_EQ(r.written(), "");
    }
}

TEST(SingleAnswers, TextAnswerEndsBeforeItsFrameEnd) {
    RecordRun r;
    r.reg.replies.push_back(
        Reply::answer("DBSKLEP\r\n\xA5"
                      "A"));
    std::string text;
    EXPECT_EQ(transferHeader(*r.run, Direction::Dump, text), 0);
    EXPECT_EQ(r.written(),
              "NAG,SKLEP,,\x86"
              "A\n");
}

std::string cardAnswer(const std::string& first) {
    return "Dj0" + first + std::string(27, '0') + "991ABCDEF01203";
}

TEST(BlockAnswers, OneLinePerRecordUntilTheRegisterEnds) {
    const std::string card1 = cardAnswer("005");
    const std::string card2 = cardAnswer("123");
    const std::string line1 =
        "KRT    0,005,000,000,000,000,000,000,000,000,000,99,1,ABCDEF,1,2,3\n";
    const std::string line2 =
        "KRT    0,123,000,000,000,000,000,000,000,000,000,99,1,ABCDEF,1,2,3\n";
    struct Case {
        const char* name;
        Reply reply;
        StatusCode status;
        std::string file;
    };
    const Case cases[] = {
        {"last block ends in ETX", Reply::frames({card1, card2}), 0, line1 + line2},
        // A bare EOT after the last ETB block must not write that block twice.
        {"every block ends in ETB", Reply::frames({card1, card2}, true), 0, line1 + line2},
        {"empty table", Reply::frames({}), 0, ""},
        {"error after a card", Reply::frames({card1, "E0012"}, true), 18, line1},
        // The line goes quiet after the first card: lost, not the end of the table.
        {"link lost", Reply::frames({card1}, true, true), kLinkLost, line1},
        {"cut block", Reply::frames({card1, card2.substr(0, 30), card2}), kUnreadableAnswer,
         line1 + line2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordRun r;
        r.reg.replies.push_back(c.reply);
        EXPECT_EQ(transferDiscountCard(*r.run, Direction::Dump, 0, DiscountCard{}), c.status);
        EXPECT_EQ(r.written(), c.file);
        EXPECT_EQ(r.reg.enquiries, 1);
    }
}

}  // namespace
}  // namespace lorvex
