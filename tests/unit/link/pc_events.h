#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvex::test {

// What the PC said, one event at a time: "ENQ", "ACK", "EOT", "ETB", "NAK", "FRAME:<text>" (or
// "BADSUM:<text>" when the four checksum characters are wrong), "0xNN" for any other byte.
class PcEventParser {
  public:
    // Feeds one byte; true when it completed an event, then `event` holds it.
    bool feed(std::uint8_t byte, std::string& event);

  private:
    enum class State { Outside, Text, Checksum };
    State state_ = State::Outside;
    std::string text_;
    std::string checksum_;
};

// STX, text, the closing byte (ETX or ETB) and the four checksum characters, as the register
// sends them.
std::string registerFrame(std::string_view text, std::uint8_t end = 0x03);

// How many of the events equal `event`.
int countOf(const std::vector<std::string>& events, std::string_view event);

}  // namespace lorvex::test
