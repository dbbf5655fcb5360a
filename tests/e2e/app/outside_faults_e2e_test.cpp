// Faults from outside the line, with the real binaries on pseudo-terminals: a full disk, an
// interrupted run, a port in use, several registers served at once, a console nobody reads.

#include <algorithm>
#include <future>
#include <string>
#include <vector>

#include "support/sim_session.h"
#include "support/table_builder.h"

namespace lorvex::test {
namespace {

const std::string kOpenFailed = "61  B";
const std::string kOldFile = "DEP 1,the old file,1\n";

// lorvex started in the background as $pid after `before`; `after` runs meanwhile; then
// "status <its exit code>".
std::string background(const SimSession& session, const std::string& before,
                       const std::string& args, const std::string& after = "") {
    return shell(session.dir.path(),
                 before + "; $L " + args + " & pid=$!; " + after + "wait $pid; echo status $?")
        .out;
}

// The file size is limited to one block: every write past it fails with EFBIG (the signal that
// would end the process is ignored), as on a full disk.
const std::string kFullDisk = "trap '' XFSZ; ulimit -f 1";

TEST(OutsideFaults, AFullDiskReports61AndKeepsTheOldFileOrTheTablesRecords) {
    // Five goods fill a table to just under the one block; 42 departments are more than it.
    std::vector<TableGood> goods;
    for (int i = 1; i <= 5; ++i) goods.push_back({static_cast<double>(i), "OLD GOOD", 1});
    const std::string table = goodsTable(goods);
    ASSERT_LT(table.size(), 1024u);
    for (const char* job : {"/CG", "/CH", "/CM"}) {
        SCOPED_TRACE(job);
        SimSession session;
        ASSERT_TRUE(session.ok) << session.error;
        const bool text = job[2] == 'G';
        const std::string name = text ? "DEPS.TXT" : "TOWARY.TBL";
        const std::string old = text ? kOldFile : table;
        session.dir.write(name, old);
        const std::string out = background(session, kFullDisk, std::string(job) + " /F" + name);
        EXPECT_NE(out.find("status 2"), std::string::npos) << out;
        Files files = session.files();
        // A text dump leaves the old file and nothing beside it but the log; a table keeps its
        // header and records (at most the refused record lies beyond them, not counted).
        EXPECT_EQ(text ? files[name] : files[name].substr(0, old.size()), old);
        EXPECT_EQ(files.size(), 2u);
        EXPECT_NE(files["error.orv"].find(kOpenFailed), std::string::npos) << files["error.orv"];
        EXPECT_EQ(session.sim.stop(), 0);
    }
}

TEST(OutsideFaults, AnInterruptedDumpLeavesTheOldFileAndNothingBesideIt) {
    SimSession session;
    ASSERT_TRUE(session.ok) << session.error;
    session.dir.write("DEPS.TXT", kOldFile);
    for (const std::string signal : {"INT", "TERM"}) {
        // The department dump takes seconds; it is interrupted in the middle.
        const std::string out =
            background(session, ":", "/CG /FDEPS.TXT", "sleep 1.5; kill -" + signal + " $pid; ");
        EXPECT_NE(out.find("status 1"), std::string::npos) << signal << out;
        EXPECT_EQ(session.files(), (Files{{"DEPS.TXT", kOldFile}})) << signal;
    }
    EXPECT_EQ(session.sim.stop(), 0);
}

// A second run reaches the same pty under another name, from a directory of its own: it fails
// naming the holder on stderr, writes nothing there, and the first run finishes undisturbed.
TEST(OutsideFaults, APortInUseNamesItsHolderAndDisturbsNothing) {
    SimSession session;
    ASSERT_TRUE(session.ok) << session.error;
    TempDir second("lorvex-e2e-busy");
    const ProcessResult run = shell(
        session.dir.path(), "$L /CG /FDEPS.TXT & pid=$!; echo $pid; sleep 1; cd '" +
                                second.path().string() + "' && ln -s " + session.sim.device() +
                                " COM1 && $L /CG /FDEPS.TXT; echo second $?; wait $pid; "
                                "echo status $?");
    const std::string holder = run.out.substr(0, run.out.find('\n'));
    EXPECT_NE(run.out.find("second 1\nstatus 0"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("lorvex: cannot open the port " + (second / "COM1").string() +
                           ": Device or resource busy (another program holds it: process " +
                           holder + ")\n"),
              std::string::npos)
        << run.err;
    const Files files = session.files();
    EXPECT_FALSE(files.count("error.orv"));
    const std::string deps = files.count("DEPS.TXT") ? files.at("DEPS.TXT") : "";
    EXPECT_EQ(std::count(deps.begin(), deps.end(), '\n'), 42) << deps;
    Files secondFiles = second.read();
    EXPECT_NE(secondFiles["error.orv"].find(kOpenFailed), std::string::npos);
    EXPECT_FALSE(secondFiles.count("DEPS.TXT")) << "nothing written where the port failed";
    EXPECT_EQ(session.sim.stop(), 0);
}

TEST(OutsideFaults, RunsOnDifferentPortsDoNotDisturbEachOther) {
    SimSession shop;
    SimSession empty({"--empty"});
    ASSERT_TRUE(shop.ok && empty.ok) << shop.error << empty.error;
    // Both at once, each in its own directory with its own COM1, then one after the other: the
    // same files, no error log, nothing crossed over.
    auto first = std::async(std::launch::async, [&] { return shop.lorvex({"/CD", "/FA.TXT"}); });
    auto second = std::async(std::launch::async, [&] { return empty.lorvex({"/CC", "/FB.TXT"}); });
    EXPECT_EQ(first.get().exitCode, 0);
    EXPECT_EQ(second.get().exitCode, 0);
    shop.lorvex({"/CD", "/FA2.TXT"});
    empty.lorvex({"/CC", "/FB2.TXT"});
    Files a = shop.files();
    Files b = empty.files();
    EXPECT_FALSE(a["A.TXT"].empty());
    EXPECT_EQ(a, (Files{{"A.TXT", a["A2.TXT"]}, {"A2.TXT", a["A2.TXT"]}}));
    EXPECT_EQ(b, (Files{{"B.TXT", b["B2.TXT"]}, {"B2.TXT", b["B2.TXT"]}}));
    EXPECT_EQ(shop.sim.stop(), 0);
    EXPECT_EQ(empty.sim.stop(), 0);
}

// Every byte is traced; the reader leaves after the first line: the job still finishes, with
// its file whole and no temporary file beside it.
TEST(OutsideFaults, AConsoleNobodyReadsLetsTheJobFinish) {
    SimSession session;
    ASSERT_TRUE(session.ok) << session.error;
    const ProcessResult run = shell(
        session.dir.path(), "{ $L /P1 /CB /FNAG.TXT /Q4; echo \"status $?\" >&2; } | head -1");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    EXPECT_NE(run.err.find("status 0"), std::string::npos) << run.err;
    const Files files = session.files();
    ASSERT_EQ(files.size(), 1u) << "no temporary file beside the exchange file";
    EXPECT_EQ(files.at("NAG.TXT").rfind("NAG", 0), 0u);
    EXPECT_EQ(session.sim.stop(), 0);
}

}  // namespace
}  // namespace lorvex::test
