#include "link/net/telnet.h"

namespace lorvex {

namespace {

constexpr std::uint8_t kIac = 255;
constexpr std::uint8_t kDont = 254;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kWont = 252;
constexpr std::uint8_t kWill = 251;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kSe = 240;

constexpr std::uint8_t kBinary = 0;
constexpr std::uint8_t kSuppressGoAhead = 3;
constexpr std::uint8_t kComPort = 44;

// Port commands from the client; the server answers with the same number plus 100.
constexpr std::uint8_t kSetBaud = 1;
constexpr std::uint8_t kSetDataSize = 2;
constexpr std::uint8_t kSetParity = 3;
constexpr std::uint8_t kSetStopSize = 4;
constexpr std::uint8_t kSetControl = 5;
constexpr std::uint8_t kSetModemStateMask = 11;
constexpr std::uint8_t kServerReply = 100;
constexpr std::uint8_t kNotifyModemState = 7;

constexpr std::uint8_t kParityNone = 1;
constexpr std::uint8_t kOneStopBit = 1;
constexpr std::uint8_t kNoFlowControl = 1;
constexpr std::uint8_t kNoInboundFlowControl = 14;
constexpr std::uint8_t kDtrOn = 8;
constexpr std::uint8_t kDtrOff = 9;
constexpr std::uint8_t kRtsOn = 11;
constexpr std::uint8_t kRtsOff = 12;

void appendEscaped(const std::uint8_t* data, std::size_t count, std::string& out) {
    for (std::size_t i = 0; i < count; ++i) {
        out += static_cast<char>(data[i]);
        if (data[i] == kIac) out += static_cast<char>(kIac);
    }
}

std::string verb(std::uint8_t what, std::uint8_t option) {
    return {static_cast<char>(kIac), static_cast<char>(what), static_cast<char>(option)};
}

std::string portCommand(std::uint8_t command, const std::string& value) {
    std::string out{static_cast<char>(kIac), static_cast<char>(kSb), static_cast<char>(kComPort),
                    static_cast<char>(command)};
    appendEscaped(reinterpret_cast<const std::uint8_t*>(value.data()), value.size(), out);
    out += static_cast<char>(kIac);
    out += static_cast<char>(kSe);
    return out;
}

std::string portCommand(std::uint8_t command, std::uint8_t value) {
    return portCommand(command, std::string(1, static_cast<char>(value)));
}

// The options this client takes on its own side, and lets the server take on its side.
bool usesOnOurSide(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}
bool acceptsOnTheirSide(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead;
}

}  // namespace

std::string TelnetCodec::greeting() {
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead, kComPort}) ours_[option] = true;
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead}) theirs_[option] = true;
    return verb(kWill, kBinary) + verb(kDo, kBinary) + verb(kWill, kSuppressGoAhead) +
           verb(kDo, kSuppressGoAhead) + verb(kWill, kComPort);
}

void TelnetCodec::escape(const std::uint8_t* data, std::size_t count, std::string& out) {
    appendEscaped(data, count, out);
}

std::string TelnetCodec::setBaud(std::uint32_t baud) {
    const std::string value{static_cast<char>(baud >> 24), static_cast<char>(baud >> 16),
                            static_cast<char>(baud >> 8), static_cast<char>(baud)};
    return portCommand(kSetBaud, value);
}

std::string TelnetCodec::setLineFormat() {
    return portCommand(kSetDataSize, 8) + portCommand(kSetParity, kParityNone) +
           portCommand(kSetStopSize, kOneStopBit) + portCommand(kSetControl, kNoFlowControl) +
           portCommand(kSetControl, kNoInboundFlowControl);
}

std::string TelnetCodec::setDtr(bool on) {
    return portCommand(kSetControl, on ? kDtrOn : kDtrOff);
}

std::string TelnetCodec::setRts(bool on) {
    return portCommand(kSetControl, on ? kRtsOn : kRtsOff);
}

std::string TelnetCodec::watchModemLines() {
    return portCommand(kSetModemStateMask, 0xFF);
}

void TelnetCodec::receive(const std::uint8_t* in, std::size_t count, std::string& data,
                          std::string& reply) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = in[i];
        switch (state_) {
            case State::Data:
                if (byte == kIac) {
                    state_ = State::Command;
                } else {
                    data += static_cast<char>(byte);
                }
                break;
            case State::Command:
                if (byte == kIac) {
                    data += static_cast<char>(kIac);
                    state_ = State::Data;
                } else if (byte == kSb || (byte >= kWill && byte <= kDont)) {
                    verb_ = byte;
                    state_ = State::Option;
                } else {
                    // NOP, go-ahead and the like carry nothing for a port.
                    state_ = State::Data;
                }
                break;
            case State::Option:
                if (verb_ == kSb) {
                    sub_.assign(1, static_cast<char>(byte));
                    state_ = State::Sub;
                } else {
                    negotiate(verb_, byte, reply);
                    state_ = State::Data;
                }
                break;
            case State::Sub:
                if (byte == kIac) {
                    state_ = State::SubCommand;
                } else {
                    sub_ += static_cast<char>(byte);
                }
                break;
            case State::SubCommand:
                if (byte == kIac) {
                    sub_ += static_cast<char>(kIac);
                    state_ = State::Sub;
                } else {
                    // IAC SE ends it; anything else cuts it short the same way.
                    subnegotiation();
                    state_ = State::Data;
                }
                break;
        }
    }
}

void TelnetCodec::negotiate(std::uint8_t what, std::uint8_t option, std::string& reply) {
    // Each option is agreed once: a request for what is already agreed gets no answer, so two
    // ends never loop.
    if (what == kDo) {
        if (option == kComPort) portOption_ = 1;
        if (!usesOnOurSide(option)) {
            reply += verb(kWont, option);
        } else if (!ours_[option]) {
            ours_[option] = true;
            reply += verb(kWill, option);
        }
    } else if (what == kDont) {
        if (option == kComPort) portOption_ = -1;
        ours_[option] = false;
    } else if (what == kWill) {
        if (!acceptsOnTheirSide(option)) {
            reply += verb(kDont, option);
        } else if (!theirs_[option]) {
            theirs_[option] = true;
            reply += verb(kDo, option);
        }
    } else {
        theirs_[option] = false;
    }
}

void TelnetCodec::subnegotiation() {
    if (sub_.size() < 2 || static_cast<std::uint8_t>(sub_[0]) != kComPort) return;
    const auto command = static_cast<std::uint8_t>(sub_[1]);
    const auto byteAt = [this](std::size_t i) { return static_cast<std::uint8_t>(sub_[i]); };
    if (command == kServerReply + kSetBaud && sub_.size() >= 6) {
        confirmedBaud_ = (static_cast<std::uint32_t>(byteAt(2)) << 24) |
                         (static_cast<std::uint32_t>(byteAt(3)) << 16) |
                         (static_cast<std::uint32_t>(byteAt(4)) << 8) | byteAt(5);
    } else if (command == kServerReply + kNotifyModemState && sub_.size() >= 3) {
        modemState_ = byteAt(2);
    }
}

}  // namespace lorvex
