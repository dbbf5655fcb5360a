#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/scripted_port.h"

namespace lorvex::test {
namespace {

using namespace std::string_literals;

const std::string kAck(1, static_cast<char>(ACK));
const std::string kEot(1, static_cast<char>(EOT));
const std::string kRequest = buildRequest('D', 1, 5, 5);
// 40 bytes; a zero byte cannot travel: the frame and its checksum end where the text ends.
const std::string kRecord = "DD" + std::string(36, 'x') + '\0' + 'N';
const std::string kRequestFrame = "FRAME:" + kRequest;
const std::string kRecordFrame = "FRAME:" + kRecord.substr(0, 38);

struct Load : LinkRig {
    using LinkRig::LinkRig;
    StatusCode send() { return link.sendRecord(kRequest, kRecord); }
};

// The register's '@' (alone, or after DLE) asks the PC to end the transaction: it is answered with
// EOT at once, not after a silence. Past a thousand busy bytes each one is answered with EOT.
TEST(SendRecord, TheStatusComesFromTheLastFrameAndSilencesEndTheTransaction) {
    const std::string status35 = registerFrame("E  35");
    const std::string busy = std::string(1002, HT) + kAck;
    const std::string ackInFrame = std::string("\x02") + "E" + kAck + " 35\x03" + "0000";
    struct Case {
        const char* what;
        Script script;
        StatusCode status;
        std::string events;  // R: the request frame, D: the record frame
        std::uint64_t mostMs = 10500;
    };
    const std::string k = kAck, e = kEot;
    const std::vector<Case> cases{
        {"decimal status", {k, k, k, status35, e}, 35, "ENQ R D EOT ACK"},
        {"a letter as a digit", {k, k, k, registerFrame("E  2A"), e}, 47, "ENQ R D EOT ACK"},
        {"no status frame", {k, k, k, e}, 0, "ENQ R D EOT"},
        {"no answer to the enquiry", {}, -1, "ENQ"},
        {"1024 stray bytes are borne", {std::string(1024, 'x') + k, k, k, e}, 0, "ENQ R D EOT"},
        {"the 1025th ends the transaction", {std::string(1025, 'x') + k}, -1, "ENQ"},
        // An EOT answers each silence; only a record the register took may count as loaded.
        {"request never acknowledged", {k}, -1, "ENQ R EOT EOT"},
        {"record never acknowledged", {k, k}, -1, "ENQ R D EOT EOT"},
        {"record taken, no status", {k, k, k}, 0, "ENQ R D EOT EOT EOT"},
        // The register took the record; whether it stored it is unknown.
        {"status frame cut", {k, k, k, status35.substr(0, 4)}, kLinkLost, "ENQ R D EOT EOT EOT"},
        {"an ACK inside the status", {k, k, k, ackInFrame, ""s, e}, 35, "ENQ R D EOT EOT ACK"},
        {"status frame, no EOT", {k, k, k, status35}, 35, "ENQ R D EOT ACK EOT EOT"},
        {"'@'", {k, k, "@"s, e}, 0, "ENQ R D EOT", 1000},
        {"DLE '@' is answered twice", {k, k, "\x10@"s, e}, 0, "ENQ R D EOT EOT", 1000},
        {"1002 busy bytes", {k, k, busy, ""s, ""s, status35, e}, 35, "ENQ R D EOT EOT EOT ACK"},
    };
    for (const Case& c : cases) {
        Load l(c.script);
        EXPECT_EQ(l.send(), c.status) << c.what;
        std::vector<std::string> events;
        std::istringstream names(c.events);
        for (std::string n; names >> n;)
            events.push_back(n == "R" ? kRequestFrame : n == "D" ? kRecordFrame : n);
        EXPECT_EQ(l.port.events(), events) << c.what;
        EXPECT_LE(l.clock.nowMs(), c.mostMs) << c.what;
    }
}

TEST(SendRecord, RefusalsResendTheRecordOnlyAfterItsLengthAndEndAtTheHundredAndFirst) {
    Load l({{kAck}, {kAck}, {std::string(101, NAK)}});
    EXPECT_EQ(l.send(), -1);
    // The 48th to the 100th refusal of a 40-byte record each resend it.
    EXPECT_EQ(l.port.count(kRecordFrame), 1 + 53);
    EXPECT_EQ(l.port.events().back(), "EOT");
}

// Goods go in one transaction: an ETB after the first record, the EOT after the last.
TEST(SendRecord, AChainsBytesOnTheWireAndTracedAtLevelFour) {
    LinkRig r({{kAck}, {kAck}, {kAck}, {""}, {kAck}, {registerFrame("E  18")}, {kEot}}, 4);
    EXPECT_EQ(r.link.sendRecordChained("SI1", "DI1", RecordPosition::First), 0);
    EXPECT_EQ(r.link.sendRecordChained("SI1", "DI2", RecordPosition::Last), 18);
    EXPECT_EQ(r.port.events(), (std::vector<std::string>{"ENQ", "FRAME:SI1", "FRAME:DI1", "ETB",
                                                         "FRAME:DI2", "EOT", "ACK"}));
    EXPECT_EQ(r.console.text(),
              "\n_>5\n6,\n_>2\nSI1\n_>3\n001D6,\n>6,\n_>2\nDI1\n_>3\n000A\n6,6,\n_>23\n\n>6,\n_>"
              "2\nDI2\n_>3\n0006\n6,6,\n_>4\n2,2,69,32,32,32,32,49,49,56,56,3,3,\n_>6\n4,4\n");
}

}  // namespace
}  // namespace lorvex::test
