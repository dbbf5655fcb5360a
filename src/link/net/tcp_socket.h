#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "link/serial_port.h"

namespace lorvex {

// One TCP connection to a device server: non-blocking, Nagle's delay off, never raising SIGPIPE.
// POSIX sockets in posix/, Winsock in win32/.
class TcpSocket {
  public:
    // Connects to the first address of `host` that answers within `timeoutMs` all told. Null
    // with the system's words in `reason` ("Connection refused", "No route to host", ...).
    static std::unique_ptr<TcpSocket> connect(const std::string& host, const std::string& port,
                                              std::uint32_t timeoutMs, std::string& reason);
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Sends every byte within `timeoutMs`; false when the connection failed or stayed full.
    bool sendAll(const char* data, std::size_t count, std::uint32_t timeoutMs);
    // What has arrived, without blocking: the count, 0 when nothing is waiting, -1 when the
    // other end closed or the connection failed.
    long receive(std::uint8_t* buffer, std::size_t most);
    // Sleeps in the OS until bytes (or the other end's close) arrive or the time is up.
    WaitResult waitReadable(std::uint32_t timeoutMs);

  private:
    explicit TcpSocket(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

}  // namespace lorvex
