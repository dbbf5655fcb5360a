#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/link_limits.h"
#include "support/scripted_port.h"

namespace lorvex::test {
namespace {

// A failing device, or one whose waits say bytes wait while its reads give none (a driver that
// keeps signalling a line error, a pty whose other side hung up): silence, not a tight loop.
TEST(Waiting, ADeviceThatGivesNoBytesIsSilenceNotATightLoop) {
    for (const auto reads : {ScriptedPort::Reads::Fail, ScriptedPort::Reads::ReadyButEmpty}) {
        LinkRig r;
        r.port.reads = reads;
        EXPECT_EQ(r.link.receiveByte(), kTimeoutMarker);
        EXPECT_EQ(r.clock.nowMs(), 5000u) << "the byte time-out still runs out, and no sooner";
        EXPECT_LE(r.port.waitCalls, 60) << "time passes between looks";
    }
}

TEST(Waiting, EachArrivalCostsOneWaitAndOneRead) {
    LinkRig r;
    // Three bytes a line's byte apart, then one just as the time-out runs out.
    r.port.msPerByte = 1;
    r.port.sendLater("abc", 1);
    for (const char c : std::string("abc")) EXPECT_EQ(r.link.receiveByte(), c);
    EXPECT_EQ(r.port.waitCalls, 3);
    EXPECT_EQ(r.port.readCalls, 3) << "no read that finds nothing";
    EXPECT_EQ(r.clock.nowMs(), 3u) << "each byte is taken the moment it is there";

    r.port.sendLater("d", 5000);
    EXPECT_EQ(r.link.receiveByte(), 'd') << "a byte arriving as the time runs out still counts";
    EXPECT_EQ(r.clock.nowMs(), 5003u);
    EXPECT_EQ(r.link.receiveByte(), kTimeoutMarker);
    EXPECT_EQ(r.clock.nowMs(), 10003u);
}

TEST(Waiting, InsideFramesOneWaitCoversManyBytesAndAGuessGoneWrongCostsLittle) {
    const std::string block = "DI" + std::string(70, 'x');
    struct Case {
        std::string last;
        std::size_t mostLate;  // bytes the PC may wake after the end of the last block
    };
    // After alike blocks an answer of another kind is never waited past; a shorter block of
    // the same kind costs at most 32 bytes' time (33 ms at 9600 baud), once.
    for (const Case& c : {Case{"EI021", 0}, Case{"DIshort", 32}}) {
        const std::vector<std::string> blocks{block, block, block, c.last};
        LinkRig r(dumpTransaction(blocks));
        r.port.msPerByte = 1;
        std::string buffer = buildRequest('I', 0, 0, 0);
        int blockCounter = 0;
        std::vector<std::string> texts;
        do {
            if (r.link.receiveAnswer(buffer, blockCounter) != 0) break;
            texts.push_back(buffer.substr(0, buffer.size() - 1));
        } while (blockCounter > 0);

        EXPECT_EQ(texts, blocks);
        EXPECT_LE(r.port.mostPastFrameEnd, c.mostLate) << c.last;
        EXPECT_GT(r.port.mostAskedFor, link_limits::kFrameTailBytes)
            << "alike blocks are waited for in pieces";
    }
}

}  // namespace
}  // namespace lorvex::test
