#include "pc_events.h"

#include <algorithm>

#include "link/frame.h"
#include "text/format.h"

namespace lorvex::test {

bool PcEventParser::feed(std::uint8_t byte, std::string& event) {
    switch (state_) {
        case State::Outside:
            switch (byte) {
                case STX:
                    state_ = State::Text;
                    text_.clear();
                    return false;
                case ENQ:
                    event = "ENQ";
                    return true;
                case ACK:
                    event = "ACK";
                    return true;
                case EOT:
                    event = "EOT";
                    return true;
                case ETB:
                    event = "ETB";
                    return true;
                case NAK:
                    event = "NAK";
                    return true;
                default:
                    event = format("0x%02X", byte);
                    return true;
            }
        case State::Text:
            if (byte == ETX) {
                state_ = State::Checksum;
                checksum_.clear();
            } else {
                text_ += static_cast<char>(byte);
            }
            return false;
        case State::Checksum:
            checksum_ += static_cast<char>(byte);
            if (checksum_.size() < 4) return false;
            state_ = State::Outside;
            event = (checksum_ == format("%04X", static_cast<unsigned>(frameChecksum(text_)))
                         ? "FRAME:"
                         : "BADSUM:") +
                    text_;
            return true;
    }
    return false;
}

std::string registerFrame(std::string_view text, std::uint8_t end) {
    std::string frame(1, static_cast<char>(STX));
    frame += text;
    frame += static_cast<char>(end);
    frame += format("%04X", static_cast<unsigned>(frameChecksum(text)));
    return frame;
}

int countOf(const std::vector<std::string>& events, std::string_view event) {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

}  // namespace lorvex::test
