// Every job letter, in each direction it has, against every way the register or the line can fail.
// Each cell runs the job once cleanly (the reference) and once with the fault, on the virtual
// clock, and checks that the faulty run ends in bounded time, says what went wrong, writes no half
// line and leaves the user's files as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/job_harness.h"

namespace lorvex::test {
namespace {

// The register's messages in Mazovia letters, the default /S.
const std::string kNoConnection =
    "60 Brak po\x92\x86"
    "czenia lub z\x92"
    "a pozycja kluczyka\n";
const std::string kRamError =
    "26  B\x92\x86"
    "d pami\x91"
    "ci RAM\n";
const std::string kLinkLost =
    "99  b\x92\x91"
    "dny status transmisji\n";

// Worst time one transaction may take when the register fails: the opening, three byte time-outs
// of 5 s, four checksum bytes that never come, and the write retries of a dead port.
constexpr std::uint64_t kWorstTransactionMs = 45'000;

struct Job {
    std::string name;
    std::string letter;  // "/CG"
    bool load = false;
    // The job reports its failures (the state query 'X' answers with a digit, not a status).
    bool reports = true;
    // The dump reports only its last status (the cashier, department and all-settings dumps).
    bool lastStatusOnly = false;
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
    std::function<void(sim::FaultPlan&, const Job&)> plan;
    Expect expect;
    Expect loadExpect;
    // The fault only strikes jobs with more transactions than this.
    std::size_t needsExchanges = 0;
};

void PrintTo(const Job& job, std::ostream* out) {
    *out << job.name;
}
void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.name;
}

std::vector<Job> jobs() {
    std::vector<Job> list;
    for (const char* letter : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L",
                               "M", "N", "O", "P", "R", "S", "T", "U", "W", "X", "Y", "Z"}) {
        Job job{std::string("Dump") + letter, std::string("/C") + letter};
        job.reports = job.letter != "/CX";
        job.lastStatusOnly = job.letter == "/CD" || job.letter == "/CG" || job.letter == "/CZ";
        list.push_back(job);
    }
    for (const char* letter : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "U", "W", "Y", "Z"}) {
        list.push_back({std::string("Load") + letter, std::string("/C") + letter, true});
    }
    return list;
}

std::vector<FaultCase> faultCases() {
    using Plan = sim::FaultPlan;
    return {
        {"SilentFromStart", [](Plan& p, const Job&) { p.add(sim::Fault::silence()); },
         Expect::NoAnswer, Expect::NoAnswer},
        {"SilentAfterFirstExchange",
         [](Plan& p, const Job&) {
             for (int n = 2; n < 400; ++n) p.add(sim::Fault::silence().at(n));
         },
         Expect::NoAnswer, Expect::NoAnswer, 1},
        {"NakStorm", [](Plan& p, const Job&) { p.add(sim::Fault::naks(500)); }, Expect::NoAnswer,
         Expect::NoAnswer},
        // A dump gives up after 100000 HT; a load stops answering them after 1000 and takes the
        // status the register sends in the end.
        {"BusyStorm",
         [](Plan& p, const Job& job) { p.add(sim::Fault::busy(job.load ? 5'000 : 150'000)); },
         Expect::Failure, Expect::Any},
        {"ErrorAtFirstItem", [](Plan& p, const Job&) { p.errorAt(0, 1, 26); }, Expect::RamError,
         Expect::RamError},
        {"GarbageBetweenFrames", [](Plan& p, const Job&) { p.add(sim::Fault::garbage()); },
         Expect::Same, Expect::Same},
        // In a load the register's first frame is its status, sent after it took the record.
        {"LineCutInFrame", [](Plan& p, const Job&) { p.add(sim::Fault::cutLine(6)); },
         Expect::Failure, Expect::Any},
        {"AdapterPulledOut", [](Plan& p, const Job&) { p.unplugAfterBytes = 20; }, Expect::NoAnswer,
         Expect::NoAnswer},
    };
}

const std::string kFileName = "FILE.TXT";

std::vector<std::string> argsOf(const Job& job) {
    std::vector<std::string> args{job.letter, "/F" + kFileName};
    if (job.load) args.insert(args.begin(), "/L");
    return args;
}

