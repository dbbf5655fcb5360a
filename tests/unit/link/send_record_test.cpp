#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/register_link.h"
#include "pc_events.h"
#include "scripted_port.h"

namespace lorvex::test {
namespace {

const std::string kAck(1, static_cast<char>(ACK));
const std::string kEot(1, static_cast<char>(EOT));
const std::string kRequest = buildRequest('D', 1, 5, 5);
const std::string kRecord = "DD" + std::string(38, 'x');  // 40 bytes

struct Rig {
    explicit Rig(std::vector<ScriptedPort::Reply> replies = {}) { port.script(std::move(replies)); }
    StatusCode send() { return link.sendRecord(kRequest, kRecord); }
    VirtualClock clock;
    ScriptedPort port{clock};
    CapturingConsole console{true};
    RegisterLink link{port, clock, console, 0};
};

struct Load : ::testing::Test, Rig {};

TEST_F(Load, StatusComesFromTheDigitsOfTheLastAnswerFrame) {
    struct Case {
        std::string answer;
        StatusCode status;
    };
    for (const Case& c : {Case{"E  35", 35}, Case{"E  2A", 47}, Case{"", 0}}) {
        Rig r(
            {{kAck}, {kAck}, {kAck}, {c.answer.empty() ? kEot : registerFrame(c.answer)}, {kEot}});
        EXPECT_EQ(r.send(), c.status) << c.answer;
        std::vector<std::string> expected{"ENQ", "FRAME:" + kRequest, "FRAME:" + kRecord, "EOT"};
        if (!c.answer.empty()) expected.push_back("ACK");
        EXPECT_EQ(r.port.events(), expected);
        EXPECT_EQ(r.link.sentRecordCount(), 1);
    }
}

TEST_F(Load, RefusalsResendTheRecordOnlyAfterItsLengthAndEndAtTheHundredAndFirst) {
    port.script({{kAck}, {kAck}, {std::string(101, NAK)}});
    EXPECT_EQ(send(), -1);
    // The 48th to the 100th refusal of a 40-byte record each resend it.
    EXPECT_EQ(countOf(port.events(), "FRAME:" + kRecord), 1 + 53);
    EXPECT_EQ(port.events().back(), "EOT");
}

TEST_F(Load, SilencesEndTheTransactionAsLoadedOnlyOnceTheRecordWasTaken) {
    struct Case {
        const char* when;
        std::vector<ScriptedPort::Reply> script;
        StatusCode status;
    };
    const std::vector<Case> cases{
        {"request never acknowledged", {{kAck}}, -1},
        {"record never acknowledged", {{kAck}, {kAck}}, -1},
        {"record taken, no status", {{kAck}, {kAck}, {kAck}}, 0},
        {"status frame, no EOT", {{kAck}, {kAck}, {kAck}, {registerFrame("E  35")}}, 35},
    };
    for (const Case& c : cases) {
        Rig r(c.script);
        EXPECT_EQ(r.send(), c.status) << c.when;
        const auto& events = r.port.events();
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events[events.size() - 1], "EOT") << c.when;
        EXPECT_EQ(events[events.size() - 2], "EOT") << c.when << ": an EOT after each silence";
        EXPECT_LE(r.clock.nowMs(), 10500u) << c.when;
    }
}

TEST_F(Load, NoAnswerToTheEnquiryOrADeadLineGiveMinusOne) {
    EXPECT_EQ(send(), -1);
    EXPECT_EQ(port.events(), std::vector<std::string>{"ENQ"});

    Rig dead;
    dead.port.writesBeforeFailure = 0;
    EXPECT_EQ(dead.send(), -1);
    EXPECT_LE(dead.clock.nowMs(), 100u + 5000u + 100u);
}

TEST_F(Load, ABusyRegisterIsToldToStopAfterAThousandBusyBytes) {
    port.script({{kAck},
                 {kAck},
                 {std::string(1002, HT) + kAck},
                 {""},  // the EOT answering busy byte 1001
                 {""},  // and 1002
                 {registerFrame("E  00")},
                 {kEot}});
    EXPECT_EQ(send(), 0);
    EXPECT_EQ(countOf(port.events(), "EOT"), 3);
    EXPECT_GT(console.spinnerDraws(), 1002);
}

// A PLU batch of n records in one transaction: positions 0, 1 ... 1, 2; a single record is sent
// twice, at positions 0 and 2.
TEST_F(Load, ChainedBatchesOfOneTwoAndThreeRecords) {
    for (const int n : {1, 2, 3}) {
        Rig r;
        std::vector<std::string> records;
        for (int i = 0; i < std::max(n, 2); ++i)
            records.push_back("DI" + std::to_string(n == 1 ? 1 : i + 1));
        std::vector<RecordPosition> positions{RecordPosition::First};
        for (int i = 1; i + 1 < static_cast<int>(records.size()); ++i)
            positions.push_back(RecordPosition::Middle);
        positions.push_back(RecordPosition::Last);

        std::vector<ScriptedPort::Reply> script{{kAck}, {kAck}, {kAck}, {""}};
        std::vector<std::string> expected{"ENQ", "FRAME:SI1", "FRAME:" + records[0], "ETB"};
        for (std::size_t i = 1; i < records.size(); ++i) {
            script.push_back({kAck});
            expected.push_back("FRAME:" + records[i]);
        }
        script.push_back({registerFrame("E  18")});
        script.push_back({kEot});
        expected.push_back("EOT");
        expected.push_back("ACK");
        r.port.script(script);

        std::vector<StatusCode> results;
        for (std::size_t i = 0; i < records.size(); ++i) {
            results.push_back(r.link.sendRecordChained("SI1", records[i], positions[i]));
        }
        std::vector<StatusCode> expectedResults(records.size(), 0);
        expectedResults.back() = 18;
        EXPECT_EQ(results, expectedResults) << n;
        EXPECT_EQ(r.port.events(), expected) << n;
        EXPECT_EQ(r.link.sentRecordCount(), static_cast<int>(records.size()));
    }
}

}  // namespace
}  // namespace lorvex::test
