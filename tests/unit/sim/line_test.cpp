// The line itself: the time bytes take at the baud rate, and the line switch on the control lines.

#include <gtest/gtest.h>

#include "sim_rig.h"

namespace lorvex::sim {
namespace {

TEST(RegisterLine, LineTimeMakesEachByteTakeTenBitTimes) {
    for (const int baud : {9600, 19200}) {
        SimRig rig;
        rig.reg.setBaud(baud);
        ASSERT_EQ(rig.say(bytes({ENQ}) + test::registerFrame(request('B', 0))), bytes({ACK, ACK}));
        EXPECT_GT(rig.say(bytes({EOT})).size(), 200u);  // the header answer
        EXPECT_EQ(rig.say(bytes({ACK})), bytes({EOT}));
        const auto& entries = rig.reg.transcript().entries();
        const std::uint64_t byteUs = (10'000'000 + baud - 1) / baud;
        std::size_t spaced = 0;
        for (std::size_t i = 1; i < entries.size(); ++i) {
            if (entries[i].side != entries[i - 1].side) continue;
            EXPECT_GE(entries[i].us - entries[i - 1].us, byteUs) << i;
            ++spaced;
        }
        EXPECT_GT(spaced, 200u);
    }
}

TEST(RegisterLine, TheLineSwitchStepsOnEachRtsPulseWithDtrLow) {
    SimulatedRegister reg;
    VirtualClock clock;
    SimulatedPort port(reg, clock, LineSwitch{4, 1});
    EXPECT_EQ(port.readModemLines(), 1);
    port.setDtr(0);
    for (int pulse = 0; pulse < 3; ++pulse) {
        port.setRts(1);
        port.setRts(0);
    }
    EXPECT_EQ(port.readModemLines(), 4);
    port.setRts(1);
    port.setRts(0);
    EXPECT_EQ(port.readModemLines(), 1);  // past the last channel: the first again
    port.setDtr(256);                     // only the low byte counts: still low
    port.setRts(1);
    EXPECT_EQ(port.readModemLines(), 2);
}

}  // namespace
}  // namespace lorvex::sim
