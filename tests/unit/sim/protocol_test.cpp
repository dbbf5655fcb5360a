// The register's side of the line, byte by byte, against a PC played on the virtual clock. The
// rest of the protocol is held byte for byte by the job tests, where the real program talks to it.

#include <gtest/gtest.h>

#include <string>

#include "link/frame.h"
#include "sim_rig.h"

namespace lorvex::sim {
namespace {

TEST(RegisterProtocol, BadChecksumIsRefusedAndAnEnquiryStartsOver) {
    SimRig rig;
    const std::string req = request('H', 0, 1, 1);
    EXPECT_EQ(rig.say(bytes({ENQ})), bytes({ACK}));
    EXPECT_EQ(rig.say(bytes({STX}) + req + bytes({ETX}) + "0000"), bytes({NAK}));
    EXPECT_EQ(rig.reg.engine().badFrames(), 1);
    // Starting over, the dump goes through; the answer waits until the PC hands over with EOT.
    EXPECT_EQ(rig.say(bytes({ENQ})), bytes({ACK}));
    EXPECT_EQ(rig.say(test::registerFrame(req)), bytes({ACK}));
    const std::string answer = rig.say(bytes({EOT}));
    ASSERT_GT(answer.size(), 6u);
    EXPECT_EQ(answer, test::registerFrame(answer.substr(1, answer.size() - 6)));
    EXPECT_EQ(answer.substr(1, 5), "DH101");
    EXPECT_EQ(rig.say(bytes({ACK})), bytes({EOT}));
    EXPECT_EQ(rig.say(bytes({EOT})), "");
    ASSERT_EQ(rig.reg.exchanges().size(), 2u);
    EXPECT_FALSE(rig.reg.exchanges()[0].completed);
    EXPECT_TRUE(rig.reg.exchanges()[1].completed);
}

}  // namespace
}  // namespace lorvex::sim
