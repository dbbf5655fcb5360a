#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "link/frame.h"
#include "link/register_link.h"
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

}  // namespace
}  // namespace lorvex::test
