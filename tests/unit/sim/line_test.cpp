// The register's side of the line, byte by byte, against a PC played on the virtual clock: a frame
// it refuses, the time bytes take at the baud rate, the line switch on the control lines. The
// rest of the protocol is held byte for byte by the job tests, where the real program talks to it.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "link/frame.h"
#include "platform/clock.h"
#include "sim/simulated_port.h"
#include "sim/simulated_register.h"
#include "support/scripted_port.h"

namespace lorvex::sim {
namespace {

// A simulated register on a virtual clock; the test plays the PC byte by byte.
struct SimRig {
    // Writes the PC's bytes; what the register sends back before a second of silence.
    std::string say(const std::string& bytes) {
        port.writeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        std::string heard;
        std::uint8_t chunk[512];
        while (port.waitReadable(1000) == WaitResult::Ready) {
            const std::size_t count = port.readAvailable(chunk, sizeof chunk);
            if (count == 0) break;
            heard.append(reinterpret_cast<const char*>(chunk), count);
        }
        return heard;
    }

    SimulatedRegister reg;
    VirtualClock clock;
    SimulatedPort port{reg, clock};
};

std::string bytes(std::initializer_list<std::uint8_t> list) {
    return std::string(list.begin(), list.end());
}

TEST(RegisterProtocol, BadChecksumIsRefusedAndAnEnquiryStartsOver) {
    SimRig rig;
    const std::string req = "SH0" + std::string(17, '0') + "1" + std::string(17, '0') + "1";
    EXPECT_EQ(rig.say(bytes({ENQ})), bytes({ACK}));
    EXPECT_EQ(rig.say(bytes({STX}) + req + bytes({ETX}) + "0000"), bytes({NAK}));
    // Starting over, the dump goes through; the answer waits until the PC hands over with EOT.
    EXPECT_EQ(rig.say(bytes({ENQ})), bytes({ACK}));
    EXPECT_EQ(rig.say(test::registerFrame(req)), bytes({ACK}));
    EXPECT_EQ(rig.say(bytes({EOT})).substr(0, 6), bytes({STX}) + "DH101");
    EXPECT_EQ(rig.say(bytes({ACK})), bytes({EOT}));
}

TEST(RegisterLine, LineTimeMakesEachByteTakeTenBitTimes) {
    for (const int baud : {9600, 19200}) {
        SimRig rig;
        rig.reg.setBaud(baud);
        ASSERT_EQ(rig.say(bytes({ENQ}) + test::registerFrame("SB0" + std::string(36, '0'))),
                  bytes({ACK, ACK}));
        rig.say(bytes({EOT}));  // the header answer, over 200 bytes
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
    for (const int channel : {2, 3, 4, 1}) {  // past the last channel: the first again
        port.setRts(1);
        port.setRts(0);
        EXPECT_EQ(port.readModemLines(), channel);
    }
}

}  // namespace
}  // namespace lorvex::sim
