// Faults from outside the line, with the real binaries on pseudo-terminals: a file system that
// refuses to take more bytes, and several registers served at once by parallel runs.

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/sim_session.h"
#include "support/table_builder.h"

namespace lorvex::test {
namespace {

const std::string kOpenFailed = "61  B";

// lorvex in the session's directory with its file size limited to one block: every write past
// it fails with EFBIG (the signal that would end the process is ignored), as on a full disk.
ProcessResult lorvexWithFullDisk(const SimSession& session, const std::string& args) {
    return runProcess("/bin/sh",
                      {"-c", "trap '' XFSZ; ulimit -f 1; exec '" + lorvexBinary() + "' " + args},
                      session.dir().path(), 60000);
}

TEST(FullDisk, ADumpThatCannotBeWrittenReports61AndKeepsTheOldFile) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    SimSession session;
    ASSERT_TRUE(session.ok()) << session.error();
    const std::string old = "DEP 1,the old file,1\n";
    session.dir().write("DEPS.TXT", old);
    // Forty-two department lines are more than the one block the file may grow to.
    const ProcessResult run = lorvexWithFullDisk(session, "/CG /FDEPS.TXT");
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
    Files files = session.files();
    files.erase("COM1");
    EXPECT_EQ(files["DEPS.TXT"], old);
    EXPECT_NE(files["error.orv"].find(kOpenFailed), std::string::npos) << files["error.orv"];
    // Nothing left beside the user's file but the error log.
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(session.stop(), 0);
}

TEST(FullDisk, ATableAppendThatCannotBeWrittenReports61AndKeepsTheTablesRecords) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    // Five goods fill the table to just under the one block the file may grow to.
    std::vector<TableGood> goods;
    for (int i = 1; i <= 5; ++i) goods.push_back({static_cast<double>(i), "OLD GOOD", 1});
    const std::string table = goodsTable(goods);
    ASSERT_LT(table.size(), 1024u);
    for (const char* job : {"/CH", "/CM"}) {
        SCOPED_TRACE(job);
        SimSession session;
        ASSERT_TRUE(session.ok()) << session.error();
        session.dir().write("TOWARY.TBL", table);
        const ProcessResult run = lorvexWithFullDisk(session, std::string(job) + " /FTOWARY.TBL");
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
        const Files files = session.files();
        const std::string after = files.at("TOWARY.TBL");
        // The header and the records of before are untouched; at most the bytes of the refused
        // record lie beyond them, not counted by the header.
        ASSERT_GE(after.size(), table.size());
        EXPECT_EQ(after.substr(0, table.size()), table);
        ASSERT_TRUE(files.count("error.orv"));
        EXPECT_NE(files.at("error.orv").find(kOpenFailed), std::string::npos);
        EXPECT_EQ(session.stop(), 0);
    }
}

TEST(ParallelRegisters, RunsOnDifferentPortsDoNotDisturbEachOther) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    SimSession shop;
    SimSession empty({"--empty"});
    ASSERT_TRUE(shop.ok()) << shop.error();
    ASSERT_TRUE(empty.ok()) << empty.error();
    // Both at once, each in its own directory with its own COM1.
    auto first = std::async(std::launch::async, [&] { return shop.lorvex({"/CD", "/FA.TXT"}); });
    auto second = std::async(std::launch::async, [&] { return empty.lorvex({"/CC", "/FB.TXT"}); });
    const ProcessResult a = first.get();
    const ProcessResult b = second.get();
    EXPECT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(b.exitCode, 0) << b.err;
    // The same jobs again, one after the other, give the same files.
    EXPECT_EQ(shop.lorvex({"/CD", "/FA2.TXT"}).exitCode, 0);
    EXPECT_EQ(empty.lorvex({"/CC", "/FB2.TXT"}).exitCode, 0);
    const Files shopFiles = shop.files();
    const Files emptyFiles = empty.files();
    EXPECT_FALSE(shopFiles.at("A.TXT").empty());
    EXPECT_EQ(shopFiles.at("A.TXT"), shopFiles.at("A2.TXT"));
    EXPECT_EQ(emptyFiles.at("B.TXT"), emptyFiles.at("B2.TXT"));
    EXPECT_EQ(shopFiles.count("error.orv") + emptyFiles.count("error.orv"), 0u);
    EXPECT_EQ(shopFiles.count("B.TXT") + emptyFiles.count("A.TXT"), 0u);
    EXPECT_EQ(shop.stop(), 0);
    EXPECT_EQ(empty.stop(), 0);
}

}  // namespace
}  // namespace lorvex::test
