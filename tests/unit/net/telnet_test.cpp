// The Telnet byte layer of an RFC 2217 port against byte sequences recorded from ser2net 4.3.

#include "link/net/telnet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvex {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) out += static_cast<char>(v);
    return out;
}

struct Received {
    std::string data;
    std::string reply;
};

// Feeds the codec the input in pieces of `piece` bytes: a command cut between two reads must come
// out the same.
Received feed(TelnetCodec& codec, const std::string& in, std::size_t piece) {
    Received got;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        const std::string part = in.substr(at, piece);
        codec.receive(reinterpret_cast<const std::uint8_t*>(part.data()), part.size(), got.data,
                      got.reply);
    }
    return got;
}

TEST(Telnet, NegotiationWithSer2net) {
    TelnetCodec codec;
    EXPECT_EQ(codec.greeting(),
              bytes({255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 44}));
    // What ser2net sends on connecting: WILL SGA, DO SGA, WILL ECHO, DONT ECHO, DO BINARY,
    // WILL BINARY, DO COM-PORT-OPTION, with data between. Only the echo is refused; what the
    // greeting already offered gets no second answer.
    const std::string start = bytes({255, 251, 3,   'A', 255, 253, 3, 255, 251, 1,   255, 254,
                                     1,   255, 253, 0,   255, 251, 0, 'B', 255, 253, 44});
    for (const std::size_t piece : {1u, 64u}) {
        TelnetCodec fresh;
        fresh.greeting();
        EXPECT_EQ(fresh.portOption(), 0);
        const Received got = feed(fresh, start, piece);
        EXPECT_EQ(got.data, "AB");
        EXPECT_EQ(got.reply, bytes({255, 254, 1}));
        EXPECT_EQ(fresh.portOption(), 1);
    }
    // Options nobody offered: refused once each way; a server turning the port option down.
    const Received other = feed(codec, bytes({255, 253, 24, 255, 251, 31, 255, 254, 44}), 64);
    EXPECT_EQ(other.reply, bytes({255, 252, 24, 255, 254, 31}));
    EXPECT_EQ(codec.portOption(), -1);
}

TEST(Telnet, PortCommandsAndServerNotifications) {
    // 19200 baud, 8N1 without flow control, all modem lines watched, DTR and RTS.
    EXPECT_EQ(TelnetCodec::setBaud(19200), bytes({255, 250, 44, 1, 0, 0, 0x4B, 0, 255, 240}));
    EXPECT_EQ(TelnetCodec::setLineFormat(),
              bytes({255, 250, 44,  2,   8,   255, 240, 255, 250, 44,  3,   1,
                     255, 240, 255, 250, 44,  4,   1,   255, 240, 255, 250, 44,
                     5,   1,   255, 240, 255, 250, 44,  5,   14,  255, 240}));
    EXPECT_EQ(TelnetCodec::watchModemLines(), bytes({255, 250, 44, 11, 255, 255, 255, 240}));
    EXPECT_EQ(TelnetCodec::setDtr(true) + TelnetCodec::setDtr(false) + TelnetCodec::setRts(true) +
                  TelnetCodec::setRts(false),
              bytes({255, 250, 44, 5, 8,  255, 240, 255, 250, 44, 5, 9,  255, 240,
                     255, 250, 44, 5, 11, 255, 240, 255, 250, 44, 5, 12, 255, 240}));

    // ser2net's answers: the modem state, the baud rate set, then CTS and carrier with their
    // change bits; a modem state of 0xFF arrives doubled. Data around them is kept.
    TelnetCodec codec;
    EXPECT_EQ(codec.modemState(), -1);
    EXPECT_EQ(codec.confirmedBaud(), 0u);
    const Received got =
        feed(codec, bytes({255, 250,  44, 107, 0,   255, 240, 'x', 255, 250,  44,  101, 0,
                           0,   0x4B, 0,  255, 240, 255, 250, 44,  107, 0x99, 255, 240, 'y'}),
             1);
    EXPECT_EQ(got.data, "xy");
    EXPECT_EQ(got.reply, "");
    EXPECT_EQ(codec.confirmedBaud(), 19200u);
    EXPECT_EQ(codec.modemState(), TelnetCodec::kCts | TelnetCodec::kCarrier | 0x09);
    feed(codec, bytes({255, 250, 44, 107, 255, 255, 255, 240}), 3);
    EXPECT_EQ(codec.modemState(), 0xFF);
}

}  // namespace
}  // namespace lorvex
