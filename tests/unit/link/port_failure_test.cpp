// Why a port could not be opened, on a pseudo-terminal and the devices every system has.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <regex>
#include <utility>

#include "link/device_port.h"
#include "link/posix/open_failure.h"
#include "support/pty.h"

namespace lorvex::test {
namespace {

const std::regex kDeviceList("no serial device found: .*|serial devices here: /dev/.*");

TEST(PortFailure, TheSystemsReasonWithAHintThatHelps) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const int ownLook = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(ownLook, 0);
    CapturingConsole console;
    PortFailure unused;
    auto holder = openDevicePort(pty.slavePath(), false, console, 0, unused);
    ASSERT_NE(holder, nullptr);

    PortFailure busy;
    EXPECT_EQ(openDevicePort(pty.slavePath(), false, console, 0, busy), nullptr);
    EXPECT_EQ(busy.reason, "Device or resource busy");
    EXPECT_EQ(busy.hint, "another program holds it: process " + std::to_string(::getpid()));
    int exclusive = 0;
    ASSERT_EQ(::ioctl(ownLook, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1) << "the failed open left the holder's exclusive flag alone";
    holder.reset();
    // Held open by another process without its lock: that process is named.
    const pid_t other = ::fork();
    if (other == 0) ::pause();
    ASSERT_GT(other, 0);
    explainOpenFailure(pty.slavePath(), EBUSY, busy);
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    EXPECT_EQ(busy.hint, "another program holds it: process " + std::to_string(other));
    ::close(ownLook);
    EXPECT_NE(openDevicePort(pty.slavePath(), false, console, 0, busy), nullptr) << "closed, free";

    for (const auto& [path, reason] :
         {std::pair{"/dev/lorvex-no-such-port", "No such file or directory"},
          {"/dev/null", "not a serial device"}}) {
        PortFailure failure;
        EXPECT_EQ(openDevicePort(path, false, console, 0, failure), nullptr);
        EXPECT_EQ(failure.reason, reason) << path;
        EXPECT_TRUE(std::regex_match(failure.hint, kDeviceList)) << failure.hint;
    }
}

TEST(PortFailure, PermissionDeniedNamesTheDevicesGroup) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const group* dialout = ::getgrnam("dialout");
    if (dialout == nullptr || ::chown(pty.slavePath().c_str(), -1, dialout->gr_gid) != 0) {
        GTEST_SKIP() << "no dialout group to give the pty to";
    }
    PortFailure failure;
    explainOpenFailure(pty.slavePath(), EACCES, failure);
    EXPECT_EQ(failure.reason, "Permission denied");
    EXPECT_EQ(failure.hint, "add yourself to the dialout group: sudo adduser $USER dialout");
}

}  // namespace
}  // namespace lorvex::test
