#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lorvex {

// The Telnet byte layer of a port served with the COM-PORT-OPTION: data bytes with 0xFF doubled,
// the option negotiation, and the port commands and notifications. Pure: bytes in, bytes out.
class TelnetCodec {
  public:
    // Modem-state bits the server notifies.
    static constexpr int kCts = 0x10;
    static constexpr int kDsr = 0x20;
    static constexpr int kRing = 0x40;
    static constexpr int kCarrier = 0x80;

    // What the client offers at once: binary both ways, no go-ahead, and the port option.
    std::string greeting();
    // The data bytes as they travel on the connection (each 0xFF doubled).
    static void escape(const std::uint8_t* data, std::size_t count, std::string& out);

    // Port commands.
    static std::string setBaud(std::uint32_t baud);
    // 8 data bits, no parity, 1 stop bit, no flow control either way.
    static std::string setLineFormat();
    static std::string setDtr(bool on);
    static std::string setRts(bool on);
    // Asks to be told of every change of CTS, DSR, RING and carrier detect.
    static std::string watchModemLines();

    // Takes bytes from the server: the data bytes are appended to `data`, the answers the
    // negotiation needs to `reply`. A command cut between two reads is finished by the next.
    void receive(const std::uint8_t* in, std::size_t count, std::string& data, std::string& reply);

    // The server's word on the port option: 0 not yet, 1 it takes it, -1 it refuses.
    int portOption() const { return portOption_; }
    // The baud rate the server last confirmed; 0 before it has.
    std::uint32_t confirmedBaud() const { return confirmedBaud_; }
    // The last modem state the server notified (kCts | kDsr | ...); -1 before the first.
    int modemState() const { return modemState_; }

  private:
    enum class State { Data, Command, Option, Sub, SubCommand };

    void negotiate(std::uint8_t verb, std::uint8_t option, std::string& reply);
    void subnegotiation();

    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    std::string sub_;
    // Options the client has agreed to use on its side and to let the server use: answered once.
    bool ours_[256] = {};
    bool theirs_[256] = {};
    int portOption_ = 0;
    std::uint32_t confirmedBaud_ = 0;
    int modemState_ = -1;
};

}  // namespace lorvex
