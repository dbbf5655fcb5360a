#include "link/net/network_port.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <thread>

#include "link/net/tcp_socket.h"
#include "link/net/telnet.h"

namespace lorvex {

namespace {

constexpr std::uint32_t kConnectMs = 5000;
// Port settings the server has not confirmed within this time are taken as made.
constexpr std::uint32_t kConfirmMs = 1000;
// A write is bounded like the local port's: 10 ms a byte and a second more.
constexpr std::uint32_t kWriteMsPerByte = 10;
constexpr std::uint32_t kWriteBaseMs = 1000;
constexpr long kBitsPerByte = 10;

using SteadyClock = std::chrono::steady_clock;

std::uint32_t msUntil(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return static_cast<std::uint32_t>(std::clamp<long long>(left.count(), 0, 0x7FFFFFFF));
}

class NetworkPort final : public SerialPort {
  public:
    NetworkPort(std::unique_ptr<TcpSocket> socket, bool portControl, bool baud19200)
        : socket_(std::move(socket)),
          portControl_(portControl),
          byteTime_(kBitsPerByte * 1000000 / (baud19200 ? 19200 : 9600)) {}

    // Negotiates the port option and sets the line. False with the reason when the server
    // refuses or does not answer in time.
    bool setUp(bool baud19200, SteadyClock::time_point deadline, std::string& reason) {
        if (!send(telnet_.greeting())) return lost(reason);
        if (!pumpUntil(deadline, [this] { return telnet_.portOption() != 0; })) {
            reason = closed_ ? "the server closed the connection" : "the server did not negotiate";
            return false;
        }
        if (telnet_.portOption() < 0) {
            reason = "the server refuses RFC 2217 port control";
            return false;
        }
        const std::string settings = TelnetCodec::setBaud(baud19200 ? 19200 : 9600) +
                                     TelnetCodec::setLineFormat() + TelnetCodec::watchModemLines() +
                                     TelnetCodec::setDtr(true) + TelnetCodec::setRts(true);
        if (!send(settings)) return lost(reason);
        pumpUntil(std::min(deadline, SteadyClock::now() + std::chrono::milliseconds(kConfirmMs)),
                  [this] { return telnet_.confirmedBaud() != 0; });
        if (closed_) return lost(reason);
        // Like a freshly opened port: nothing left over from before the run.
        inbound_.clear();
        return true;
    }

    bool writeBytes(const std::uint8_t* data, std::size_t count) override {
        std::string out;
        if (portControl_) {
            TelnetCodec::escape(data, count, out);
        } else {
            out.assign(reinterpret_cast<const char*>(data), count);
        }
        return send(out);
    }

    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        if (buffer == nullptr || most == 0) return 0;
        if (inbound_.empty()) drain();
        const std::size_t count = std::min(most, inbound_.size());
        std::copy_n(inbound_.begin(), count, buffer);
        inbound_.erase(0, count);
        return count;
    }

    WaitResult waitReadable(std::uint32_t timeoutMs) override {
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
        pumpUntil(deadline, [this] { return !inbound_.empty(); });
        // Bytes that came before the connection dropped are still handed out.
        if (!inbound_.empty()) return WaitResult::Ready;
        return closed_ ? WaitResult::Failed : WaitResult::TimedOut;
    }

    WaitResult waitForBytes(std::size_t count, std::uint32_t timeoutMs) override {
        if (inbound_.empty()) drain();
        if (count > 1 && inbound_.size() + 1 < count && timeoutMs > 0 && !closed_) {
            // The bytes still to come take their line time on the far side anyway: sleep
            // through all but the last in one piece, as the local port does.
            const auto nap = std::min<std::chrono::microseconds>(
                byteTime_ * static_cast<long>(count - 1 - inbound_.size()),
                std::chrono::milliseconds(timeoutMs));
            const auto start = SteadyClock::now();
            std::this_thread::sleep_until(start + nap);
            const auto slept =
                std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start);
            timeoutMs -= static_cast<std::uint32_t>(
                std::clamp<long long>(slept.count(), 0, static_cast<long long>(timeoutMs)));
        }
        return waitReadable(timeoutMs);
    }

    // TCP_NODELAY: every write is on its way when it returns.
    void flushOutput() override {}

