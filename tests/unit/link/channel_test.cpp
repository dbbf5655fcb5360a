#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/channel.h"
#include "text/format.h"

namespace lorvex::test {
namespace {

// Control lines and modem lines on the virtual clock; records every change with its time.
class LinePort final : public SerialPort {
  public:
    LinePort(VirtualClock& clock, std::function<int(int pulses)> lines)
        : clock_(clock), lines_(std::move(lines)) {}

    bool writeBytes(const std::uint8_t*, std::size_t) override { return true; }
    std::size_t readAvailable(std::uint8_t*, std::size_t) override { return 0; }
    WaitResult waitReadable(std::uint32_t) override { return WaitResult::TimedOut; }
    void flushOutput() override {}
    void setDtr(int on) override { log("DTR", on); }
    void setRts(int on) override {
        // A pulse is RTS raised and dropped again.
        if ((on & 0xFF) == 0 && rts_) ++pulses_;
        rts_ = (on & 0xFF) != 0;
        log("RTS", on);
    }
    int readModemLines() override {
        changes.push_back(format("%llu read", static_cast<unsigned long long>(clock_.nowMs())));
        return lines_(pulses_);
    }

    std::vector<std::string> changes;

  private:
    void log(const char* line, int on) {
        changes.push_back(format("%llu %s%d", static_cast<unsigned long long>(clock_.nowMs()), line,
                                 (on & 0xFF) != 0 ? 1 : 0));
    }

    VirtualClock& clock_;
    std::function<int(int)> lines_;
    bool rts_ = false;
    int pulses_ = 0;
};

TEST(SelectChannel, AChannelAlreadyShownNeedsNoPulse) {
    VirtualClock clock;
    LinePort port(clock, [](int) { return 3; });
    CapturingConsole console;
    EXPECT_EQ(selectChannel(port, clock, console, 3, 3), 0);
    const std::vector<std::string> expected{"0 read", "0 DTR0", "0 RTS0", "500 RTS1", "500 DTR1"};
    EXPECT_EQ(port.changes, expected);
    EXPECT_EQ(console.text(), "3\n");
}

TEST(SelectChannel, PulsesUntilTheLinesShowTheChannel) {
    VirtualClock clock;
    // The switch moves one channel a pulse, from channel 1.
    LinePort port(clock, [](int pulses) { return 1 + pulses; });
    CapturingConsole console;
    selectChannel(port, clock, console, 3, 4);
    const std::vector<std::string> firstPulse{"500 DTR0", "500 RTS1", "501 RTS0", "501 DTR1",
                                              "551 read"};
    ASSERT_GE(port.changes.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(port.changes.begin() + 3, port.changes.begin() + 8),
              firstPulse);
    EXPECT_EQ(console.text(), "1\n2\n3\n4\n");
    EXPECT_EQ(clock.nowMs(), 500u + 3 * 51u);
}

TEST(SelectChannel, AChannelNeverShownEndsAfterTwentyNinePulsesWithBothLinesRaised) {
    VirtualClock clock;
    LinePort port(clock, [](int) { return 0; });
    CapturingConsole console;
    EXPECT_EQ(selectChannel(port, clock, console, 0, 5), 0);
    int reads = 0;
    for (const auto& change : port.changes) reads += change.find("read") != std::string::npos;
    EXPECT_EQ(reads, 30);
    EXPECT_EQ(clock.nowMs(), 500u + 29 * 51u);
    const std::vector<std::string> last(port.changes.end() - 2, port.changes.end());
    EXPECT_EQ(last, (std::vector<std::string>{"1979 RTS1", "1979 DTR1"}));
    EXPECT_EQ(console.text(), "") << "no message, and no trace below level 3";
}

}  // namespace
}  // namespace lorvex::test
