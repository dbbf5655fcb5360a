#include <gtest/gtest.h>

#include <string>

#include "dump_rig.h"
#include "records/cards.h"
#include "records/halo.h"

namespace lorvex {
namespace {

using test::DumpRig;
using test::dumpTransaction;

TEST(SingleAnswers, OnlyWholeDataAnswersAreWritten) {
    const struct {
        const char* name;
        test::Script script;
        StatusCode status;
    } cases[] = {
        // Zeros in place of the register's amounts would be loaded back one day.
        {"cut answer", dumpTransaction({"DE" + std::string(40, '0')}), kUnreadableAnswer},
        {"not a data answer", dumpTransaction({"X" + std::string(151, '0')}), 0},
        {"no answer frame", dumpTransaction({}), kNoAnswer},
    };
    for (const auto& c : cases) {
        DumpRig r(c.script);
        HaloTable amounts{};
        EXPECT_EQ(transferHalo(r.run, Direction::Dump, amounts), c.status) << c.name;
        EXPECT_EQ(r.written(), "") << c.name;
    }
}

std::string cardAnswer(const std::string& first) {
    return "Dj0" + first + std::string(27, '0') + "091ABCDEF01203";
}

// The card jobs pin the usual ending and a line lost after the first card.
TEST(BlockAnswers, OneLinePerRecordUntilTheRegisterEnds) {
    const std::string card1 = cardAnswer("005");
    const std::string card2 = cardAnswer("123");
    const std::string line1 = "KRT    0,005,000,000,000,000,000,000,000,000,000,9,1,ABCDEF,1,2,3\n";
    const std::string line2 = "KRT    0,123,000,000,000,000,000,000,000,000,000,9,1,ABCDEF,1,2,3\n";
    const struct {
        const char* name;
        test::Script script;
        StatusCode status;
        std::string file;
    } cases[] = {
        // A bare EOT after the last ETB block must not write that block twice.
        {"every block ends in ETB", dumpTransaction({card1, card2}, true), 0, line1 + line2},
        {"empty table", dumpTransaction({}), 0, ""},
        {"error after a card", dumpTransaction({card1, "E0012"}, true), 18, line1},
        {"cut block", dumpTransaction({card1, card2.substr(0, 30), card2}), kUnreadableAnswer,
         line1 + line2},
    };
    for (const auto& c : cases) {
        DumpRig r(c.script);
        EXPECT_EQ(transferDiscountCard(r.run, Direction::Dump, 0, DiscountCard{}), c.status)
            << c.name;
        EXPECT_EQ(r.written(), c.file) << c.name;
    }
}

}  // namespace
}  // namespace lorvex
