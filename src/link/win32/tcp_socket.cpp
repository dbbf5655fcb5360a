#include "link/net/tcp_socket.h"
#include "platform/system_error.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace lorvex {

namespace {

using SteadyClock = std::chrono::steady_clock;

int msUntil(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
}

// >0 when the events came before the deadline, 0 on time-out, <0 on failure.
int pollUntil(SOCKET socket, short events, SteadyClock::time_point deadline, short& revents) {
    WSAPOLLFD entry{socket, events, 0};
    const int ready = WSAPoll(&entry, 1, msUntil(deadline));
    revents = entry.revents;
    return ready;
}

// One address: the connected socket, or INVALID_SOCKET with `error` saying why.
SOCKET connectOne(const addrinfo& address, SteadyClock::time_point deadline, int& error) {
    const SOCKET socket = ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (socket == INVALID_SOCKET) {
        error = WSAGetLastError();
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    error = 0;
    if (ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) {
        error = WSAGetLastError();
    } else if (::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            short revents = 0;
            int length = sizeof error;
            if (pollUntil(socket, POLLOUT, deadline, revents) <= 0) {
                error = WSAETIMEDOUT;
            } else if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                                  &length) != 0) {
                error = WSAGetLastError();
            }
        }
    }
    if (error != 0) {
        closesocket(socket);
        return INVALID_SOCKET;
    }
    return socket;
}

}  // namespace

std::unique_ptr<TcpSocket> TcpSocket::connect(const std::string& host, const std::string& port,
                                              std::uint32_t timeoutMs, std::string& reason) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        reason = "Winsock cannot start";
        return nullptr;
    }
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (lookup != 0) {
        reason = windowsErrorText(lookup);
        WSACleanup();
        return nullptr;
    }
    SOCKET socket = INVALID_SOCKET;
    int error = WSAETIMEDOUT;
    for (const addrinfo* address = found; address != nullptr && socket == INVALID_SOCKET;
         address = address->ai_next) {
        socket = connectOne(*address, deadline, error);
        if (SteadyClock::now() >= deadline) break;
    }
    freeaddrinfo(found);
    if (socket == INVALID_SOCKET) {
        reason = windowsErrorText(error);
        WSACleanup();
        return nullptr;
    }
    const BOOL on = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    return std::unique_ptr<TcpSocket>(new TcpSocket(static_cast<std::intptr_t>(socket)));
}

TcpSocket::~TcpSocket() {
    closesocket(static_cast<SOCKET>(handle_));
    WSACleanup();
}

bool TcpSocket::sendAll(const char* data, std::size_t count, std::uint32_t timeoutMs) {
    const auto socket = static_cast<SOCKET>(handle_);
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < count) {
        const int sent = ::send(socket, data + done,
                                static_cast<int>(std::min<std::size_t>(count - done, INT_MAX)), 0);
        if (sent > 0) {
            done += static_cast<std::size_t>(sent);
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
        // The send buffer is full: wait for room within the time.
        short revents = 0;
        if (pollUntil(socket, POLLOUT, deadline, revents) <= 0) return false;
        if ((revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
    }
    return true;
}

long TcpSocket::receive(std::uint8_t* buffer, std::size_t most) {
    const int got = ::recv(static_cast<SOCKET>(handle_), reinterpret_cast<char*>(buffer),
                           static_cast<int>(std::min<std::size_t>(most, INT_MAX)), 0);
    if (got > 0) return got;
    if (got == 0) return -1;
    return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
}

WaitResult TcpSocket::waitReadable(std::uint32_t timeoutMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    short revents = 0;
    const int ready = pollUntil(static_cast<SOCKET>(handle_), POLLRDNORM, deadline, revents);
    if (ready < 0 || (revents & POLLNVAL) != 0) return WaitResult::Failed;
    // A close or an error is read (and reported) by the next receive.
    return ready == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

}  // namespace lorvex
