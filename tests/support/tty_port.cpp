#include "support/tty_port.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace lorvex::test {

#ifndef _WIN32
namespace {

class TtyPort final : public SerialPort {
  public:
    explicit TtyPort(int fd) : fd_(fd) {}
    ~TtyPort() override { ::close(fd_); }

    bool writeBytes(const std::uint8_t* data, std::size_t count) override {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t written = ::write(fd_, data + done, count - done);
            if (written > 0) {
                done += static_cast<std::size_t>(written);
                continue;
            }
            if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
            pollfd fd{fd_, POLLOUT, 0};
            if (::poll(&fd, 1, 5000) <= 0) return false;
        }
        return true;
    }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        const ssize_t count = ::read(fd_, buffer, most);
        return count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    WaitResult waitReadable(std::uint32_t timeoutMs) override {
        pollfd fd{fd_, POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(timeoutMs));
        if (ready == 0) return WaitResult::TimedOut;
        if (ready < 0 || (fd.revents & POLLIN) == 0) return WaitResult::Failed;
        return WaitResult::Ready;
    }
    void flushOutput() override { ::tcdrain(fd_); }
    void setDtr(int) override {}
    void setRts(int) override {}
    int readModemLines() override { return 0; }

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<SerialPort> openTtyForTest(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    termios raw{};
    if (::tcgetattr(fd, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
    return std::make_unique<TtyPort>(fd);
}

#else

std::unique_ptr<SerialPort> openTtyForTest(const std::string& path, std::string& error) {
    error = "no tty " + path + " on Windows";
    return nullptr;
}

#endif

}  // namespace lorvex::test
