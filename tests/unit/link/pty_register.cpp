#include "pty_register.h"

#include <poll.h>
#include <unistd.h>

#include <array>

#include "pc_events.h"

namespace lorvex::test {

namespace {

constexpr int kIdleLimitMs = 2000;

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    for (int attempt = 0; done < bytes.size() && attempt < 1000; ++attempt) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) done += static_cast<std::size_t>(n);
    }
}

}  // namespace

PtyRegister::PtyRegister(int master, std::vector<std::string> replies, std::size_t events)
    : master_(master), replies_(std::move(replies)), expected_(events) {
    thread_ = std::thread([this] { serve(); });
}

PtyRegister::~PtyRegister() {
    finish();
}

const std::vector<std::string>& PtyRegister::finish() {
    if (thread_.joinable()) thread_.join();
    return events_;
}

void PtyRegister::serve() {
    PcEventParser parser;
    std::size_t nextReply = 0;
    while (events_.size() < expected_) {
        pollfd readable{master_, POLLIN, 0};
        if (::poll(&readable, 1, kIdleLimitMs) <= 0) return;
        std::array<std::uint8_t, 256> bytes{};
        const ssize_t got = ::read(master_, bytes.data(), bytes.size());
        if (got <= 0) return;
        for (ssize_t i = 0; i < got; ++i) {
            std::string event;
            if (!parser.feed(bytes[static_cast<std::size_t>(i)], event)) continue;
            events_.push_back(event);
            if (nextReply < replies_.size()) writeAll(master_, replies_[nextReply++]);
        }
    }
}

}  // namespace lorvex::test
