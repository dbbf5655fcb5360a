#include <gtest/gtest.h>

#include <string>

#include "link/frame.h"
#include "link/register_link.h"
#include "pc_events.h"
#include "scripted_port.h"

namespace lorvex::test {
namespace {

const std::string kAck(1, static_cast<char>(ACK));
const std::string kEot(1, static_cast<char>(EOT));
const std::string kRequest = buildRequest('C', 0, 0, 0);

// A register played from a script, and the PC's side of one dump.
struct Rig {
    explicit Rig(std::vector<ScriptedPort::Reply> replies = {}) { port.script(std::move(replies)); }
    StatusCode receive() { return link.receiveAnswer(buffer, blockCounter); }
    VirtualClock clock;
    ScriptedPort port{clock};
    CapturingConsole console{true};
    RegisterLink link{port, clock, console, 0};
    std::string buffer = kRequest;
    int blockCounter = 0;
};

struct Dump : ::testing::Test, Rig {};

TEST_F(Dump, OneBlockAnswerWithTheProtocolPauses) {
    port.script({{kAck}, {registerFrame("DCfooter")}, {kEot}});

    EXPECT_EQ(receive(), 0);

    EXPECT_EQ(blockCounter, 0);
    EXPECT_EQ(buffer, "DCfooter\x03");
    const std::vector<std::string> expected{"ENQ", "FRAME:" + kRequest, "ACK", "EOT"};
    EXPECT_EQ(port.events(), expected);
    const auto& at = port.eventTimes();
    EXPECT_EQ(at[0], 100u) << "100 ms before the enquiry";
    EXPECT_EQ(at[1], 200u) << "100 ms before each read awaiting the ACK";
    EXPECT_EQ(at[3], at[2] + 100) << "100 ms before the closing EOT";
}

TEST_F(Dump, FooterRequestFrameCarriesChecksum000D) {
    link.sendFrame(kRequest);
    ASSERT_EQ(kRequest.size(), 39u);
    EXPECT_EQ(port.events(), std::vector<std::string>{"FRAME:" + kRequest});
    EXPECT_EQ(frameChecksum(kRequest), 0x000D);
    EXPECT_EQ(frameChecksum("abc"), 0x0131);
}

TEST_F(Dump, NoAnswerToTheEnquiryEndsWithMinusOne) {
    EXPECT_EQ(receive(), -1);
    EXPECT_EQ(port.events(), std::vector<std::string>{"ENQ"});
    EXPECT_EQ(buffer, kRequest);
    EXPECT_LE(clock.nowMs(), 5300u);
}

TEST_F(Dump, TwoSilencesAreBorneTheThirdEndsTheDump) {
    struct Case {
        std::uint32_t answerAfterMs;
        StatusCode status;
    };
    for (const Case c : {Case{10500, 0}, Case{15500, 99}}) {
        Rig r({{kAck}, {registerFrame("DCx"), c.answerAfterMs}, {kEot}});
        EXPECT_EQ(r.receive(), c.status) << c.answerAfterMs;
        EXPECT_EQ(r.blockCounter, 0);
    }
}

TEST_F(Dump, SilenceInTheMiddleOfABlockSeriesStopsTheSeries) {
    blockCounter = 3;
    EXPECT_EQ(receive(), 99);
    EXPECT_EQ(blockCounter, 0) << "a caller looping while the counter is above 0 must stop";
    EXPECT_TRUE(port.events().empty()) << "a continuation sends no enquiry";
}

TEST_F(Dump, RefusalsBeyondTheLimitAbandonTheTransactionAsAFailure) {
    struct Case {
        int naks;
        StatusCode status;
        std::string buffer;
    };
    for (const Case& c : {Case{101, 0, "DCx\x03"}, Case{102, -1, kRequest}}) {
        Rig r({{kAck}, {std::string(c.naks, NAK) + registerFrame("DCx")}, {kEot}});
        EXPECT_EQ(r.receive(), c.status) << c.naks;
        EXPECT_EQ(r.buffer, c.buffer);
        EXPECT_EQ(r.blockCounter, 0);
        EXPECT_EQ(r.port.events()[2], c.status == 0 ? "ACK" : "EOT");
    }
}

TEST_F(Dump, BusyBytesRedrawTheSpinnerUntilTheirLimit) {
    port.script({{kAck}, {std::string(500, HT) + registerFrame("DCx")}, {kEot}});
    EXPECT_EQ(receive(), 0);
    EXPECT_EQ(buffer, "DCx\x03");
    EXPECT_GT(console.spinnerDraws(), 500);

    Rig busy({{kAck}, {std::string(100001, HT) + registerFrame("DCx")}});
    EXPECT_EQ(busy.receive(), 99);
    EXPECT_EQ(busy.port.events().back(), "EOT");
}

TEST_F(Dump, MultiBlockAnswerIsReadBlockByBlock) {
    port.script({{kAck}, {registerFrame("DIone", ETB)}, {registerFrame("DItwo")}, {kEot}});

    EXPECT_EQ(receive(), 0);
    EXPECT_EQ(blockCounter, 1);
    EXPECT_EQ(buffer, "DIone\x17");

    buffer.clear();
    EXPECT_EQ(receive(), 0);
    EXPECT_EQ(blockCounter, 0);
    EXPECT_EQ(buffer, "DItwo\x03");
    const std::vector<std::string> expected{"ENQ", "FRAME:" + kRequest, "ACK", "ACK", "EOT"};
    EXPECT_EQ(port.events(), expected);
}

TEST_F(Dump, LongAnswersKeepTheirFirstBytesAndTheClosingByte) {
    for (const std::size_t length : {1023u, 1100u}) {
        std::string text = "DR";
        for (std::size_t i = 2; i < length; ++i) text += static_cast<char>('0' + i % 10);
        Rig r({{kAck}, {registerFrame(text)}, {kEot}});
        EXPECT_EQ(r.receive(), 0);
        EXPECT_EQ(r.buffer, text.substr(0, 1023) + "\x03") << length;
    }
}

TEST_F(Dump, ExclamationMarksAreTextAndZeroBytesAreDropped) {
    // '!' is also what a silence reads as; in a receipt text it is just a letter.
    const std::string text = std::string("DBZapraszamy! Dzi") + '\0' + "kujemy! Do zobaczenia!";
    port.script({{kAck}, {registerFrame(text)}, {kEot}});
    EXPECT_EQ(receive(), 0);
    EXPECT_EQ(buffer, "DBZapraszamy! Dzikujemy! Do zobaczenia!\x03");
}

TEST_F(Dump, AWriteThatKeepsFailingEndsTheTransactionInBoundedTime) {
    port.writesBeforeFailure = 3;  // ENQ, STX and 'S' go out, then the adapter is pulled out
    port.script({{kAck}});
    EXPECT_EQ(receive(), -1);
    EXPECT_EQ(blockCounter, 0);
    EXPECT_LE(clock.nowMs(), 200u + 5000u + 100u);
    EXPECT_LE(port.writeCalls, 60) << "retries pause between attempts";
}

TEST_F(Dump, AFailingReadCountsAsSilenceWithoutSpinning) {
    port.failReads = true;
    EXPECT_EQ(receive(), -1);
    EXPECT_LE(clock.nowMs(), 5300u);
    EXPECT_LE(port.waitCalls, 60);
}

TEST_F(Dump, TraceAtLevelFourShowsEveryByte) {
    RegisterLink traced(port, clock, console, 4);
    port.script({{kAck}, {registerFrame("DY")}, {kEot}});
    buffer = "SX";
    EXPECT_EQ(traced.receiveAnswer(buffer, blockCounter), 0);
    EXPECT_EQ(console.text(),
              "start\n\n_>5\n<<6\n\n_>2\nSX\n_>3\n00EF<2\nY<3\n\n_>6\n<4\n\n_>4\nEOT\n");
}

TEST_F(Dump, ReceiveByteRefillsTheRingAHundredBytesAtATime) {
    std::string waiting;
    for (int i = 0; i < 250; ++i) waiting += static_cast<char>(i);
    port.sendLater(waiting);

    EXPECT_EQ(link.receiveByte(), 0);
    EXPECT_EQ(port.bytesNotRead(), 150u);
    for (int i = 1; i < 100; ++i) ASSERT_EQ(link.receiveByte(), i);
    EXPECT_EQ(port.bytesNotRead(), 150u) << "the ring is refilled only when empty";
    EXPECT_EQ(link.receiveByte(), 100);
    EXPECT_EQ(port.bytesNotRead(), 50u);
}

TEST_F(Dump, ReceiveByteReturnsAsSoonAsAByteArrivesAndGivesUpAfterFiveSeconds) {
    port.sendLater("x", 3210);
    EXPECT_EQ(link.receiveByte(), 'x');
    EXPECT_EQ(clock.nowMs(), 3210u);

    EXPECT_EQ(link.receiveByte(), kTimeoutMarker);
    EXPECT_EQ(clock.nowMs(), 3210u + 5000u);
}

}  // namespace
}  // namespace lorvex::test
