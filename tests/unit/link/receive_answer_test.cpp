#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_port.h"

namespace lorvex::test {
namespace {

const std::string kAck(1, static_cast<char>(ACK));
const std::string kEot(1, static_cast<char>(EOT));
const std::string kRequest = buildRequest('C', 0, 0, 0);

// The PC's side of one dump against a scripted register.
struct Dump : LinkRig {
    using LinkRig::LinkRig;
    StatusCode receive() { return link.receiveAnswer(buffer, blockCounter); }
    std::string buffer = kRequest;
    int blockCounter = 0;
};

TEST(ReceiveAnswer, WholeTransactionsEndWithTheirStatusAndText) {
    std::string longText = "DR";
    for (int i = 2; i < 1100; ++i) longText += static_cast<char>('0' + i % 10);
    const std::string receipt = std::string("DBZapraszamy! Dzi") + '\0' + "kujemy!";
    struct Case {
        const char* what;
        Script script;
        StatusCode status;
        std::string buffer;
        int counter = 0;  // blocks of a series already read
    };
    const std::string dc = registerFrame("DCx");
    const std::string got = "DCx\x03";
    const Case cases[] = {
        {"no answer to the enquiry", {}, -1, kRequest},
        {"two silences are borne", {{kAck}, {dc, 10500}, {kEot}}, 0, got},
        {"the third ends the dump", {{kAck}, {dc, 15500}, {kEot}}, 99, ""},
        {"101 refusals are borne", {{kAck}, {std::string(101, NAK) + dc}, {kEot}}, 0, got},
        {"102 abandon the answer", {{kAck}, {std::string(102, NAK) + dc}, {kEot}}, -1, kRequest},
        {"busy bytes", {{kAck}, {std::string(500, HT) + dc}, {kEot}}, 0, got},
        {"busy beyond the limit", {{kAck}, {std::string(100001, HT) + dc}}, 99, ""},
        {"a long answer keeps its start and closing byte", dumpTransaction({longText}), 0,
         longText.substr(0, 1023) + "\x03"},
        // '!' is also what a silence reads as; in a receipt text it is just a letter.
        {"'!' is text, zero bytes are dropped", dumpTransaction({receipt}), 0,
         "DBZapraszamy! Dzikujemy!\x03"},
        {"silence in the middle of a series needs no enquiry", {}, 99, "", 3},
    };
    for (const Case& c : cases) {
        Dump d(c.script);
        d.blockCounter = c.counter;
        EXPECT_EQ(d.receive(), c.status) << c.what;
        if (c.status != 99) {
            EXPECT_EQ(d.buffer, c.buffer) << c.what;
        }
        EXPECT_EQ(d.blockCounter, 0) << c.what;  // a caller looping while it is above 0 stops
        EXPECT_EQ(d.port.events().empty(), c.counter > 0) << c.what;
        EXPECT_LE(d.clock.nowMs(), 16000u) << c.what;
        if (c.status == -1) {
            EXPECT_EQ(d.port.events().back(), c.script.empty() ? "ENQ" : "EOT") << c.what;
        }
    }
}

// At trace level four every byte is shown.
TEST(ReceiveAnswer, OneBlockWithTheProtocolPausesAndEveryByteTraced) {
    Dump d(Script{{kAck}, {registerFrame("DY")}, {kEot}}, 4);
    d.buffer = "SX";
    EXPECT_EQ(d.receive(), 0);
    EXPECT_EQ(d.console.text(),
              "start\n\n_>5\n<<6\n\n_>2\nSX\n_>3\n00EF<2\nY<3\n\n_>6\n<4\n\n_>4\nEOT\n");
    const std::vector<std::string> expected{"ENQ", "FRAME:SX", "ACK", "EOT"};
    EXPECT_EQ(d.port.events(), expected);
    const auto& at = d.port.eventTimes();
    EXPECT_EQ(at[0], 100u) << "100 ms before the enquiry";
    EXPECT_EQ(at[1], 200u) << "100 ms before each read awaiting the ACK";
    EXPECT_EQ(at[3], at[2] + 100) << "100 ms before the closing EOT";
}

// The checksum's shifts wrap after nine bytes; status digits are upper-case hex, 17 anything else.
TEST(FrameText, ChecksumAndStatusDigits) {
    EXPECT_EQ(frameChecksum(kRequest), 0x000D);
    struct Case {
        char first, second;
        int code;
    };
    const Case cases[] = {{'1', 'C', 28}, {'0', 'a', 17},   {'F', 'F', 255},
                          {'3', '5', 53}, {'\0', '0', 272}, {' ', ' ', 17 * 16 + 17}};
    for (const Case& c : cases) {
        EXPECT_EQ(parseStatus(c.first, c.second), c.code) << c.first << c.second;
    }
}

}  // namespace
}  // namespace lorvex::test
