// Every job letter, in each direction it has, against every way the register or the line can fail.
// Each cell runs the job once cleanly (the reference) and once with the fault, on the virtual
// clock, and checks that the faulty run ends in bounded time, says what went wrong, writes no half
// line and leaves the user's files as they were.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/dead_line.h"
#include "jobs/job_texts.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

// Worst time one transaction may take when the register fails: the opening, three byte time-outs
// of 5 s, four checksum bytes that never come, and the write retries of a dead port.
constexpr std::uint64_t kWorstTransactionMs = 45'000;

struct Job {
    char letter;
    bool load;
};

enum class Expect {
    Same,      // the fault is harmless: the run matches the clean one
    NoAnswer,  // message 60
    Failure,   // some nonzero status is reported
    RamError,  // the register's error answer is reported
    Any,       // the register got its word in after all: success is as right as a failure
};

struct FaultCase {
    std::string name;
    std::function<void(sim::FaultPlan&, bool load)> plan;
    Expect dump, load;
    std::size_t needsExchanges = 0;  // the fault only strikes jobs with more transactions
    bool lineDies = false;  // the register stops answering for good: three silences end the job
};

std::vector<Job> jobs() {
    std::vector<Job> list;
    for (char c : std::string("ABCDEFGHIJKLMNOPRSTUWXYZ")) list.push_back({c, false});
    for (char c : std::string("ABCDEFGHIUWYZ")) list.push_back({c, true});
    return list;
}

std::vector<FaultCase> faultCases() {
    using P = sim::FaultPlan;
    using F = sim::Fault;
    using E = Expect;
    const auto silentFromTwo = [](P& p, bool) {
        for (int n = 2; n < 400; ++n) p.add(F::silence().at(n));
    };
    return {
        {"SilentFromStart", [](P& p, bool) { p.add(F::silence()); }, E::NoAnswer, E::NoAnswer, 0,
         true},
        {"SilentAfterFirstExchange", silentFromTwo, E::NoAnswer, E::NoAnswer, 1, true},
        {"NakStorm", [](P& p, bool) { p.add(F::naks(500)); }, E::NoAnswer, E::NoAnswer, 0, true},
        // A dump gives up after 100000 HT; a load stops answering them after 1000 and takes the
        // status the register sends in the end.
        {"BusyStorm", [](P& p, bool load) { p.add(F::busy(load ? 5'000 : 150'000)); }, E::Failure,
         E::Any},
        {"ErrorAtFirstItem", [](P& p, bool) { p.errorAt(0, 1, 26); }, E::RamError, E::RamError},
        {"GarbageBetweenFrames", [](P& p, bool) { p.add(F::garbage()); }, E::Same, E::Same},
        // In a load the register's first frame is its status, sent after it took the record.
        {"LineCutInFrame", [](P& p, bool) { p.add(F::cutLine(6)); }, E::Failure, E::Any},
        {"AdapterPulledOut", [](P& p, bool) { p.unplugAfterBytes = 20; }, E::NoAnswer, E::NoAnswer,
         0, true},
    };
}

const std::string kFile = "FILE.TXT";

// The input of a load: the clean dump of its letter. Discount cards are dumped under the number
// 0, which the register refuses on a load: they are numbered 1, 2, ... as a user would.
Files loadInput(const Job& job) {
    if (!job.load) return {};
    std::string input = runJob({std::string("/C") + job.letter, "/S3", "/F" + kFile}).file(kFile);
    char card = '1';
    for (std::size_t at = 0; (at = input.find("KRT    0", at)) != std::string::npos; at += 8)
        input[at + 7] = card++;
    return {{kFile, input}};
}

class FaultMatrix : public ::testing::TestWithParam<std::tuple<Job, FaultCase>> {};

TEST_P(FaultMatrix, EndsInBoundedTimeWithTheRightStatusAndNothingHalfWritten) {
    const auto& [job, fault] = GetParam();
    const Files input = loadInput(job);
    std::vector<std::string> args{std::string("/C") + job.letter, "/F" + kFile, "/S3"};
    if (job.load) args.push_back("/L");
    const JobResult clean = runJob(args, input);
    ASSERT_EQ(clean.errorLog(), "") << "the clean run already fails";

    JobHarness harness;
    harness.files = input;
    fault.plan(harness.faults(), job.load);
    const JobResult run = harness.run(args);
    const std::string log = run.errorLog();
    SCOPED_TRACE(fault.name + "\nerror.orv:\n" + log);

    // Bounded: the clean run's own pauses plus the worst case of every transaction it needed, and
    // of one transaction per line loaded (a broken chain sends each record on its own); on a
    // line that dies, of the first exchange and three silences.
    const std::size_t transactions =
        fault.lineDies
            ? 1 + DeadLineGuard::kSilencesInARow
            : clean.exchanges.size() + (job.load ? linesOf(input.at(kFile)).size() : 0) + 1;
    EXPECT_LE(run.virtualMs, clean.virtualMs + transactions * kWorstTransactionMs);
    EXPECT_EQ(run.exitCode, 0);

    // The state query answers with a digit, not a status; the cashier, department and
    // all-settings dumps report only their last status.
    const bool reports = job.letter != 'X';
    const bool hits = clean.exchanges.size() > fault.needsExchanges && reports;
    const bool lastStatusOnly =
        !job.load && std::string("DGZ").find(job.letter) != std::string::npos;
    const Expect expect = job.load ? fault.load : fault.dump;
    if (expect == Expect::Same) {
        EXPECT_EQ(log, "");
        EXPECT_EQ(run.file(kFile), clean.file(kFile));
    }
    const auto logs = [&](const std::string& text) { return log.find(text) != std::string::npos; };
    EXPECT_TRUE(expect != Expect::NoAnswer || !hits || logs(kNoConnection));
    EXPECT_TRUE(expect != Expect::Failure || !hits || !log.empty());
    EXPECT_TRUE(expect != Expect::RamError || !reports || lastStatusOnly ||
                logs("26  Blad pamieci RAM"));
    // Only the register's own messages: never one that says a file could not be written.
    EXPECT_FALSE(logs("61  B"));

    if (job.load) {
        // A load never touches its input, and the register took only whole records of it.
        EXPECT_EQ(run.file(kFile), input.at(kFile));
        std::set<std::string> sent;
        for (const sim::Exchange& e : clean.exchanges)
            sent.insert(e.records.begin(), e.records.end());
        for (const sim::Exchange& e : run.exchanges)
            for (const std::string& record : e.records) EXPECT_TRUE(sent.count(record)) << record;
    } else {
        // Each line written is one the clean dump wrote too, whole and with its line end.
        const std::string text = run.file(kFile), reference = "\n" + clean.file(kFile);
        EXPECT_TRUE(text.empty() || text.back() == '\n');
        for (const std::string& line : linesOf(text))
            EXPECT_NE(reference.find("\n" + line + "\n"), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(AllJobs, FaultMatrix,
                         ::testing::Combine(::testing::ValuesIn(jobs()),
                                            ::testing::ValuesIn(faultCases())),
                         [](const auto& info) {
                             const Job job = std::get<0>(info.param);
                             return (job.load ? "Load" : "Dump") + std::string(1, job.letter) +
                                    "_" + std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace lorvex::test
