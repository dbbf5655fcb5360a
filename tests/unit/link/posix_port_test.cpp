#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>

#include "link/frame.h"
#include "link/open_port.h"
#include "link/register_link.h"
#include "support/pty.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

// The program's port opened through a COM1 symlink to the slave; the test keeps a descriptor of
// its own on the slave to look at the line settings and the input queue.
struct PtyPort : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        std::filesystem::create_symlink(pty.slavePath(), dir.path() / "COM1");
        slave = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(slave, 0);
    }
    void TearDown() override {
        if (slave >= 0) ::close(slave);
    }
    std::unique_ptr<SerialPort> open(bool baud19200 = false) {
        PortFailure failure;
        return openSerialPort("1", 1, baud19200, dir.path(), console, 0, failure);
    }
    int waitingOnSlave() const {
        int waiting = -1;
        ::ioctl(slave, FIONREAD, &waiting);
        return waiting;
    }
    // Bytes written to the master reach the slave a moment later.
    bool awaitWaiting(int count) const {
        for (int i = 0; i < 2000 && waitingOnSlave() < count; ++i) ::poll(nullptr, 0, 1);
        return waitingOnSlave() == count;
    }

    TempDir dir;
    PtyPair pty;
    int slave = -1;
    CapturingConsole console;
};

TEST_F(PtyPort, RawEightNoneOneAtTheChosenSpeed) {
    for (const bool fast : {false, true}) {
        auto port = open(fast);
        ASSERT_NE(port, nullptr);
        termios tio{};
        ASSERT_EQ(tcgetattr(slave, &tio), 0);
        EXPECT_EQ(cfgetospeed(&tio), fast ? B19200 : B9600);
        EXPECT_EQ(cfgetispeed(&tio), fast ? B19200 : B9600);
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD),
                  static_cast<tcflag_t>(CS8 | CLOCAL | CREAD));
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(port->readModemLines(), 0) << "a pty cannot tell its modem lines";
    }
}

TEST_F(PtyPort, ReadsOnlyWhatIsWaitingAtMostAsMuchAsAsked) {
    auto port = open();
    ASSERT_NE(port, nullptr);
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(port->readAvailable(buffer.data(), 100), 0u) << "nothing waiting, no blocking";
    EXPECT_EQ(port->waitReadable(0), WaitResult::TimedOut);

    const std::string sent = "abc" + std::string(247, 'x');
    ASSERT_EQ(::write(pty.master(), sent.data(), sent.size()), 250);
    ASSERT_TRUE(awaitWaiting(250));

    EXPECT_EQ(port->waitReadable(5000), WaitResult::Ready);
    EXPECT_EQ(port->readAvailable(buffer.data(), 100), 100u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 100), sent.substr(0, 100));
    EXPECT_EQ(port->readAvailable(buffer.data(), 1), 1u);
    EXPECT_EQ(waitingOnSlave(), 149);
}

TEST_F(PtyPort, ADeadLineEndsWritesAndWaitsInBoundedTime) {
    auto port = open();
    ASSERT_NE(port, nullptr);
    ::close(slave);
    slave = -1;
    pty.closeMaster();

    const std::uint8_t enq = 0x05;
    EXPECT_FALSE(port->writeBytes(&enq, 1));
    EXPECT_EQ(port->waitReadable(5000), WaitResult::Failed);

    VirtualClock clock;
    RegisterLink link(*port, clock, console, 0);
    EXPECT_FALSE(link.sendByte(0x05));
    EXPECT_LE(clock.nowMs(), 5100u);
    EXPECT_EQ(link.receiveByte(), kTimeoutMarker);
}

}  // namespace
}  // namespace lorvex::test
