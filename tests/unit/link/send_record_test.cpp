#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/scripted_port.h"

namespace lorvex::test {
namespace {

const std::string kAck(1, static_cast<char>(ACK));
const std::string kEot(1, static_cast<char>(EOT));
const std::string kRequest = buildRequest('D', 1, 5, 5);
const std::string kRecord = "DD" + std::string(38, 'x');  // 40 bytes
const std::string kRequestFrame = "FRAME:" + kRequest;
const std::string kRecordFrame = "FRAME:" + kRecord;

struct Load : LinkRig {
    using LinkRig::LinkRig;
    StatusCode send() { return link.sendRecord(kRequest, kRecord); }
};

TEST(SendRecord, TheStatusComesFromTheLastFrameAndSilencesEndTheTransaction) {
    const std::string status35 = registerFrame("E  35");
    const std::string ackInFrame = std::string("\x02") + "E" + kAck + " 35\x03" + "0000";
    struct Case {
        const char* what;
        Script script;
        StatusCode status;
        std::string events;  // R: the request frame, D: the record frame
    };
    const std::vector<Case> cases{
        {"decimal status", {{kAck}, {kAck}, {kAck}, {status35}, {kEot}}, 35, "ENQ R D EOT ACK"},
        {"a letter as the second digit",
         {{kAck}, {kAck}, {kAck}, {registerFrame("E  2A")}, {kEot}},
         47,
         "ENQ R D EOT ACK"},
        {"no status frame", {{kAck}, {kAck}, {kAck}, {kEot}}, 0, "ENQ R D EOT"},
        {"no answer to the enquiry", {}, -1, "ENQ"},
        {"1024 stray bytes before the ACK are borne",
         {{std::string(1024, 'x') + kAck}, {kAck}, {kAck}, {kEot}},
         0,
         "ENQ R D EOT"},
        {"the 1025th ends the transaction", {{std::string(1025, 'x') + kAck}}, -1, "ENQ"},
        // An EOT answers each silence; only a record the register took may count as loaded.
        {"request never acknowledged", {{kAck}}, -1, "ENQ R EOT EOT"},
        {"record never acknowledged", {{kAck}, {kAck}}, -1, "ENQ R D EOT EOT"},
        {"record taken, no status", {{kAck}, {kAck}, {kAck}}, 0, "ENQ R D EOT EOT EOT"},
        // The register took the record; whether it stored it is unknown.
        {"status frame cut",
         {{kAck}, {kAck}, {kAck}, {status35.substr(0, 4)}},
         kLinkLost,
         "ENQ R D EOT EOT EOT"},
        {"an ACK inside the status frame is answered with EOT",
         {{kAck}, {kAck}, {kAck}, {ackInFrame}, {""}, {kEot}},
         35,
         "ENQ R D EOT EOT ACK"},
        {"status frame, no EOT",
         {{kAck}, {kAck}, {kAck}, {status35}},
         35,
         "ENQ R D EOT ACK EOT EOT"},
    };
    for (const Case& c : cases) {
        Load l(c.script);
        EXPECT_EQ(l.send(), c.status) << c.what;
        std::vector<std::string> events;
        std::istringstream names(c.events);
        for (std::string n; names >> n;)
            events.push_back(n == "R" ? kRequestFrame : n == "D" ? kRecordFrame : n);
        EXPECT_EQ(l.port.events(), events) << c.what;
        EXPECT_LE(l.clock.nowMs(), 10500u) << c.what;
    }
}

// The register's '@' (alone, or after DLE) asks the PC to end the transaction: it is answered
// with EOT at once, not after a silence.
TEST(SendRecord, TheRegistersAtSignIsAnsweredWithEotAtOnce) {
    for (const std::string& ask : {std::string("@"), std::string("\x10@")}) {
        Load l({{kAck}, {kAck}, {ask}, {kEot}});
        EXPECT_EQ(l.send(), 0);
        const int eots = ask.size() == 1 ? 1 : 2;  // after DLE '@' the EOT goes out twice
        std::vector<std::string> expected{"ENQ", kRequestFrame, kRecordFrame};
        expected.insert(expected.end(), eots, "EOT");
        EXPECT_EQ(l.port.events(), expected) << ask.size();
        EXPECT_EQ(l.port.eventTimes().back(), l.port.eventTimes()[2]) << ask.size();
    }
}

TEST(SendRecord, RefusalsResendTheRecordOnlyAfterItsLengthAndEndAtTheHundredAndFirst) {
    Load l({{kAck}, {kAck}, {std::string(101, NAK)}});
    EXPECT_EQ(l.send(), -1);
    // The 48th to the 100th refusal of a 40-byte record each resend it.
    EXPECT_EQ(l.port.count(kRecordFrame), 1 + 53);
    EXPECT_EQ(l.port.events().back(), "EOT");
}

TEST(SendRecord, ADeadLineEndsTheLoadInBoundedTime) {
    Load l;
    l.port.writesBeforeFailure = 0;
    EXPECT_EQ(l.send(), -1);
    EXPECT_LE(l.clock.nowMs(), 100u + 5000u + 100u);
}

TEST(SendRecord, ABusyRegisterIsToldToStopAfterAThousandBusyBytes) {
    Load l({{kAck},
            {kAck},
            {std::string(1002, HT) + kAck},
            {""},  // the EOT answering busy byte 1001
            {""},  // and 1002
            {registerFrame("E  00")},
            {kEot}});
    EXPECT_EQ(l.send(), 0);
    EXPECT_EQ(l.port.count("EOT"), 3);
    EXPECT_GT(l.console.spinnerDraws(), 1002);
}

// A PLU batch of n records in one transaction: positions 0, 1 ... 1, 2; a single record is sent
// twice, at positions 0 and 2.
TEST(SendRecord, ChainedBatchesOfOneTwoAndThreeRecords) {
    for (const int n : {1, 2, 3}) {
        std::vector<std::string> records;
        for (int i = 0; i < std::max(n, 2); ++i)
            records.push_back("DI" + std::to_string(n == 1 ? 1 : i + 1));
        std::vector<RecordPosition> positions{RecordPosition::First};
        for (int i = 1; i + 1 < static_cast<int>(records.size()); ++i)
            positions.push_back(RecordPosition::Middle);
        positions.push_back(RecordPosition::Last);

        Script script{{kAck}, {kAck}, {kAck}, {""}};
        std::vector<std::string> expected{"ENQ", "FRAME:SI1", "FRAME:" + records[0], "ETB"};
        for (std::size_t i = 1; i < records.size(); ++i) {
            script.push_back({kAck});
            expected.push_back("FRAME:" + records[i]);
        }
        script.insert(script.end(), {{registerFrame("E  18")}, {kEot}});
        expected.insert(expected.end(), {"EOT", "ACK"});
        LinkRig r(script);

        std::vector<StatusCode> results;
        for (std::size_t i = 0; i < records.size(); ++i)
            results.push_back(r.link.sendRecordChained("SI1", records[i], positions[i]));
        std::vector<StatusCode> expectedResults(records.size(), 0);
        expectedResults.back() = 18;
        EXPECT_EQ(results, expectedResults) << n;
        EXPECT_EQ(r.port.events(), expected) << n;
        EXPECT_EQ(r.link.sentRecordCount(), static_cast<int>(records.size()));
    }
}

TEST(SendRecord, TraceAtLevelFourShowsTheChainsBytes) {
    LinkRig r({{kAck}, {kAck}, {kAck}, {""}, {kAck}, {registerFrame("E  18")}, {kEot}}, 4);
    r.link.sendRecordChained("SI1", "DI1", RecordPosition::First);
    r.link.sendRecordChained("SI1", "DI2", RecordPosition::Last);
    EXPECT_EQ(r.console.text(),
              "\n_>5\n6,\n_>2\nSI1\n_>3\n001D6,\n>6,\n_>2\nDI1\n_>3\n000A\n6,6,\n_>23\n\n>6,\n_>"
              "2\nDI2\n_>3\n0006\n6,6,\n_>4\n2,2,69,32,32,32,32,49,49,56,56,3,3,\n_>6\n4,4\n");
}

// A zero byte cannot travel: the frame and its checksum end where the record's text ends.
TEST(SendRecord, AZeroByteEndsTheFrameAndItsChecksum) {
    LinkRig r({{kAck}, {kAck}, {kAck}, {kEot}});
    EXPECT_EQ(r.link.sendRecord(kRequest, std::string("DD1JA\0N", 7)), 0);
    EXPECT_EQ(r.port.events().at(2), "FRAME:DD1JA");
}

}  // namespace
}  // namespace lorvex::test