// The clean dump of a letter: the reference lines and, for a load, its input file.
const JobResult& cleanDump(const std::string& letter) {
    static std::map<std::string, JobResult> cache;
    auto found = cache.find(letter);
    if (found == cache.end()) {
        found = cache.emplace(letter, runJob({letter, "/F" + kFileName})).first;
    }
    return found->second;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A dump written to be loaded again. Discount cards are dumped under the number 0, which the
// register refuses on a load: they are numbered 1, 2, ... as a user would.
std::string loadInput(const Job& job, const std::string& dumped) {
    if (job.letter != "/CW") return dumped;
    std::string input;
    int card = 0;
    for (const std::string& line : linesOf(dumped)) {
        input += "KRT    " + std::to_string(++card) + line.substr(8) + "\n";
    }
    return input;
}

// The records the register took, over all transactions.
std::multiset<std::string> recordsTaken(const JobResult& run) {
    std::multiset<std::string> records;
    for (const sim::Exchange& exchange : run.exchanges) {
        records.insert(exchange.records.begin(), exchange.records.end());
    }
    return records;
}

class FaultMatrix : public ::testing::TestWithParam<std::tuple<Job, FaultCase>> {};

TEST_P(FaultMatrix, EndsInBoundedTimeWithTheRightStatusAndNothingHalfWritten) {
    const auto& [job, fault] = GetParam();
    const JobResult& dump = cleanDump(job.letter);
    ASSERT_EQ(dump.exitCode, 0);
    Files input;
    if (job.load) input[kFileName] = loadInput(job, dump.file(kFileName));

    JobHarness cleanHarness;
    cleanHarness.setup().files = input;
    const JobResult clean = cleanHarness.run(argsOf(job));
    ASSERT_EQ(clean.exitCode, 0);
    ASSERT_EQ(clean.errorLog(), "") << "the clean run already fails";

    JobHarness harness;
    harness.setup().files = input;
    fault.plan(harness.faults(), job);
    const JobResult run = harness.run(argsOf(job));
    const std::string log = run.errorLog();
    SCOPED_TRACE(job.name + " / " + fault.name + "\nerror.orv:\n" + log);

    // Bounded: the clean run's own pauses plus the worst case of every transaction it needed, and
    // of one transaction per line loaded (a broken chain sends each record on its own).
    const std::size_t transactions =
        clean.exchanges.size() + (job.load ? linesOf(input.at(kFileName)).size() : 0) + 1;
    const std::uint64_t bound = clean.virtualMs + transactions * kWorstTransactionMs;
    EXPECT_LE(run.virtualMs, bound);
    EXPECT_EQ(run.exitCode, 0);

    const bool hits = clean.exchanges.size() > fault.needsExchanges;
    switch (job.load ? fault.loadExpect : fault.expect) {
        case Expect::Same:
            EXPECT_EQ(log, clean.errorLog());
            EXPECT_EQ(run.file(kFileName), clean.file(kFileName));
            break;
        case Expect::NoAnswer:
            if (hits && job.reports) {
                EXPECT_NE(log.find(kNoConnection), std::string::npos);
            }
            break;
        case Expect::Failure:
            if (hits && job.reports) {
                EXPECT_NE(log, "");
            }
            break;
        case Expect::RamError:
            if (job.reports && !job.lastStatusOnly) {
                EXPECT_NE(log.find(kRamError), std::string::npos);
            }
            break;
        case Expect::Any:
            break;
    }
    // Only the register's own messages: never one that says a file could not be written.
    EXPECT_EQ(log.find("61  B"), std::string::npos);

    if (job.load) {
        // A load never touches its input, and the register took only whole records of it.
        EXPECT_EQ(run.file(kFileName), input.at(kFileName));
        const std::multiset<std::string> sent = recordsTaken(clean);
        for (const std::string& record : recordsTaken(run)) {
            EXPECT_TRUE(sent.count(record) > 0) << "record not in the clean load: " << record;
        }
    } else {
        // Each line written is one the clean dump wrote too, whole and with its line end.
        const std::string text = run.file(kFileName);
        if (!text.empty()) {
            EXPECT_EQ(text.back(), '\n');
        }
        const std::vector<std::string> reference = linesOf(clean.file(kFileName));
        const std::set<std::string> known(reference.begin(), reference.end());
        for (const std::string& line : linesOf(text)) {
            EXPECT_TRUE(known.count(line) > 0) << "line not in the clean dump: " << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllJobs, FaultMatrix,
                         ::testing::Combine(::testing::ValuesIn(jobs()),
                                            ::testing::ValuesIn(faultCases())),
                         [](const ::testing::TestParamInfo<FaultMatrix::ParamType>& info) {
                             return std::get<0>(info.param).name + "_" +
                                    std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace lorvex::test