    void setDtr(int on) override {
        if (portControl_) send(TelnetCodec::setDtr((on & 0xFF) != 0));
    }
    void setRts(int on) override {
        if (portControl_) send(TelnetCodec::setRts((on & 0xFF) != 0));
    }

    // The lines as the server last notified them; 0 on a raw stream, which carries none.
    int readModemLines() override {
        if (!portControl_) return 0;
        drain();
        const int state = std::max(telnet_.modemState(), 0);
        int lines = 0;
        if ((state & TelnetCodec::kCts) != 0) lines |= 1;
        if ((state & TelnetCodec::kDsr) != 0) lines |= 2;
        if ((state & TelnetCodec::kRing) != 0) lines |= 4;
        if ((state & TelnetCodec::kCarrier) != 0) lines |= 8;
        return lines;
    }

  private:
    bool send(const std::string& bytes) {
        if (closed_) return false;
        const std::uint32_t limitMs =
            kWriteBaseMs + kWriteMsPerByte * static_cast<std::uint32_t>(
                                                 std::min<std::size_t>(bytes.size(), 100000));
        if (!socket_->sendAll(bytes.data(), bytes.size(), limitMs)) closed_ = true;
        return !closed_;
    }

    bool lost(std::string& reason) {
        reason = "the server closed the connection";
        return false;
    }

    // Takes in everything that has arrived, without blocking, and answers the negotiation.
    void drain() {
        std::uint8_t buffer[4096];
        while (!closed_) {
            const long got = socket_->receive(buffer, sizeof buffer);
            if (got < 0) closed_ = true;
            if (got <= 0) break;
            const auto count = static_cast<std::size_t>(got);
            if (!portControl_) {
                inbound_.append(reinterpret_cast<const char*>(buffer), count);
                continue;
            }
            std::string reply;
            telnet_.receive(buffer, count, inbound_, reply);
            if (!reply.empty()) send(reply);
        }
    }

    // Sleeps on the socket until `done` holds, the connection closes or the deadline passes.
    bool pumpUntil(SteadyClock::time_point deadline, const std::function<bool()>& done) {
        drain();
        while (!done() && !closed_) {
            const std::uint32_t left = msUntil(deadline);
            const WaitResult result = socket_->waitReadable(left);
            if (result == WaitResult::Failed) closed_ = true;
            if (result != WaitResult::Ready) break;
            drain();
        }
        return done();
    }

    std::unique_ptr<TcpSocket> socket_;
    bool portControl_;
    std::chrono::microseconds byteTime_;
    TelnetCodec telnet_;
    std::string inbound_;
    bool closed_ = false;
};

}  // namespace

std::optional<NetworkAddress> parseNetworkAddress(const std::string& portValue) {
    NetworkAddress address;
    std::string rest;
    for (const auto& [prefix, control] : {std::pair{"TCP:", false}, std::pair{"RFC2217:", true}}) {
        const std::string name = prefix;
        if (portValue.size() > name.size() &&
            std::equal(name.begin(), name.end(), portValue.begin(), [](char a, char b) {
                return a == std::toupper(static_cast<unsigned char>(b));
            })) {
            address.portControl = control;
            rest = portValue.substr(name.size());
        }
    }
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == rest.size()) return std::nullopt;
    address.host = rest.substr(0, colon);
    address.service = rest.substr(colon + 1);
    if (address.host.front() == '[' && address.host.back() == ']') {
        address.host = address.host.substr(1, address.host.size() - 2);
    }
    // The command line comes upper-cased; host names do not care, but read better small.
    for (char& c : address.host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return address;
}

std::unique_ptr<SerialPort> openNetworkPort(const NetworkAddress& address, bool baud19200,
                                            PortFailure& failure) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kConnectMs);
    std::unique_ptr<TcpSocket> socket =
        TcpSocket::connect(address.host, address.service, kConnectMs, failure.reason);
    if (!socket) return nullptr;
    auto port = std::make_unique<NetworkPort>(std::move(socket), address.portControl, baud19200);
    if (address.portControl && !port->setUp(baud19200, deadline, failure.reason)) return nullptr;
    return port;
}

}  // namespace lorvex
