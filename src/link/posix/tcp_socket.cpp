#include "link/net/tcp_socket.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

namespace lorvex {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif
constexpr int kMostInterruptions = 100;

using SteadyClock = std::chrono::steady_clock;

int msUntil(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
}

// Waits for `events` on the socket until the deadline: >0 when they came, 0 on time-out.
int pollUntil(int fd, short events, SteadyClock::time_point deadline, short& revents) {
    for (int attempt = 0; attempt < kMostInterruptions; ++attempt) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, msUntil(deadline));
        revents = entry.revents;
        if (ready >= 0 || errno != EINTR) return ready;
    }
    return 0;
}

// One address: the connected socket, or -1 with errno saying why.
int connectOne(const addrinfo& address, SteadyClock::time_point deadline) {
    const int fd =
        ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0) return -1;
    const int flags = ::fcntl(fd, F_GETFL);
    int error = 0;
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = errno;
    } else if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        error = errno;
        if (error == EINPROGRESS || error == EINTR) {
            short revents = 0;
            socklen_t length = sizeof error;
            if (pollUntil(fd, POLLOUT, deadline, revents) <= 0) {
                error = ETIMEDOUT;
            } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
                error = errno;
            }
        }
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<TcpSocket> TcpSocket::connect(const std::string& host, const std::string& port,
                                              std::uint32_t timeoutMs, std::string& reason) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (lookup != 0) {
        reason = lookup == EAI_SYSTEM ? errnoText(errno) : ::gai_strerror(lookup);
        return nullptr;
    }
    int fd = -1;
    int error = ETIMEDOUT;
    for (const addrinfo* address = found; address != nullptr && fd < 0;
         address = address->ai_next) {
        fd = connectOne(*address, deadline);
        if (fd < 0) error = errno;
        if (SteadyClock::now() >= deadline) break;
    }
    ::freeaddrinfo(found);
    if (fd < 0) {
        reason = errnoText(error);
        return nullptr;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
#ifdef SO_NOSIGPIPE
    ::setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    return std::unique_ptr<TcpSocket>(new TcpSocket(fd));
}

TcpSocket::~TcpSocket() {
    ::close(static_cast<int>(handle_));
}

bool TcpSocket::sendAll(const char* data, std::size_t count, std::uint32_t timeoutMs) {
    const int fd = static_cast<int>(handle_);
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t sent = ::send(fd, data + done, count - done, kSendFlags);
        if (sent > 0) {
            done += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        // The send buffer is full: wait for room within the time.
        short revents = 0;
        if (pollUntil(fd, POLLOUT, deadline, revents) <= 0) return false;
        if ((revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
    }
    return true;
}

long TcpSocket::receive(std::uint8_t* buffer, std::size_t most) {
    for (int attempt = 0; attempt < kMostInterruptions; ++attempt) {
        const ssize_t got = ::recv(static_cast<int>(handle_), buffer, most, 0);
        if (got > 0) return static_cast<long>(got);
        if (got == 0) return -1;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
    return 0;
}

WaitResult TcpSocket::waitReadable(std::uint32_t timeoutMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    short revents = 0;
    const int ready = pollUntil(static_cast<int>(handle_), POLLIN, deadline, revents);
    if (ready < 0 || (revents & POLLNVAL) != 0) return WaitResult::Failed;
    // A close or an error is read (and reported) by the next receive.
    return ready == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

}  // namespace lorvex
