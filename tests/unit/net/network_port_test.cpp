// The port on the network against a server on the loopback: bytes both ways, the waits, a server
// that closes or is not there, and the RFC 2217 start-up.

#include "link/net/network_port.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "link/net/telnet.h"

namespace lorvex {
namespace {

using namespace std::string_literals;

// A socket on 127.0.0.1 (listening or, refusing every connection, not); the test plays the server.
struct Server {
    explicit Server(bool listening = true) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), length);
        if (listening) ::listen(listener, 1);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = std::to_string(ntohs(address.sin_port));
    }
    ~Server() { ::close(listener), ::close(peer); }
    void accept() {
        peer = ::accept(listener, nullptr, nullptr);
        const timeval most{2, 0};  // no receive waits longer
        ::setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &most, sizeof most);
    }
    void send(const std::string& bytes) const { ::send(peer, bytes.data(), bytes.size(), 0); }
    std::string receive(std::size_t count) const {
        std::string got(count, '\0');
        got.resize(std::max<ssize_t>(::recv(peer, got.data(), count, MSG_WAITALL), 0));
        return got;
    }
    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int peer = -1;
    std::string port;
};

std::string received(SerialPort& port) {
    std::uint8_t buffer[16];
    return std::string(buffer, buffer + port.readAvailable(buffer, sizeof buffer));
}

TEST(NetworkPort, AddressesOnTheCommandLine) {
    for (const auto& [value, named] : {std::pair{"TCP:LOCALHOST:4001", "localhost 4001"},
                                       {"rfc2217:[::1]:7", "::1 7 control"},
                                       {"TCP:h:", ""},
                                       {"TCP::7", ""},
                                       {"1", ""}}) {
        const auto a = parseNetworkAddress(value);
        EXPECT_EQ(a ? a->host + " " + a->service + (a->portControl ? " control" : "") : "", named);
    }
}

TEST(NetworkPort, RawBytesWaitsAndTheServerClosing) {
    PortFailure failure;
    EXPECT_EQ(openNetworkPort({false, "127.0.0.1", Server(false).port}, false, failure), nullptr);
    EXPECT_EQ(failure.reason, "Connection refused");

    Server server;
    auto port = openNetworkPort({false, "127.0.0.1", server.port}, false, failure);
    ASSERT_NE(port, nullptr) << failure.reason;
    server.accept();
    EXPECT_TRUE(port->writeBytes(reinterpret_cast<const std::uint8_t*>("\x02\xFF"), 2));
    EXPECT_EQ(server.receive(2), "\x02\xFF");
    EXPECT_EQ(port->waitReadable(0), WaitResult::TimedOut);

    // 49 bytes still to come take 51 ms at 9600 baud: the wait sleeps through them in one piece.
    const auto start = std::chrono::steady_clock::now();
    std::thread later([&] { ::poll(nullptr, 0, 20), server.send("bc"); });
    EXPECT_EQ(port->waitForBytes(50, 2000), WaitResult::Ready);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    later.join();
    EXPECT_EQ(received(*port), "bc");

    // What came before the server closed is still handed out; then the port has failed.
    server.send("d");
    ::shutdown(server.peer, SHUT_RDWR);
    EXPECT_EQ(port->waitReadable(2000), WaitResult::Ready);
    EXPECT_EQ(received(*port), "d");
    EXPECT_EQ(port->waitReadable(2000), WaitResult::Failed);
    EXPECT_FALSE(port->writeBytes(reinterpret_cast<const std::uint8_t*>("e"), 1));
}

TEST(NetworkPort, PortControlStartUpAndDoubledBytes) {
    Server server;
    const std::string settings = TelnetCodec().greeting() + "\xFF\xFE\x01" +
                                 TelnetCodec::setBaud(9600) + TelnetCodec::setLineFormat() +
                                 TelnetCodec::watchModemLines() + TelnetCodec::setDtr(true) +
                                 TelnetCodec::setRts(true);
    std::string got;
    std::thread serve([&] {
        server.accept();
        server.send("\xFF\xFB\x01\xFF\xFD\x2C");  // WILL ECHO, DO COM-PORT-OPTION
        got = server.receive(settings.size());
        // A moment later: bytes from before the run, DSR, RING and carrier, the speed confirmed.
        ::poll(nullptr, 0, 20);
        server.send("old\xFF\xFA\x2C\x6B\xE0\xFF\xF0\xFF\xFA\x2C\x65\0\0\x25\x80\xFF\xF0"s);
    });
    PortFailure failure;
    auto port = openNetworkPort({true, "127.0.0.1", server.port}, false, failure);
    serve.join();
    ASSERT_NE(port, nullptr) << failure.reason;
    EXPECT_EQ(got, settings);
    EXPECT_EQ(port->readModemLines(), 2 | 4 | 8);

    EXPECT_TRUE(port->writeBytes(reinterpret_cast<const std::uint8_t*>("A\xFF"), 2));
    port->setDtr(0x100);
    port->setRts(0x100);
    EXPECT_EQ(server.receive(17),
              "A\xFF\xFF" + TelnetCodec::setDtr(false) + TelnetCodec::setRts(false));
    server.send("x\xFF\xFFy\xFF\xFA\x2C\x6B\x10\xFF\xF0");  // and CTS alone
    EXPECT_EQ(port->waitReadable(2000), WaitResult::Ready);
    EXPECT_EQ(received(*port), "x\xFFy");
    EXPECT_EQ(port->readModemLines(), 1);
}

}  // namespace
}  // namespace lorvex
