#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/link_limits.h"
#include "link/register_link.h"
#include "pc_events.h"
#include "scripted_port.h"

namespace lorvex::test {
namespace {

// A device whose wait always says bytes are waiting while its reads give none (a driver that
// keeps signalling a line error, a pty whose other side went away with a readable hang-up).
class ReadyButEmptyPort final : public SerialPort {
  public:
    bool writeBytes(const std::uint8_t*, std::size_t) override { return true; }
    std::size_t readAvailable(std::uint8_t*, std::size_t) override {
        ++reads;
        return 0;
    }
    WaitResult waitReadable(std::uint32_t) override {
        ++waits;
        return WaitResult::Ready;
    }
    void flushOutput() override {}
    void setDtr(int) override {}
    void setRts(int) override {}
    int readModemLines() override { return 0; }

    int reads = 0;
    int waits = 0;
};

TEST(Waiting, ADeviceReadyWithoutBytesIsSilenceNotATightLoop) {
    VirtualClock clock;
    ReadyButEmptyPort port;
    CapturingConsole console;
    RegisterLink link(port, clock, console, 0);

    EXPECT_EQ(link.receiveByte(), kTimeoutMarker);
    EXPECT_EQ(clock.nowMs(), 5000u) << "the byte time-out still runs out, and no sooner";
    EXPECT_LE(port.waits, 60) << "time passes between looks";
    EXPECT_EQ(port.reads, port.waits) << "every wait that says ready is followed by a read";
}

TEST(Waiting, EachArrivalCostsOneWaitAndOneRead) {
    VirtualClock clock;
    ScriptedPort port(clock);
    CapturingConsole console;
    RegisterLink link(port, clock, console, 0);
    // Three bytes a line's byte apart, then one just as the time-out runs out.
    port.sendLater("a", 1);
    port.sendLater("b", 2);
    port.sendLater("c", 3);

    EXPECT_EQ(link.receiveByte(), 'a');
    EXPECT_EQ(link.receiveByte(), 'b');
    EXPECT_EQ(link.receiveByte(), 'c');
    EXPECT_EQ(port.waitCalls, 3);
    EXPECT_EQ(port.readCalls, 3) << "no read that finds nothing";
    EXPECT_EQ(clock.nowMs(), 3u) << "each byte is taken the moment it is there";

    port.sendLater("d", 5000);
    EXPECT_EQ(link.receiveByte(), 'd') << "a byte arriving as the time runs out still counts";
    EXPECT_EQ(clock.nowMs(), 5003u);
}

// Receives a whole answer of the given blocks (all but the last end in ETB) over a line that
// hands the register's bytes over one by one.
std::vector<std::string> receiveBlocks(ScriptedPort& port, RegisterLink& link,
                                       const std::vector<std::string>& blocks) {
    std::vector<ScriptedPort::Reply> replies{{std::string(1, ACK)}};
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        replies.push_back({registerFrame(blocks[i], i + 1 < blocks.size() ? ETB : ETX)});
    }
    replies.push_back({std::string(1, EOT)});
    port.script(replies);
    std::string buffer = buildRequest('I', 0, 0, 0);
    int blockCounter = 0;
    std::vector<std::string> texts;
    do {
        if (link.receiveAnswer(buffer, blockCounter) != 0) break;
        texts.push_back(buffer.substr(0, buffer.size() - 1));
    } while (blockCounter > 0);
    return texts;
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
        VirtualClock clock;
        ScriptedPort port(clock);
        port.msPerByte = 1;
        CapturingConsole console;
        RegisterLink link(port, clock, console, 0);
        const std::vector<std::string> blocks{block, block, block, c.last};

        EXPECT_EQ(receiveBlocks(port, link, blocks), blocks);
        EXPECT_LE(port.mostPastFrameEnd, c.mostLate) << c.last;
        EXPECT_GT(port.mostAskedFor, link_limits::kFrameTailBytes)
            << "alike blocks are waited for in pieces";
    }
}

}  // namespace
}  // namespace lorvex::test
