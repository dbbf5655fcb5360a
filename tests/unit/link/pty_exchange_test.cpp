#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/open_port.h"
#include "link/register_link.h"
#include "pc_events.h"
#include "pty_pair.h"
#include "pty_register.h"
#include "unit/core/temp_dir.h"

namespace lorvex::test {
namespace {

const std::string kAck(1, static_cast<char>(ACK));
const std::string kEot(1, static_cast<char>(EOT));

// Whole transactions through the real port on a pseudo-terminal, in real time.
struct PtyExchange : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        std::filesystem::create_symlink(pty.slavePath(), dir.path() / "com1");
        PortFailure failure;
        port = openSerialPort("1", 1, true, dir.path(), console, 0, failure);
        ASSERT_NE(port, nullptr);
    }

    coretest::TempDir dir;
    PtyPair pty;
    CapturingConsole console;
    SystemClock clock;
    std::unique_ptr<SerialPort> port;
};

TEST_F(PtyExchange, DumpOfADepartment) {
    // "DH", number 1, the name "Pieczywo świeże" in code page 852.
    const std::string answer =
        "DH01Pieczywo \x98wie\xBE"
        "e   000000123400";
    PtyRegister reg(pty.master(), {kAck, registerFrame(answer), kEot}, 4);
    RegisterLink link(*port, clock, console, 0);
    std::string buffer = buildRequest('H', 0, 1, 1);
    const std::string request = buffer;
    int blockCounter = 0;

    EXPECT_EQ(link.receiveAnswer(buffer, blockCounter), 0);
    EXPECT_EQ(blockCounter, 0);
    EXPECT_EQ(buffer, answer + "\x03");
    const std::vector<std::string> expected{"ENQ", "FRAME:" + request, "ACK", "EOT"};
    EXPECT_EQ(reg.finish(), expected);
}

TEST_F(PtyExchange, LoadOfACashierWithTheRegisterStatus) {
    const std::string request = buildRequest('D', 1, 5, 5);
    const std::string record =
        "DD05Kasjer \xA5"
        "dam        0005";
    PtyRegister reg(pty.master(), {kAck, kAck, kAck, registerFrame("E  09"), kEot}, 5);
    RegisterLink link(*port, clock, console, 0);

    EXPECT_EQ(link.sendRecord(request, record), 9);
    const std::vector<std::string> expected{"ENQ", "FRAME:" + request, "FRAME:" + record, "EOT",
                                            "ACK"};
    EXPECT_EQ(reg.finish(), expected);
}

}  // namespace
}  // namespace lorvex::test
